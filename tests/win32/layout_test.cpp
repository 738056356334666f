// Every window of the program at 96, 120 and 144 dots per inch, and moved from a screen of 96 to
// one of 144: no control's text is larger than the control, no control reaches outside its
// parent, and controls overlap only where a box or the page tabs hold them. Each dpi needs a
// process of its own, started once the registry asks for it, so the test runs itself again.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "main_form_fixture.h"
#include "platform/win32/wide.h"
#include "ui/about_box.h"
#include "ui/backup_folder_dlg.h"
#include "ui/versions_dlg.h"

namespace vh::test {
namespace {

const wchar_t* const kDpiVariable = L"VH_LAYOUT_DPI";

std::string ClassOf(HWND w) {
  wchar_t name[64] = L"";
  GetClassNameW(w, name, 64);
  return win32::Narrow(name);
}

std::string TextOf(HWND w) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
  return win32::Narrow(text);
}

std::string NameOf(HWND w) { return ClassOf(w) + " \"" + TextOf(w) + "\""; }

bool Shown(HWND w) { return (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0; }

// The size of the control's text drawn on one line in the control's own font.
SIZE TextSize(HWND w, bool prefix) {
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
  std::wstring text = win32::Widen(TextOf(w));
  RECT r{0, 0, 0, 0};
  // A text of several lines is as wide as its widest line.
  const UINT lines = text.find(L'\n') == std::wstring::npos ? DT_SINGLELINE : 0;
  DrawTextW(dc, text.empty() ? L"Xg" : text.c_str(), -1, &r, DT_CALCRECT | lines | (prefix ? 0 : DT_NOPREFIX));
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  return {text.empty() ? 0 : r.right - r.left, r.bottom - r.top};
}

class LayoutCheck {
 public:
  explicit LayoutCheck(int dpi) : dpi_(dpi) {}
  std::vector<std::string> problems;

  void Window(HWND top, const std::string& where) { Children(top, where); }

 private:
  int dpi_;

  void Problem(const std::string& where, HWND w, const std::string& what) {
    problems.push_back(where + ": " + NameOf(w) + " " + what);
  }

  void Text(HWND w, const std::string& where) {
    const std::string cls = ClassOf(w);
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    auto scale = [this](int pixels) { return MulDiv(pixels, dpi_, 96); };
    RECT r;
    GetClientRect(w, &r);
    SIZE need{0, 0};
    if (cls == "Button") {
      const LONG type = style & BS_TYPEMASK;
      const SIZE text = TextSize(w, true);
      if (type == BS_GROUPBOX) {
        need = {text.cx + scale(16), 0};
      } else if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_RADIOBUTTON ||
                 type == BS_AUTORADIOBUTTON) {
        need = {scale(13) + scale(4) + text.cx, text.cy};  // the box, its gap and the text
      } else {
        need = {text.cx + scale(6), text.cy + scale(2)};  // the frame around the text
      }
    } else if (cls == "Static") {
      const LONG type = style & SS_TYPEMASK;
      if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT) return;  // a picture or a line
      need = TextSize(w, !(style & SS_NOPREFIX));
    } else if (cls == "Edit") {
      need = {0, TextSize(w, false).cy};  // the text scrolls sideways
    } else {
      return;
    }
    if (need.cx > r.right || need.cy > r.bottom) {
      Problem(where, w,
              "needs " + std::to_string(need.cx) + " x " + std::to_string(need.cy) + " but has " +
                  std::to_string(r.right) + " x " + std::to_string(r.bottom));
    }
  }

  static bool Holds(HWND outer, const RECT& a, const RECT& b) {
    const std::string cls = ClassOf(outer);
    const bool box = cls == "Button" && (GetWindowLongW(outer, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    return (box || cls == "SysTabControl32") && a.left <= b.left && a.top <= b.top && a.right >= b.right &&
           a.bottom >= b.bottom;
  }

  void Children(HWND parent, const std::string& where) {
    RECT area;
    GetClientRect(parent, &area);
    std::vector<std::pair<HWND, RECT>> seen;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (!Shown(c)) continue;
      RECT r;
      GetWindowRect(c, &r);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      if (r.left < 0 || r.top < 0 || r.right > area.right || r.bottom > area.bottom) {
        Problem(where, c, "reaches outside " + NameOf(parent));
      }
      Text(c, where);
      for (const auto& [other, o] : seen) {
        RECT both;
        if (IntersectRect(&both, &r, &o) && !Holds(c, r, o) && !Holds(other, o, r)) {
          Problem(where, c, "overlaps " + NameOf(other));
        }
      }
      seen.push_back({c, r});
      Children(c, where);
    }
  }
};

class LayoutTest : public MainFormTest {};

// Checks each window at the system's dpi and, when `moved` is not 0, again after the window has
// been told it is now on a screen of `moved` dpi.
void CheckEveryWindow(int dpi, int moved, ui::TMainForm& form) {
  LayoutCheck check(dpi), after(moved);
  auto both = [&](HWND window, const std::function<void(LayoutCheck&)>& look) {
    look(check);
    if (!moved) return;
    RECT r;
    GetWindowRect(window, &r);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(moved, moved), reinterpret_cast<LPARAM>(&r));
    look(after);
  };
  auto pages = [&](LayoutCheck& c) {
    for (int page = 0; page < form.Pages.PageCount(); ++page) {
      form.Pages.SetActivePage(page);
      c.Window(form.Handle(), "control window, page " + std::to_string(page));
    }
  };
  both(form.Handle(), pages);
  ui::TAboutBox about;
  both(about.Handle(), [&](LayoutCheck& c) { c.Window(about.Handle(), "About box"); });
  ui::TBackupFolderDlg dialog;
  dialog.PathLabel.SetText("No backups found.");
  both(dialog.Handle(), [&](LayoutCheck& c) { c.Window(dialog.Handle(), "backup-folder dialog"); });
  ui::TVersionsDlg versions;
  // As long as the summary gets: a wide count, the longest dates and the largest sizes.
  versions.SummaryLabel.SetText(
      "Versions kept: 1234567 files\nFrom: 12/28/2026 12:58:58 PM\nTo: 12/28/2026 12:58:58 PM\n"
      "Room they take: 1023.99 GB (1,099,511,627,775 bytes)");
  both(versions.Handle(), [&](LayoutCheck& c) { c.Window(versions.Handle(), "versions dialog"); });
  ui::ProgressWindow progress("Backup");
  progress.FileLabel.SetText("C:\\Documents\\Letters\\2026\\a.txt");
  both(progress.Handle(), [&](LayoutCheck& c) { c.Window(progress.Handle(), "progress window"); });
  for (const std::string& problem : check.problems) ADD_FAILURE() << dpi << " dpi: " << problem;
  for (const std::string& problem : after.problems) ADD_FAILURE() << "moved to " << moved << " dpi: " << problem;
}

TEST_F(LayoutTest, EveryWindowFitsItsControlsAt96_120And144Dpi) {
  wchar_t asked[16] = L"";
  if (GetEnvironmentVariableW(kDpiVariable, asked, 16)) {
    // The run at one dpi, in a process of its own.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    ASSERT_EQ(GetDpiForSystem(), static_cast<UINT>(_wtoi(asked)));
    PrepareStore();
    // At 96 dpi the windows are also moved to a screen of 144 dpi, as per-monitor awareness asks.
    const int dpi = _wtoi(asked);
    CheckEveryWindow(dpi, dpi == 96 ? 144 : 0, Form());
    return;
  }
  wchar_t exe[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  for (DWORD dpi : {96u, 120u, 144u}) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    SetEnvironmentVariableW(kDpiVariable, std::to_wstring(dpi).c_str());
    std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_filter=LayoutTest.*";
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process));
    WaitForSingleObject(process.hProcess, 120000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(code, 0u) << "the windows at " << dpi << " dpi; the run's own output says what is wrong";
  }
  SetEnvironmentVariableW(kDpiVariable, nullptr);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
}

}  // namespace
}  // namespace vh::test
