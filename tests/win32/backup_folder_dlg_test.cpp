// The backup-folder dialog on screen, driven through its buttons, keys and close box, with the
// real file system and scripted message boxes.
#include "ui/backup_folder_dlg.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "disk_fixture.h"
#include "modal_script.h"

namespace vh::test {
namespace {

const char* const kSelectQuestion =
    "Failing to select a backup folder will close Vesperhollow.\nDo you want to select a backup folder?";

// The dialog, with Stop pressed from inside the search when the test says so.
class StoppableDlg : public ui::TBackupFolderDlg {
 public:
  void ShowSearching(const std::string& folder) override {
    TBackupFolderDlg::ShowSearching(folder);
    shown.push_back(PathLabel.Text());
    if (static_cast<int>(shown.size()) == stopAt) {
      StopBtn.Click();
      labelAfterStop = PathLabel.Text();
    }
  }
  std::vector<std::string> shown;  // the status line at each folder searched
  int stopAt = 0;
  std::string labelAfterStop;
};

class BackupFolderDlgTest : public DiskTest {
 protected:
  BackupFolderDlgTest() {
    dlg.exitProgram = [this](unsigned code) { exits.push_back(code); };
  }
  ~BackupFolderDlgTest() override {
    // A WM_QUIT left by a test must not end the next one's loops.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  // Makes a store of this computer and user inside `parent`.
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
  int TextWidth(const std::string& text) {
    HDC dc = GetDC(dlg.Handle());
    HGDIOBJ old = SelectObject(dc, dlg.Font());
    const std::wstring wide = win32::Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(dlg.Handle(), dc);
    return size.cx;
  }

  StoppableDlg dlg;
  std::vector<unsigned> exits;
};

TEST_F(BackupFolderDlgTest, OpensWithLocalDrivesCheckedAndOkFocused) {
  wchar_t caption[64] = L"";
  GetWindowTextW(dlg.Handle(), caption, 64);
  EXPECT_STREQ(caption, L"Vesperhollow - Select backup folder");
  RECT client;
  GetClientRect(dlg.Handle(), &client);
  EXPECT_EQ(client.right, dlg.Scale(446));
  EXPECT_EQ(client.bottom, dlg.Scale(231));

  dlg.SetFolder("C:\\Start");
  const int result = Show([&] {
    EXPECT_EQ(GetFocus(), dlg.OKBtn.Handle());
    EXPECT_TRUE(dlg.LocalDrivesRBtn.Checked());
    EXPECT_FALSE(dlg.SelectedDriveRBtn.Checked());
    EXPECT_FALSE(dlg.AllDrivesRBtn.Checked());
    EXPECT_EQ(dlg.BackupFolderEdit.Text(), "C:\\Start");
    EXPECT_EQ(dlg.PathLabel.Text(), "");
    // The scope buttons are one group: checking one clears the others.
    dlg.AllDrivesRBtn.Click();
    EXPECT_TRUE(dlg.AllDrivesRBtn.Checked());
    EXPECT_FALSE(dlg.LocalDrivesRBtn.Checked());
    dlg.SelectedDriveRBtn.Click();
    EXPECT_TRUE(dlg.SelectedDriveRBtn.Checked());
    EXPECT_FALSE(dlg.AllDrivesRBtn.Checked());
  });
  EXPECT_EQ(result, kStillOpen);
  EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(BackupFolderDlgTest, OkTakesTheEditsFolderAndEnterPressesIt) {
  EXPECT_EQ(Show([&] {
              dlg.BackupFolderEdit.SetText(folder);
              dlg.OKBtn.Click();
            }),
            IDOK);
  EXPECT_EQ(dlg.GetFolder(), folder);

  // Enter in the edit presses the default button.
  EXPECT_EQ(Show([&] {
              dlg.ChosenFolder.clear();
              dlg.BackupFolderEdit.SetText("D:\\Other");
              PostMessageW(dlg.BackupFolderEdit.Handle(), WM_KEYDOWN, VK_RETURN, 0);
            }),
            IDOK);
  EXPECT_EQ(dlg.GetFolder(), "D:\\Other");
  EXPECT_TRUE(boxes.asked.empty());
  EXPECT_TRUE(exits.empty());
}

TEST_F(BackupFolderDlgTest, OkOrCancelWithNothingChosenAsksAndNoEndsTheProgram) {
  // Yes: the dialog stays open for a choice, which OK then takes.
  boxes.Answer(kIdYes);
  EXPECT_EQ(Show([&] {
              dlg.OKBtn.Click();
              EXPECT_TRUE(exits.empty());
              dlg.BackupFolderEdit.SetText(folder);
              dlg.OKBtn.Click();
            }),
            IDOK);
  EXPECT_EQ(dlg.GetFolder(), folder);
  ASSERT_EQ(boxes.asked.size(), 1u);
  EXPECT_EQ(boxes.asked[0].text, kSelectQuestion);
  EXPECT_EQ(boxes.asked[0].caption, "Vesperhollow");
  EXPECT_EQ(boxes.asked[0].style, unsigned(MB_YESNO | MB_ICONEXCLAMATION));  // Yes is the default
  EXPECT_TRUE(exits.empty());

  // No, at OK and at Cancel: the process ends at once.
  dlg.SetFolder("");
  boxes.Answer(kIdNo);
  EXPECT_EQ(Show([&] { dlg.OKBtn.Click(); }), kStillOpen);  // only the exit hook stands in the way
  EXPECT_EQ(exits, std::vector<unsigned>{0});
  boxes.Answer(kIdNo);
  EXPECT_EQ(Show([&] { dlg.CancelBtn.Click(); }), kStillOpen);
  EXPECT_EQ(exits, (std::vector<unsigned>{0, 0}));
  ASSERT_EQ(boxes.asked.size(), 3u);
  EXPECT_EQ(boxes.asked[2].text, kSelectQuestion);
  EXPECT_EQ(boxes.asked[2].style, unsigned(MB_YESNO | MB_ICONEXCLAMATION));
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
  boxes.Answer(kIdYes);
  boxes.Answer(kIdNo);
  const int result = Show([&] {
    SendMessageW(dlg.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);  // Yes: stays open
    EXPECT_FALSE(QuitPosted());
    SendMessageW(dlg.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);  // No: closes
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dlg.GetFolder(), "");
  ASSERT_EQ(boxes.asked.size(), 2u);
  for (const AskedBox& box : boxes.asked) {
    EXPECT_EQ(box.text, kSelectQuestion);
    EXPECT_EQ(box.caption, "Vesperhollow");
    EXPECT_EQ(box.style, unsigned(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
  }
  // The program ends through its main loop once the dialog is gone, not at once.
  EXPECT_TRUE(exits.empty());
  EXPECT_TRUE(QuitPosted());

  // With a folder chosen the close box just closes.
  dlg.SetFolder("C:\\Start");
  EXPECT_EQ(Show([&] { SendMessageW(dlg.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }), IDCANCEL);
  EXPECT_EQ(dlg.GetFolder(), "C:\\Start");
  EXPECT_EQ(boxes.asked.size(), 2u);
  EXPECT_FALSE(QuitPosted());
}

TEST_F(BackupFolderDlgTest, BrowsedFolderGoesIntoTheEditButIsTakenOnlyByOk) {
  const std::string picked = folder + "\\picked";
  ForceFolders(picked);
  dlg.SetFolder("C:\\Start");
  const int result = Show([&] {
    WhenDialogOpens(dlg.Handle(), [&](HWND browser) {
      SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(win32::Widen(picked).c_str()));
      PostMessageW(browser, WM_COMMAND, IDOK, 0);
    });
    dlg.BrowseBtn.Click();
    EXPECT_EQ(dlg.BackupFolderEdit.Text(), picked);
    EXPECT_EQ(dlg.ChosenFolder, "C:\\Start");

    // Cancelled in the browser: the edit keeps what it had.
    WhenDialogOpens(dlg.Handle(), [](HWND browser) { PostMessageW(browser, WM_COMMAND, IDCANCEL, 0); });
    dlg.BrowseBtn.Click();
    EXPECT_EQ(dlg.BackupFolderEdit.Text(), picked);
    dlg.CancelBtn.Click();
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dlg.GetFolder(), "C:\\Start");
}

TEST_F(BackupFolderDlgTest, SearchOfTheSelectedFolderTakesTheStoreAtOnce) {
  // Another user's store is no match; the search goes on inside it and beside it.
  MakeStore(folder + "\\other", "someone else");
  MakeStore(folder + "\\deep\\er");
  dlg.SetFolder(folder);
  const int result = Show([&] {
    SearchSelectedFolder();
    EXPECT_EQ(dlg.PathLabel.Text(), "Backups found.");
    EXPECT_EQ(dlg.BackupFolderEdit.Text(), folder + "\\deep\\er");
    for (ui::Button* b : {&dlg.ScanBtn, &dlg.SelectedDriveRBtn, &dlg.LocalDrivesRBtn, &dlg.AllDrivesRBtn,
                          &dlg.BrowseBtn, &dlg.HelpBtn, &dlg.CancelBtn, &dlg.OKBtn}) {
      EXPECT_TRUE(b->Enabled()) << b->Text();
    }
    EXPECT_FALSE(dlg.StopBtn.Enabled());
    dlg.CancelBtn.Click();  // the found folder is the result already
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dlg.GetFolder(), folder + "\\deep\\er");
  EXPECT_TRUE(boxes.asked.empty());

  // A store right in the selected folder gives the folder as typed, its trailing "\" kept.
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
  boxes.Answer(kIdOk, [&] {
    // The box comes while the search still holds the buttons.
    EXPECT_EQ(dlg.PathLabel.Text(), "No backups found.");
    EXPECT_FALSE(dlg.OKBtn.Enabled());
  });
  Show([&] { SearchSelectedFolder(); });
  ASSERT_EQ(boxes.asked.size(), 1u);
  EXPECT_EQ(boxes.asked[0].text, noBackups);
  EXPECT_EQ(boxes.asked[0].caption, "Vesperhollow");
  EXPECT_EQ(boxes.asked[0].style, unsigned(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(dlg.GetFolder(), folder);
  EXPECT_EQ(dlg.PathLabel.Text(), "No backups found.");
  EXPECT_TRUE(dlg.ScanBtn.Enabled());
  EXPECT_FALSE(dlg.StopBtn.Enabled());

  // Stop at the first folder: the store one level down is never reached.
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

TEST_F(BackupFolderDlgTest, StopWithoutASearchOnlySaysSoAndTheNextSearchRuns) {
  MakeStore(folder + "\\mine");
  dlg.SetFolder(folder);
  Show([&] {
    dlg.StopBtn.Click();
    EXPECT_EQ(dlg.PathLabel.Text(), "Search stopped");
    EXPECT_TRUE(boxes.asked.empty());
    SearchSelectedFolder();
    EXPECT_EQ(dlg.PathLabel.Text(), "Backups found.");
  });
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
  for (const std::string& text : dlg.shown) EXPECT_LE(TextWidth(text), dlg.Scale(300)) << text;
  EXPECT_NE(dlg.shown.back().find("...\\"), std::string::npos);
  EXPECT_NE(dlg.shown.back().find("number 5"), std::string::npos);
}

}  // namespace
}  // namespace vh::test
