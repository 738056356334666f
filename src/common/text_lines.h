#pragma once
// The program's text files ("Config.txt", "Log.txt"): lines in UTF-8, each ended by CR LF.
#include <string>
#include <vector>

namespace vh {

// Splits at CR LF, LF or a lone CR; a line end after the last line adds no empty line.
std::vector<std::string> SplitLines(const std::string& text);
// Each line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);
bool IsValidUtf8(const std::string& text);
// The lines of a file's bytes: a UTF-8 byte-order mark is dropped, and a line that is not valid
// UTF-8 is taken to be in the ANSI code page, as files of earlier versions were written.
std::vector<std::string> DecodeTextLines(const std::string& bytes);
// Equal but for the letter case of A-Z (drive letters, server names, reserved folder names).
bool SameText(const std::string& a, const std::string& b);
// Number of characters (code points) in UTF-8 text.
size_t CharCount(const std::string& text);
// The first `count` characters of UTF-8 text, never splitting a character.
std::string FirstChars(const std::string& text, size_t count);

}  // namespace vh
