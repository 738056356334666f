// The backup-folder dialog on screen, driven through its buttons, keys and close box, with the
// real file system and scripted message boxes.
#include "ui/backup_folder_dlg.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "disk_fixture.h"
#include "modal_script.h"

namespace vh::test {
namespace {

const char* const kSelectQuestion =
    "Failing to select a backup folder will close Vesperhollow.\nDo you want to select a backup folder?";
constexpr unsigned kAskOnButtons = MB_YESNO | MB_ICONEXCLAMATION;  // Yes is the default

// The dialog, noting the status line at each folder searched and pressing Stop at the one given.
class WatchedDlg : public ui::TBackupFolderDlg {
 public:
  void ShowSearching(const std::string& folder) override {
    TBackupFolderDlg::ShowSearching(folder);
    shown.push_back(PathLabel.Text());
    if (static_cast<int>(shown.size()) == stopAt) {
      StopBtn.Click();
      labelAfterStop = PathLabel.Text();
    }
  }
  std::vector<std::string> shown;
  int stopAt = 0;
  std::string labelAfterStop;
};

class BackupFolderDlgTest : public DiskTest {
 protected:
  BackupFolderDlgTest() { dlg.exitProgram = [this](unsigned code) { exits.push_back(code); }; }
  ~BackupFolderDlgTest() override { QuitPosted(); }  // a quit left behind would end later loops

  void MakeStore(const std::string& parent, const std::string& user = LocalUserName()) {
    ForceFolders(parent + "\\$VH_BKS$\\" + LocalComputerName() + "\\" + user);
  }
  void SearchSelectedFolder() {
    dlg.SelectedDriveRBtn.Click();
    dlg.ScanBtn.Click();
  }
  int Show(std::function<void()> script) { return ShowWith(dlg, std::move(script)); }
  static bool QuitPosted() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
  }

  WatchedDlg dlg;
  std::vector<unsigned> exits;
};

TEST_F(BackupFolderDlgTest, OpensOnOkWithLocalDrivesAndTheScopesAreOneGroup) {
  dlg.SetFolder("C:\\Start");
  EXPECT_EQ(Show([&] {
              EXPECT_EQ(GetFocus(), dlg.OKBtn.Handle());
              EXPECT_EQ(dlg.BackupFolderEdit.Text(), "C:\\Start");
              EXPECT_TRUE(dlg.LocalDrivesRBtn.Checked());
              dlg.AllDrivesRBtn.Click();
              EXPECT_FALSE(dlg.LocalDrivesRBtn.Checked());
              dlg.SelectedDriveRBtn.Click();
              EXPECT_FALSE(dlg.AllDrivesRBtn.Checked());
              EXPECT_TRUE(dlg.SelectedDriveRBtn.Checked());
            }),
            kStillOpen);
}

TEST_F(BackupFolderDlgTest, OkTakesTheEditsFolderAndEnterPressesIt) {
  EXPECT_EQ(Show([&] {
              dlg.BackupFolderEdit.SetText(folder);
              dlg.OKBtn.Click();
            }),
            IDOK);
  EXPECT_EQ(dlg.GetFolder(), folder);

  dlg.SetFolder("");
  EXPECT_EQ(Show([&] {
              dlg.BackupFolderEdit.SetText("D:\\Other");
              PostMessageW(dlg.BackupFolderEdit.Handle(), WM_KEYDOWN, VK_RETURN, 0);
            }),
            IDOK);
  EXPECT_EQ(dlg.GetFolder(), "D:\\Other");
  EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(BackupFolderDlgTest, OkOrCancelWithNothingChosenAsksAndNoEndsTheProgram) {
  // Yes: the dialog stays open for a choice.
  boxes.Answer(kIdYes);
  EXPECT_EQ(Show([&] { dlg.OKBtn.Click(); }), kStillOpen);
  EXPECT_TRUE(exits.empty());

  // No, at OK and at Cancel: the process ends at once (the hook stands in, so the dialog stays).
  boxes.Answer(kIdNo);
  boxes.Answer(kIdNo);
  EXPECT_EQ(Show([&] {
              dlg.OKBtn.Click();
              dlg.CancelBtn.Click();
            }),
            kStillOpen);
  EXPECT_EQ(exits, (std::vector<unsigned>{0, 0}));
  ASSERT_EQ(boxes.asked.size(), 3u);
  for (const AskedBox& box : boxes.asked) {
    EXPECT_EQ(box.text, kSelectQuestion);
    EXPECT_EQ(box.style, kAskOnButtons);
  }
  EXPECT_FALSE(QuitPosted());
}

TEST_F(BackupFolderDlgTest, CancelAndEscapeKeepTheStartingFolder) {
  dlg.SetFolder("C:\\Start");
  EXPECT_EQ(Show([&] {
              dlg.BackupFolderEdit.SetText(folder);  // as a browsed folder would be
              dlg.CancelBtn.Click();
            }),
            IDCANCEL);
  EXPECT_EQ(dlg.GetFolder(), "C:\\Start");
  EXPECT_EQ(Show([&] {
              dlg.BackupFolderEdit.SetText(folder);
              PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
            }),
            IDCANCEL);
  EXPECT_EQ(dlg.GetFolder(), "C:\\Start");
  EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(BackupFolderDlgTest, CloseBoxWithNothingChosenAsksWithNoAsDefaultAndNoEndsTheProgram) {
  const auto closeBox = [&] { SendMessageW(dlg.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); };
  boxes.Answer(kIdYes);
  EXPECT_EQ(Show(closeBox), kStillOpen);
  EXPECT_FALSE(QuitPosted());
  boxes.Answer(kIdNo);
  EXPECT_EQ(Show(closeBox), IDCANCEL);
  EXPECT_EQ(dlg.GetFolder(), "");
  ASSERT_EQ(boxes.asked.size(), 2u);
  EXPECT_EQ(boxes.asked[1].text, kSelectQuestion);
  EXPECT_EQ(boxes.asked[1].style, kAskOnButtons | MB_DEFBUTTON2);
  // The program ends through its main loop once the dialog is gone, not at once.
  EXPECT_TRUE(exits.empty());
  EXPECT_TRUE(QuitPosted());

  dlg.SetFolder("C:\\Start");
  EXPECT_EQ(Show(closeBox), IDCANCEL);
  EXPECT_EQ(boxes.asked.size(), 2u);
  EXPECT_FALSE(QuitPosted());
}

TEST_F(BackupFolderDlgTest, BrowsedFolderGoesIntoTheEditButIsTakenOnlyByOk) {
  const std::string picked = folder + "\\picked";
  ForceFolders(picked);
  dlg.SetFolder("C:\\Start");
  EXPECT_EQ(Show([&] {
              WhenDialogOpens(dlg.Handle(), [&](HWND picker) {
                // The folder's path typed into the picker's name box, then its OK button.
                HWND name = FindWindowExW(picker, nullptr, L"Edit", nullptr);
                for (HWND box = nullptr; !name && (box = FindWindowExW(picker, box, L"ComboBox", nullptr));) {
                  name = FindWindowExW(box, nullptr, L"Edit", nullptr);
                }
                ASSERT_NE(name, nullptr);
                SetWindowTextW(name, win32::Widen(picked).c_str());
                PostMessageW(picker, WM_COMMAND, IDOK, 0);
              });
              dlg.BrowseBtn.Click();
              EXPECT_EQ(dlg.BackupFolderEdit.Text(), picked);

              WhenDialogOpens(dlg.Handle(), [](HWND browser) { PostMessageW(browser, WM_COMMAND, IDCANCEL, 0); });
              dlg.BrowseBtn.Click();
              EXPECT_EQ(dlg.BackupFolderEdit.Text(), picked);
              dlg.CancelBtn.Click();
            }),
            IDCANCEL);
  EXPECT_EQ(dlg.GetFolder(), "C:\\Start");
}

TEST_F(BackupFolderDlgTest, SearchOfTheSelectedFolderTakesTheStoreAtOnce) {
  // Another user's store is no match; the search goes on inside it and beside it.
  MakeStore(folder + "\\other", "someone else");
  MakeStore(folder + "\\deep\\er");
  dlg.SetFolder(folder);
  EXPECT_EQ(Show([&] {
              SearchSelectedFolder();
              EXPECT_EQ(dlg.PathLabel.Text(), "Backups found.");
              EXPECT_EQ(dlg.BackupFolderEdit.Text(), folder + "\\deep\\er");
              EXPECT_TRUE(dlg.OKBtn.Enabled() && dlg.CancelBtn.Enabled() && dlg.ScanBtn.Enabled());
              EXPECT_FALSE(dlg.StopBtn.Enabled());
              dlg.CancelBtn.Click();  // the found folder is the result already
            }),
            IDCANCEL);
  EXPECT_EQ(dlg.GetFolder(), folder + "\\deep\\er");
  EXPECT_TRUE(boxes.asked.empty());

  // A store right in the selected folder gives the folder as it was typed.
  MakeStore(folder);
  dlg.SetFolder(folder + "\\");
  Show([&] { SearchSelectedFolder(); });
  EXPECT_EQ(dlg.GetFolder(), folder + "\\");
}

TEST_F(BackupFolderDlgTest, FailedOrStoppedSearchReportsNoBackupsAndKeepsTheFolder) {
  const std::string noBackups = "No backups found in selected folder or drive for user \"" + LocalUserName() +
                                "\" using machine \"" + LocalComputerName() + "\".";
  MakeStore(folder + "\\other", "someone else");
  dlg.SetFolder(folder);
  boxes.Answer(kIdOk, [&] { EXPECT_EQ(dlg.PathLabel.Text(), "No backups found."); });
  Show([&] { SearchSelectedFolder(); });
  ASSERT_EQ(boxes.asked.size(), 1u);
  EXPECT_EQ(boxes.asked[0].text, noBackups);
  EXPECT_EQ(boxes.asked[0].style, unsigned(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(dlg.GetFolder(), folder);
  EXPECT_TRUE(dlg.ScanBtn.Enabled());
  EXPECT_FALSE(dlg.StopBtn.Enabled());

  // Stopped at the first folder: the store one level down is never reached.
  MakeStore(folder + "\\mine");
  dlg.shown.clear();
  dlg.stopAt = 1;
  boxes.Answer(kIdOk);
  Show([&] { SearchSelectedFolder(); });
  EXPECT_EQ(dlg.labelAfterStop, "Search stopped");
  EXPECT_EQ(dlg.shown.size(), 1u);
  ASSERT_EQ(boxes.asked.size(), 2u);
  EXPECT_EQ(boxes.asked[1].text, noBackups);
  EXPECT_EQ(dlg.PathLabel.Text(), "No backups found.");
  EXPECT_EQ(dlg.GetFolder(), folder);
}

TEST_F(BackupFolderDlgTest, StopWithNoSearchRunningOnlySaysSo) {
  MakeStore(folder + "\\mine");
  dlg.SetFolder(folder);
  Show([&] {
    dlg.StopBtn.Click();
    EXPECT_EQ(dlg.PathLabel.Text(), "Search stopped");
    SearchSelectedFolder();  // not stopped by the earlier press
  });
  EXPECT_TRUE(boxes.asked.empty());
  EXPECT_EQ(dlg.GetFolder(), folder + "\\mine");
}

TEST_F(BackupFolderDlgTest, StatusLineShowsEachFolderShortenedToItsWidth) {
  std::string deep = folder;
  for (int i = 0; i < 6; ++i) deep += "\\a rather long folder name number " + std::to_string(i);
  ForceFolders(deep);
  dlg.SetFolder(folder);
  boxes.Answer(kIdOk);
  Show([&] { SearchSelectedFolder(); });
  ASSERT_EQ(dlg.shown.size(), 7u);
  for (const std::string& text : dlg.shown) {
    EXPECT_LE(TextWidth(dlg.PathLabel.Handle(), text), dlg.Scale(300)) << text;
  }
  EXPECT_NE(dlg.shown.back().find("...\\"), std::string::npos);
  EXPECT_NE(dlg.shown.back().find("number 5"), std::string::npos);
}

}  // namespace
}  // namespace vh::test
