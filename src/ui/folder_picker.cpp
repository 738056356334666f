#include "ui/folder_picker.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/wide.h"

namespace vh::ui {
namespace {

// Releases a COM object at the end of its scope.
template <typename T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p) p->Release();
  }
};

// False when the system has no Explorer-style picker; `path` is left empty on a cancel.
bool PickWithFileDialog(HWND owner, const std::wstring& title, const std::wstring& start, std::string& path) {
  Released<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog.p)))) {
    return false;
  }
  DWORD options = 0;
  dialog.p->GetOptions(&options);
  dialog.p->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  dialog.p->SetTitle(title.c_str());
  Released<IShellItem> folder;
  if (!start.empty() && SUCCEEDED(SHCreateItemFromParsingName(start.c_str(), nullptr, IID_PPV_ARGS(&folder.p)))) {
    dialog.p->SetFolder(folder.p);
  }
  if (FAILED(dialog.p->Show(owner))) return true;  // cancelled
  Released<IShellItem> chosen;
  if (FAILED(dialog.p->GetResult(&chosen.p))) return true;
  PWSTR name = nullptr;
  if (SUCCEEDED(chosen.p->GetDisplayName(SIGDN_FILESYSPATH, &name)) && name) {
    path = win32::Narrow(name);
    CoTaskMemFree(name);
  }
  return true;
}

std::string PickWithFolderBrowser(HWND owner, const std::wstring& title) {
  wchar_t displayName[MAX_PATH] = L"";
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;  // the desktop
  info.pszDisplayName = displayName;
  info.lpszTitle = title.c_str();
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (!item) return "";
  // Items outside the file system (Control Panel, printers...) have no path.
  wchar_t path[MAX_PATH] = L"";
  const bool onDisk = SHGetPathFromIDListW(item, path) && path[0];
  CoTaskMemFree(item);
  return onDisk ? win32::Narrow(path) : "";
}

}  // namespace

std::string PickFolder(HWND owner, const std::string& title, const std::string& start) {
  // Shell dialogs want COM on this thread while they are open.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const std::wstring wideTitle = win32::Widen(title);
  std::string path;
  if (!PickWithFileDialog(owner, wideTitle, win32::Widen(start), path)) path = PickWithFolderBrowser(owner, wideTitle);
  if (SUCCEEDED(com)) CoUninitialize();
  return path;
}

}  // namespace vh::ui
