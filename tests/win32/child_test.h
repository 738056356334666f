#pragma once
// The fault rows that kill a program part-way run this test program again as that program.
#include <windows.h>

#include <string>

#include "platform/win32/wide.h"

namespace vh::test {

// Starts this test program running only the tests `filter` picks, with `job` in the environment
// variable `variable`; its own report goes nowhere. hProcess is null when it could not start.
inline PROCESS_INFORMATION StartChildTest(const std::string& filter, const char* variable, const std::string& job) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_filter=" + win32::Widen(filter);
  const std::wstring name = win32::Widen(variable);
  SetEnvironmentVariableW(name.c_str(), win32::Widen(job).c_str());
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = nul;
  PROCESS_INFORMATION child{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child)) {
    child = {};
  }
  CloseHandle(nul);
  SetEnvironmentVariableW(name.c_str(), nullptr);
  return child;
}

// Ends a child started so, at once if it still runs.
inline void KillChild(PROCESS_INFORMATION& child) {
  TerminateProcess(child.hProcess, 1);
  WaitForSingleObject(child.hProcess, 10'000);
  CloseHandle(child.hProcess);
  CloseHandle(child.hThread);
}

}  // namespace vh::test
