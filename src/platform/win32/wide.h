#pragma once
// Conversions at the boundary between the program's UTF-8 text and the wide-character API.
#include <string>
#include <string_view>

namespace vh::win32 {

// UTF-8 (or text in another code page, such as CP_ACP) to UTF-16; invalid sequences become U+FFFD.
std::wstring Widen(std::string_view text, unsigned codePage = 65001 /* CP_UTF8 */);
// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view utf16);

// A path for the wide-character file API: absolute paths ("X:\...", a bare "X:", "\\server\share\...")
// get the "\\?\" (or "\\?\UNC\") prefix so long paths work. The prefix turns off the system's own
// clean-up of the path, so this does it: "/" becomes "\", repeated separators collapse and "." and ".."
// components are resolved. Relative and already prefixed paths are only converted.
std::wstring LongPath(std::string_view utf8Path);

}  // namespace vh::win32
