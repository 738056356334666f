// The Windows side of tests/installer/check, run under Wine between the msiexec calls: seeds and
// snapshots the settings and a store, looks at what the MSI installed, starts the installed
// program the way log-on starts it and watches it. Each command prints "FAIL: ..." and ends with
// status 1 when what it checks does not hold.
//
//   probe seed FOLDER                      settings key and a store in FOLDER, as a user would have
//   probe snapshot FOLDER                  prints the settings key and every file of the store
//   probe installed VERSION logon|nologon  one installation, of VERSION, as listed and as laid out
//   probe removed                          nothing of the installation is left
//   probe start                            runs the Run value's command; the copy reaches the tray
//   probe second-start                     a second copy says so and ends; the first stays
//   probe ended                            the running copy has gone
#include <windows.h>
#include <msi.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "control/settings.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_system.h"
#include "store/store_paths.h"

namespace {

using vh::win32::Narrow;
using vh::win32::Widen;

constexpr wchar_t kMainWindowClass[] = L"VesperhollowMain";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

int failures = 0;

void Fail(const std::string& what) {
  std::fprintf(stderr, "FAIL: %s\n", what.c_str());
  ++failures;
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
  CoTaskMemFree(path);
  return result;
}

std::wstring InstallDir() { return KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Vesperhollow"; }
std::wstring ExePath() { return InstallDir() + L"\\Vesperhollow.exe"; }
std::wstring ShortcutPath() { return KnownFolder(FOLDERID_Programs) + L"\\Vesperhollow.lnk"; }

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

std::optional<std::wstring> RunValue() {
  wchar_t buffer[1024];
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Vesperhollow", RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(buffer);
}

std::wstring ShortcutTarget(const std::wstring& link) {
  std::wstring target;
  IShellLinkW* shell = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shell)))) {
    return target;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t path[MAX_PATH] = L"";
    if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
        SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) {
      target = path;
    }
    file->Release();
  }
  shell->Release();
  return target;
}

// An installed product named Vesperhollow, for this user or the machine: what "Installed apps" lists.
struct Installation {
  std::string product, version, publisher, icon;
};

std::vector<Installation> Installations() {
  std::vector<Installation> found;
  wchar_t product[39];
  MSIINSTALLCONTEXT context;
  for (DWORD i = 0; MsiEnumProductsExW(nullptr, nullptr, MSIINSTALLCONTEXT_ALL, i, product, &context, nullptr,
                                       nullptr) == ERROR_SUCCESS;
       ++i) {
    auto info = [&](const wchar_t* property) {
      wchar_t value[512] = L"";
      DWORD size = ARRAYSIZE(value);
      MsiGetProductInfoExW(product, nullptr, context, property, value, &size);
      return Narrow(value);
    };
    if (info(INSTALLPROPERTY_PRODUCTNAME) != "Vesperhollow") continue;
    found.push_back({Narrow(product), info(INSTALLPROPERTY_VERSIONSTRING), info(INSTALLPROPERTY_PUBLISHER),
                     info(INSTALLPROPERTY_PRODUCTICON)});
  }
  return found;
}

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds) {
  for (DWORD waited = 0;; waited += 100) {
    if (condition()) return true;
    if (waited >= milliseconds) return false;
    Sleep(100);
  }
}

HWND MainWindow() { return FindWindowW(kMainWindowClass, nullptr); }

// Whether the notification area holds the window's icon: a change of nothing succeeds only then.
bool InTray(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = 0;
  data.uFlags = 0;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

std::string Text(HWND window) {
  wchar_t buffer[512] = L"";
  GetWindowTextW(window, buffer, ARRAYSIZE(buffer));
  return Narrow(buffer);
}

// --- commands ---

void Seed(const std::string& folder) {
  vh::TSettings settings;
  settings.BackupFolder = folder;
  settings.ShutDown = true;  // ending the program then leaves a line in the store's log
  settings.ShowProgress = false;
  settings.LastBackup = "12/07/2026 10:00:00 PM";
  settings.Top = 100;
  settings.Left = 120;
  settings.Width = 600;
  vh::win32::RegistrySettingsStore registry;
  vh::SaveSettings(registry, settings);

  const std::string root = vh::MirrorPath(folder, "");
  vh::ForceFolders(vh::JoinPath(root, "C\\Docs"));
  auto write = [](const std::string& path, const std::string& text) {
    const HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE || !WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
      Fail("could not write " + path);
    }
    CloseHandle(file);
  };
  write(vh::JoinPath(root, vh::kConfigFileName), "3.0\r\nC:\\Docs\r\n1\r\n1\r\n");
  write(vh::JoinPath(root, vh::kLogFileName), "\r\n12/07/2026 10:00:00 PM  Backup initiated\r\n");
  write(vh::JoinPath(root, "C\\Docs\\letter.txt"), "a backed-up letter\r\n");
}

void ListFiles(const std::wstring& folder, const std::wstring& relative, std::vector<std::string>& lines) {
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      lines.push_back("folder " + Narrow(relative + name));
      ListFiles(folder + L"\\" + name, relative + name + L"\\", lines);
      continue;
    }
    std::string content;
    const HANDLE file = CreateFileW((folder + L"\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD read = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) {
      content.append(buffer, read);
    }
    CloseHandle(file);
    lines.push_back("file " + Narrow(relative + name) + " [" + content + "]");
  } while (FindNextFileW(find, &entry));
  FindClose(find);
}

void Snapshot(const std::string& folder) {
  std::vector<std::string> lines;
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(vh::kSettingsKey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    lines.push_back("no settings key");
  } else {
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      DWORD nameSize = ARRAYSIZE(name), type = 0, dataSize = 0;
      BYTE data[2048];
      dataSize = sizeof data;
      const LONG status = RegEnumValueW(key, i, name, &nameSize, nullptr, &type, data, &dataSize);
      if (status == ERROR_NO_MORE_ITEMS) break;
      if (status != ERROR_SUCCESS) {
        lines.push_back("unreadable value " + std::to_string(i));  // the comparison then fails
        continue;
      }
      DWORD number = 0;
      if (type == REG_DWORD && dataSize == sizeof number) std::memcpy(&number, data, sizeof number);
      std::string value = type == REG_DWORD ? std::to_string(number)
                                            : Narrow(std::wstring(reinterpret_cast<wchar_t*>(data), dataSize / 2));
      value.erase(std::find(value.begin(), value.end(), '\0'), value.end());
      lines.push_back("value " + Narrow(name) + " " + std::to_string(type) + " " + value);
    }
    RegCloseKey(key);
  }
  ListFiles(Widen(folder), L"", lines);
  std::sort(lines.begin(), lines.end());
  for (const auto& line : lines) std::printf("%s\n", line.c_str());
}

void Installed(const std::string& version, bool logOn) {
  const auto found = Installations();
  if (found.size() != 1 || found[0].version != version) {
    std::string list;
    for (const auto& f : found) list += " (" + f.product + " " + f.version + ")";
    Fail("expected one installation of " + version + ", found " + std::to_string(found.size()) + ":" + list);
  } else {
    if (found[0].publisher != "Orrindale") Fail("the publisher shown is \"" + found[0].publisher + "\"");
    if (found[0].icon.empty() || !Exists(Widen(found[0].icon))) Fail("no icon is shown: \"" + found[0].icon + "\"");
  }
  if (!Exists(ExePath())) Fail("no program at " + Narrow(ExePath()));
  // The help set beside the program, its contents and a topic.
  for (const wchar_t* page : {L"\\help\\index.html", L"\\help\\22.html"}) {
    if (!Exists(InstallDir() + page)) Fail("no help page at " + Narrow(InstallDir() + page));
  }
  if (!Exists(ShortcutPath())) {
    Fail("no Start menu shortcut at " + Narrow(ShortcutPath()));
  } else if (!SamePath(ShortcutTarget(ShortcutPath()), ExePath())) {
    Fail("the shortcut points at " + Narrow(ShortcutTarget(ShortcutPath())));
  }
  const auto run = RunValue();
  if (logOn && run != L"\"" + ExePath() + L"\"") {
    Fail("the Run value is " + (run ? "\"" + Narrow(*run) + "\"" : std::string("missing")));
  }
  if (!logOn && run) Fail("a Run value was written: " + Narrow(*run));
}

void Removed() {
  if (!Installations().empty()) Fail("an installation is still registered");
  if (Exists(ExePath())) Fail("the program is still at " + Narrow(ExePath()));
  if (Exists(InstallDir())) Fail("the program's folder is still there");
  if (Exists(ShortcutPath())) Fail("the shortcut is still there");
  if (RunValue()) Fail("the Run value is still there");
}

// Runs `command`; the started process (its thread handle closed), or nothing.
std::optional<PROCESS_INFORMATION> Launch(std::wstring command) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  return process;
}

void Start() {
  const auto run = RunValue();
  if (!run) return Fail("no Run value to start the program with");
  const auto process = Launch(*run);
  if (!process) return Fail("the Run value's command did not start: " + Narrow(*run));
  HWND window = nullptr;
  const bool up = WaitFor(
      [&] {
        window = MainWindow();
        DWORD owner = 0;
        if (window) GetWindowThreadProcessId(window, &owner);
        return window && owner == process->dwProcessId;
      },
      30000);
  if (!up) {
    Fail("the program started but made no control window");
  } else if (!WaitFor([&] { return InTray(window); }, 10000)) {
    Fail("the program has no icon in the notification area");
  } else if (IsWindowVisible(window)) {
    Fail("the control window is showing; the program should start in the tray only");
  }
  CloseHandle(process->hProcess);
}

// The message box of a process: its top-level dialog window.
HWND BoxOf(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t className[64] = L"";
        GetClassNameW(window, className, ARRAYSIZE(className));
        if (owner != s->processId || std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void SecondStart() {
  const HWND first = MainWindow();
  if (!first) return Fail("no copy is running");
  const auto started = Launch(L"\"" + ExePath() + L"\"");
  if (!started) return Fail("the second copy did not start");
  const PROCESS_INFORMATION& process = *started;
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = BoxOf(process.dwProcessId)) != nullptr; }, 15000)) {
    Fail("the second copy showed no message");
    TerminateProcess(process.hProcess, 1);
  } else {
    const std::string caption = Text(box), message = Text(GetDlgItem(box, 0xFFFF));
    if (caption != "Vesperhollow" || message != "Vesperhollow is already running.") {
      Fail("the second copy said \"" + message + "\" under \"" + caption + "\"");
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD status = 1;
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
      Fail("the second copy did not end after its message");
      TerminateProcess(process.hProcess, 1);
    } else if (!GetExitCodeProcess(process.hProcess, &status) || status != 0) {
      Fail("the second copy ended with status " + std::to_string(status));
    }
  }
  CloseHandle(process.hProcess);
  if (MainWindow() != first || FindWindowW(L"#32770", L"Vesperhollow")) {
    Fail("the first copy did not stay as it was");
  }
}

void Ended() {
  if (!WaitFor([] { return MainWindow() == nullptr; }, 60000)) Fail("the program is still running");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  vh::win32::Win32System system;
  const std::wstring command = argc > 1 ? argv[1] : L"";
  auto arg = [&](int i) { return i < argc ? std::wstring(argv[i]) : std::wstring(); };
  if (command == L"seed" && argc == 3) {
    Seed(Narrow(arg(2)));
  } else if (command == L"snapshot" && argc == 3) {
    Snapshot(Narrow(arg(2)));
  } else if (command == L"installed" && argc == 4) {
    Installed(Narrow(arg(2)), arg(3) == L"logon");
  } else if (command == L"removed" && argc == 2) {
    Removed();
  } else if (command == L"start" && argc == 2) {
    Start();
  } else if (command == L"second-start" && argc == 2) {
    SecondStart();
  } else if (command == L"ended" && argc == 2) {
    Ended();
  } else {
    std::fprintf(stderr, "probe: unknown command; see the head of tests/installer/probe.cpp\n");
    return 2;
  }
  return failures ? 1 : 0;
}
