#include "ui/help.h"

#include <shellapi.h>

#include <vector>

#include "platform/message_boxes.h"
#include "platform/system.h"
#include "platform/win32/wide.h"

namespace vh::ui {
namespace {

const char* const kHelpFile = "VesperHelp.HLP";
const char* const kHelpSet = "help";

std::string FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  return win32::Narrow(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
}

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(win32::Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

Help::Help() {
  std::wstring exe(MAX_PATH, L'\0');
  exe.resize(GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
  programFolder = FolderOf(exe);
  wchar_t windows[MAX_PATH] = L"";
  GetWindowsDirectoryW(windows, MAX_PATH);
  windowsFolder = win32::Narrow(windows);
  openPage = [](HWND owner, const std::string& page) {
    ShellExecuteW(owner, L"open", win32::Widen(page).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  };
}

std::string Help::PageOf(DWORD context) const {
  return programFolder + "\\" + kHelpSet + "\\" + (context ? std::to_string(context) : "index") + ".html";
}

// Systems of today ship no WinHelp viewer, and the file itself comes separately.
bool Help::WinHelpPresent() const {
  return IsFile(programFolder + "\\" + kHelpFile) && IsFile(windowsFolder + "\\winhlp32.exe");
}

void Help::Open(HWND owner, DWORD context) const {
  if (WinHelpPresent()) {
    const std::wstring file = win32::Widen(programFolder + "\\" + kHelpFile);
    WinHelpW(owner, file.c_str(), context ? HELP_CONTEXT : HELP_FINDER, context);
    return;
  }
  std::string page = PageOf(context);
  if (!IsFile(page)) page = PageOf(0);  // a number without a page of its own: the contents
  if (!IsFile(page)) {
    Boxes().Show("The help for Vesperhollow could not be found. It was expected in the folder " + programFolder +
                     "\\" + kHelpSet + ".",
                 kAppCaption, kMbOk | kMbIconExclamation);
    return;
  }
  openPage(owner, page);
}

void Help::ShowContents(HWND owner) const { Open(owner, 0); }

void Help::ShowTopic(HWND owner, DWORD context) const { Open(owner, context); }

DWORD ContextAt(HWND root, const HELPINFO& request, DWORD fallback) {
  HWND item = static_cast<HWND>(request.hItemHandle);
  if (request.iContextType == HELPINFO_WINDOW && item && GetWindowContextHelpId(item) != 0 &&
      GetAncestor(item, GA_ROOT) == root) {
    // F1 on a control, or a click on one that takes the mouse: its own topic. A group box or a
    // label lets the click through to what is behind it, so those are found by the point.
    wchar_t name[16] = L"";
    GetClassNameW(item, name, 16);
    if (lstrcmpiW(name, L"Static") != 0 && !(lstrcmpiW(name, L"Button") == 0 &&
                                               (GetWindowLongW(item, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)) {
      return GetWindowContextHelpId(item);
    }
  }
  struct Search {
    POINT at;
    HWND best;
    long long area;
  } search{request.MousePos, nullptr, 0};
  EnumChildWindows(
      root,
      [](HWND w, LPARAM p) {
        auto* s = reinterpret_cast<Search*>(p);
        RECT r;
        GetWindowRect(w, &r);
        const long long area = static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
        if (IsWindowVisible(w) && PtInRect(&r, s->at) && GetWindowContextHelpId(w) != 0 &&
            (!s->best || area < s->area)) {
          s->best = w;
          s->area = area;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (search.best) return GetWindowContextHelpId(search.best);
  if (const DWORD own = GetWindowContextHelpId(root)) return own;
  return fallback;
}

}  // namespace vh::ui
