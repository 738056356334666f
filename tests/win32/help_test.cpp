// Help from every window: each context number a control carries opens a page of its own, a
// group box asked about gives its own topic, and a missing help set is told with its place.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <set>

#include "main_form_fixture.h"
#include "ui/backup_folder_dlg.h"
#include "ui/versions_dlg.h"

namespace vh::test {
namespace {

class HelpTest : public MainFormTest {
 protected:
  void Watch(ui::Help& help) {
    help.openPage = [this](HWND, const std::string& page) { opened.push_back(page); };
  }
  static void Collect(HWND root, std::set<DWORD>& contexts) {
    contexts.insert(GetWindowContextHelpId(root));
    EnumChildWindows(
        root,
        [](HWND w, LPARAM p) {
          if (DWORD context = GetWindowContextHelpId(w)) reinterpret_cast<std::set<DWORD>*>(p)->insert(context);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&contexts));
  }
  // The context numbers the help set beside the program has pages for.
  static std::set<DWORD> NumberedPages(const ui::Help& help) {
    const std::string index = help.PageOf(0);
    std::set<DWORD> pages;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(win32::Widen(index.substr(0, index.rfind('\\')) + "\\*.html").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return pages;
    do {
      if (DWORD number = wcstoul(data.cFileName, nullptr, 10)) pages.insert(number);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return pages;
  }
  std::vector<std::string> opened;
};

TEST_F(HelpTest, EveryContextNumberOpensItsOwnPage) {
  PrepareStore();
  ui::TMainForm& f = Form();
  ui::TBackupFolderDlg dialog;
  std::set<DWORD> contexts;
  Collect(f.Handle(), contexts);
  Collect(dialog.Handle(), contexts);
  ui::TVersionsDlg versions;
  Collect(versions.Handle(), contexts);
  // Every control's number has its page, and every page is reached from some control.
  EXPECT_EQ(contexts, NumberedPages(f.HelpViewer));
  Watch(f.HelpViewer);
  for (DWORD context : contexts) {
    opened.clear();
    f.HelpRequest(context);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], f.HelpViewer.PageOf(context));
    EXPECT_NE(GetFileAttributesW(win32::Widen(opened[0]).c_str()), INVALID_FILE_ATTRIBUTES) << context;
  }
  opened.clear();
  f.control_.HelpBtn2.Click();
  EXPECT_EQ(opened, (std::vector<std::string>{f.HelpViewer.PageOf(0)}));
  EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(HelpTest, AQuestionMarkOnAGroupBoxGivesTheBoxsTopic) {
  PrepareStore();
  ui::TMainForm& f = Form();
  f.ConfigureClick();
  Watch(f.HelpViewer);
  // A point inside "Backup status" but on none of its controls: the click reaches the page.
  RECT box;
  GetWindowRect(f.control_.BackupStatusBox.Handle(), &box);
  HELPINFO request{sizeof request, HELPINFO_WINDOW, 0, f.Pages.Panel(0), 0, {box.left + 4, box.bottom - 4}};
  SendMessageW(f.Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&request));
  EXPECT_EQ(opened, (std::vector<std::string>{f.HelpViewer.PageOf(6)}));
}

TEST_F(HelpTest, AMissingHelpSetIsToldWithWhereItWasExpected) {
  PrepareStore();
  ui::TMainForm& f = Form();
  Watch(f.HelpViewer);
  f.HelpViewer.programFolder = folder + "\\nowhere";
  boxes.Answer(kIdOk);
  f.HelpBtnClick();
  EXPECT_TRUE(opened.empty());
  ASSERT_EQ(boxes.asked.size(), 1u);
  EXPECT_NE(boxes.asked[0].text.find(folder + "\\nowhere\\help."), std::string::npos) << boxes.asked[0].text;
}

}  // namespace
}  // namespace vh::test
