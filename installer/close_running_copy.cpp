// The installer's one custom action. Before an uninstall (also the one an upgrade runs) takes the
// program's files away, the copy running from them is asked to end the way the end of a session
// asks it: it gets the close message, saves its settings and list, runs its shut-down backup when
// that is enabled, and ends. A copy started from somewhere else (the zip) is left alone.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>

namespace {

// A shut-down backup may run before the copy ends; after this the files are replaced on restart.
constexpr DWORD kWaitMilliseconds = 120000;

void Log(MSIHANDLE install, const std::wstring& text) {
  const MSIHANDLE record = MsiCreateRecord(0);
  MsiRecordSetStringW(record, 0, (L"Vesperhollow: " + text).c_str());
  MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
  MsiCloseHandle(record);
}

std::wstring Property(MSIHANDLE install, const wchar_t* name) {
  DWORD size = 0;
  wchar_t empty[1] = L"";
  if (MsiGetPropertyW(install, name, empty, &size) != ERROR_MORE_DATA) return L"";
  std::wstring value(size + 1, L'\0');
  size = static_cast<DWORD>(value.size());
  if (MsiGetPropertyW(install, name, value.data(), &size) != ERROR_SUCCESS) return L"";
  value.resize(size);
  return value;
}

std::wstring ImagePath(HANDLE process) {
  std::wstring path(32768, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameW(process, 0, path.data(), &size)) return L"";
  path.resize(size);
  return path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return !a.empty() && CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                            static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall CloseRunningCopy(MSIHANDLE install) {
  // The control window's class is unique to the program, and one copy runs per session.
  const HWND window = FindWindowW(L"VesperhollowMain", nullptr);
  if (!window) return ERROR_SUCCESS;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) {
    Log(install, L"the running copy could not be reached (error " + std::to_wstring(GetLastError()) +
                     L"); its files are replaced at the next restart.");
    return ERROR_SUCCESS;
  }
  const std::wstring running = ImagePath(process);
  const std::wstring installed = Property(install, L"INSTALLDIR") + L"Vesperhollow.exe";
  if (!SamePath(running, installed)) {
    Log(install, L"the copy running from " + running + L" is not this installation's; it is left running.");
  } else {
    Log(install, L"asking the running copy to end.");
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, kWaitMilliseconds) == WAIT_OBJECT_0) {
      Log(install, L"the running copy has ended.");
    } else {
      Log(install, L"the running copy did not end within two minutes; its files are replaced at the next restart.");
    }
  }
  CloseHandle(process);
  return ERROR_SUCCESS;
}
