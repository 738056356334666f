#include "platform/win32/wide.h"

#include <windows.h>

#include <climits>
#include <vector>

namespace vh::win32 {

std::wstring Widen(std::string_view text, unsigned codePage) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty() || utf16.size() > INT_MAX) return {};
  const int size = static_cast<int>(utf16.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

namespace {

bool IsSep(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// Appends `rest` (the part after the root) to `root`, one "\" between components, resolving "."
// and "..", which never climb above the root. A trailing separator is kept.
std::wstring JoinClean(std::wstring root, std::wstring_view rest) {
  std::vector<std::wstring_view> parts;
  size_t i = 0;
  while (i < rest.size()) {
    while (i < rest.size() && IsSep(rest[i])) ++i;
    size_t j = i;
    while (j < rest.size() && !IsSep(rest[j])) ++j;
    if (j > i) {
      std::wstring_view part = rest.substr(i, j - i);
      if (part == L"..") {
        if (!parts.empty()) parts.pop_back();
      } else if (part != L".") {
        parts.push_back(part);
      }
    }
    i = j;
  }
  for (size_t k = 0; k < parts.size(); ++k) {
    if (k) root += L'\\';
    root += parts[k];
  }
  if (!parts.empty() && !rest.empty() && IsSep(rest.back())) root += L'\\';
  return root;
}

}  // namespace

std::wstring LongPath(std::string_view utf8Path) {
  std::wstring path = Widen(utf8Path);
  const size_t n = path.size();
  // Already in the device namespace ("\\?\", "\\.\", "\??\"): the caller knows what it asked for.
  if (n >= 4 && IsSep(path[0]) && IsSep(path[1]) && (path[2] == L'?' || path[2] == L'.') &&
      IsSep(path[3]))
    return path;
  if (n >= 4 && path[0] == L'\\' && path[1] == L'?' && path[2] == L'?' && path[3] == L'\\')
    return path;
  // "X:" alone means the drive's root here, not the drive's current folder.
  if (n == 2 && IsDriveLetter(path[0]) && path[1] == L':') return L"\\\\?\\" + path + L"\\";
  if (n >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSep(path[2])) {
    std::wstring root = L"\\\\?\\";
    root += path[0];
    root += L":\\";
    return JoinClean(std::move(root), std::wstring_view(path).substr(3));
  }
  // "\\server\share\rest": server and share must both be there.
  if (n >= 5 && IsSep(path[0]) && IsSep(path[1]) && !IsSep(path[2])) {
    size_t serverEnd = 2;
    while (serverEnd < n && !IsSep(path[serverEnd])) ++serverEnd;
    size_t shareBegin = serverEnd + 1;
    size_t shareEnd = shareBegin;
    while (shareEnd < n && !IsSep(path[shareEnd])) ++shareEnd;
    if (serverEnd < n && shareEnd > shareBegin) {
      std::wstring root = L"\\\\?\\UNC\\";
      root.append(path, 2, serverEnd - 2);
      root += L'\\';
      root.append(path, shareBegin, shareEnd - shareBegin);
      if (shareEnd == n) return root;
      root += L'\\';
      return JoinClean(std::move(root), std::wstring_view(path).substr(shareEnd));
    }
  }
  return path;
}

}  // namespace vh::win32
