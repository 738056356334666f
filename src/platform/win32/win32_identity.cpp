#include "platform/win32/win32_identity.h"

#include <windows.h>
#include <lmcons.h>

#include <vector>

#include "platform/win32/wide.h"

namespace vh::win32 {

std::string Win32Identity::ComputerName() {
  std::vector<wchar_t> buffer(MAX_COMPUTERNAME_LENGTH + 1);
  DWORD size = static_cast<DWORD>(buffer.size());
  if (!GetComputerNameW(buffer.data(), &size)) {
    // A name longer than the NetBIOS limit: the call told how much room it needs.
    if (GetLastError() != ERROR_BUFFER_OVERFLOW || size <= buffer.size()) return {};
    buffer.resize(size + 1);
    size = static_cast<DWORD>(buffer.size());
    if (!GetComputerNameW(buffer.data(), &size)) return {};
  }
  return Narrow(std::wstring_view(buffer.data(), size));
}

std::string Win32Identity::UserName() {
  std::vector<wchar_t> buffer(UNLEN + 1);
  DWORD size = static_cast<DWORD>(buffer.size());
  if (!GetUserNameW(buffer.data(), &size)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size()) return {};
    buffer.resize(size);
    if (!GetUserNameW(buffer.data(), &size)) return {};
  }
  // The count includes the terminating null.
  if (size == 0) return {};
  return Narrow(std::wstring_view(buffer.data(), size - 1));
}

}  // namespace vh::win32
