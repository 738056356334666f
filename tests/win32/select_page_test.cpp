// The Select and Log pages over the plug drive: the folder tree, list edits by button and by the
// mouse, the Sub-folder toggle, and printing.
#include <iterator>
#include <vector>

#include "main_form_fixture.h"
#include "ui/main_form_constants.h"

namespace vh::test {
namespace {

using Lines = std::vector<std::string>;

class SelectPageTest : public MainFormTest {
 protected:
  SelectPageTest() : drive(Env("VH_PLUG_DRIVE")), plug(Env("VH_PLUG_DIR")) {
    files.CreateFolder(plug);
    Write(drive + "\\Docs\\Old\\deep.txt", "d");
    Write(drive + "\\Docs\\letter.txt", "l");
    Write(drive + "\\apple\\x.txt", "x");
    Write(drive + "\\Banana.txt", "b");
    Write(drive + "\\hidden.txt", "h");
    files.SetAttributes(drive + "\\hidden.txt", kAttrHidden);
  }
  ~SelectPageTest() override { RemoveTree(plug); }

  TreeItem Item(const std::string& path) {
    return Form().FolderView->FindNode(Form().select_.TreeView.FirstRoot(), path);
  }
  // As the user opens a branch: the tree's notice, then the branch shows.
  void Open(const std::string& path) {
    const TreeItem item = Item(path);
    ASSERT_NE(item, 0u) << path;
    Form().select_.TreeView.Expand(item);
    if (Children(path).empty()) Form().TreeViewExpanding(item);  // where the control sent no notice
  }
  Lines Children(const std::string& path) {
    Lines texts;
    for (TreeItem i = Form().select_.TreeView.FirstChild(Item(path)); i; i = Form().select_.TreeView.NextSibling(i)) {
      texts.push_back(Form().select_.TreeView.Text(i));
    }
    return texts;
  }
  void Select(const std::string& path) { Form().select_.TreeView.Select(Item(path)); }
  // The form over the store, with files shown and the plug drive's branch open.
  ui::TMainForm& OpenDriveWithFiles() {
    PrepareStore();
    Form().select_.ShowFilesChk.Click();
    Open(drive);
    return Form();
  }
  Lines GridPaths() {
    Lines paths;
    ui::ListViewGrid view(Form().select_.StringGrid.Handle());
    for (int row = 1; row < view.RowCount(); ++row) paths.push_back(view.Cell(0, row) + "|" + view.Cell(1, row));
    return paths;
  }
  // The window on screen with the Select page up, for the mouse.
  void ShowSelectPage() {
    ShowWindow(Form().Handle(), SW_SHOW);
    SetForegroundWindow(Form().Handle());
    Form().Pages.SetActivePage(ui::kSelectPage);
    Pump(100);
  }
  static POINT CentreOf(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  POINT ItemPoint(const std::string& path) {
    const RECT r = Form().select_.TreeView.ItemRect(Item(path));
    POINT p{r.left + 6, (r.top + r.bottom) / 2};
    ClientToScreen(Form().select_.TreeView.Handle(), &p);
    return p;
  }
  static void Mouse(POINT screen, DWORD buttons = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &in, sizeof in);
  }
  // A press at `from`, a move past the drag threshold, and the release at `to`.
  static void DragWithMouse(POINT from, POINT to) {
    Mouse(from);
    Pump(50);
    Mouse(from, MOUSEEVENTF_LEFTDOWN);
    Mouse({from.x + 12, from.y + 12});
    Mouse({to.x - 1, to.y});
    Mouse(to);
    Mouse(to, MOUSEEVENTF_LEFTUP);
    Pump(400);
  }
  static void Click(POINT at) {
    Mouse(at);
    Mouse(at, MOUSEEVENTF_LEFTDOWN);
    Mouse(at, MOUSEEVENTF_LEFTUP);
    Pump(300);
  }
  static void Pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (GetTickCount() < end) {
      ui::ProcessPendingMessages();
      Sleep(10);
    }
  }

  const std::string drive, plug;
};

TEST_F(SelectPageTest, TreeFollowsTheFileBoxes) {
  PrepareStore();
  ui::TMainForm& f = Form();
  ASSERT_FALSE(drive.empty());
  ASSERT_NE(Item(drive), 0u);
  EXPECT_EQ(f.select_.TreeView.Image(Item(drive)), kDriveImage);
  Open(drive);
  EXPECT_EQ(Children(drive), (Lines{"apple", "Docs"}));
  EXPECT_FALSE(f.select_.SystemFilesChk.Enabled());

  f.select_.ShowFilesChk.Click();
  f.RefreshControls();
  EXPECT_TRUE(f.select_.SystemFilesChk.Enabled());
  EXPECT_EQ(Children(drive), (Lines{"apple", "Banana.txt", "Docs"}));  // the open branch stays open
  f.select_.SystemFilesChk.Click();
  EXPECT_EQ(Children(drive), (Lines{"apple", "Banana.txt", "Docs", "hidden.txt"}));
  EXPECT_EQ(f.select_.TreeView.Image(Item(drive + "\\hidden.txt")), kHiddenFileImage);

  // Names outside the code page and paths past 260 characters show and map as they are.
  std::string deep = drive + "\\\xCE\xA9mega \xE6\x97\xA5\xE6\x9C\xAC";
  Write(deep + "\\" + std::string(60, 'a') + "\\" + std::string(60, 'b') + "\\" + std::string(60, 'c') + "\\" +
            std::string(60, 'd') + "\\last.txt",
        "far");
  f.RefreshBtnClick();
  Open(deep);
  for (char c : std::string("abcd")) {
    deep += "\\" + std::string(60, c);
    Open(deep);
  }
  Select(deep + "\\last.txt");
  EXPECT_EQ(f.FolderView->SelectedPath(), deep + "\\last.txt");
  EXPECT_GT(f.FolderView->SelectedPath().size(), 260u);
  f.AddBtnClick();
  ASSERT_EQ(f.Logic.BackupList.Count(), 2);
  EXPECT_EQ(f.Logic.BackupList.Item(1)->Path, deep + "\\last.txt");
  EXPECT_EQ(f.select_.TreeView.Image(Item(deep + "\\last.txt")), kFileImage + kMarked);
}

TEST_F(SelectPageTest, RefreshKeepsOpenBranchesAndShowsTheSelectionOnTop) {
  PrepareStore();
  for (int i = 10; i < 40; ++i) files.CreateFolder(drive + "\\Docs\\p" + std::to_string(i));  // room to scroll
  ui::TMainForm& f = Form();
  Open(drive);
  Open(drive + "\\Docs");
  Select(drive + "\\Docs\\Old");
  Write(drive + "\\Docs\\New\\n.txt", "n");
  f.select_.RefreshBtn.Click();
  EXPECT_TRUE(f.select_.TreeView.Expanded(Item(drive)));
  EXPECT_TRUE(f.select_.TreeView.Expanded(Item(drive + "\\Docs")));
  EXPECT_EQ(Lines(Children(drive + "\\Docs")).at(0), "New");
  EXPECT_EQ(f.select_.TreeView.TopItem(), Item(drive + "\\Docs\\Old"));
  EXPECT_EQ(f.select_.TreeView.Selected(), 0u);
  f.AddBtnClick();  // nothing selected: nothing added
  EXPECT_EQ(f.Logic.BackupList.Count(), 1);
}

TEST_F(SelectPageTest, AddByButtonAndByDropRemoveByDrop) {
  ui::TMainForm& f = OpenDriveWithFiles();
  Select(drive + "\\Docs");
  f.select_.AddBtn.Click();
  EXPECT_EQ(GridPaths(), (Lines{source + "|Yes", drive + "\\Docs|Yes"}));
  EXPECT_EQ(f.select_.TreeView.Image(Item(drive + "\\Docs")), kFolderImage + kMarked);
  EXPECT_EQ(LastLogLine(), "\t\t" + drive + "\\Docs  (incl. sub-folders)");
  f.RefreshControls();
  EXPECT_EQ(f.select_.SubDirBtn.Text(), "No Subs");

  ShowSelectPage();
  // A file dragged from the tree onto the grid; a tree item dropped on the tree is refused.
  DragWithMouse(ItemPoint(drive + "\\Banana.txt"), CentreOf(f.select_.StringGrid.Handle()));
  EXPECT_EQ(GridPaths(), (Lines{source + "|Yes", drive + "\\Banana.txt|", drive + "\\Docs|Yes"}));
  EXPECT_EQ(LastLogLine(), "\t\t" + drive + "\\Banana.txt");
  EXPECT_EQ(f.select_.TreeView.Image(Item(drive + "\\Banana.txt")), kFileImage + kMarked);
  DragWithMouse(ItemPoint(drive + "\\apple"), ItemPoint(drive + "\\Docs"));
  EXPECT_EQ(f.Logic.BackupList.Count(), 3);
  f.RefreshControls();
  EXPECT_EQ(f.select_.SubDirBtn.Text(), "Subs");  // the new file entry is current
  EXPECT_FALSE(f.select_.SubDirBtn.Enabled());

  // The path hint over an entry row.
  RECT row;
  ListView_GetItemRect(f.select_.StringGrid.Handle(), 1, &row, LVIR_BOUNDS);
  f.StringGridMouseMove({row.left + 5, (row.top + row.bottom) / 2});
  EXPECT_TRUE(f.select_.StringGridHint.Active());
  EXPECT_EQ(f.select_.StringGridHint.Text(), drive + "\\Banana.txt");

  // Another row than the current one dragged onto the Remove button: that row is asked about,
  // removed and unmarked.
  RECT docs;
  ListView_GetItemRect(f.select_.StringGrid.Handle(), 2, &docs, LVIR_BOUNDS);
  POINT rowPoint{docs.left + 20, (docs.top + docs.bottom) / 2};
  ClientToScreen(f.select_.StringGrid.Handle(), &rowPoint);
  boxes.Answer(kIdYes);
  DragWithMouse(rowPoint, CentreOf(f.select_.RemoveBtn.Handle()));
  EXPECT_EQ(boxes.asked.size(), 1u);
  EXPECT_EQ(GridPaths(), (Lines{source + "|Yes", drive + "\\Banana.txt|"}));
  EXPECT_EQ(f.select_.TreeView.Image(Item(drive + "\\Docs")), kFolderImage);
  EXPECT_EQ(f.Logic.CurrentBusyState(), kIdle);
  EXPECT_TRUE(IsWindowEnabled(f.Handle()));
}

// A timer procedure has no context of its own.
bool ticked = false, tickedInDrag = false;

TEST_F(SelectPageTest, OnlyTheLeftButtonEndsADragAndNoTimerRunsInIt) {
  PrepareStore();
  ui::TMainForm& f = Form();
  Open(drive);
  ShowSelectPage();
  const POINT from = ItemPoint(drive + "\\Docs"), grid = CentreOf(f.select_.StringGrid.Handle());
  POINT bare{f.Scale(181), f.Scale(320)};  // between the files box and the backup-folder box
  ClientToScreen(f.Pages.Panel(ui::kSelectPage), &bare);
  Mouse(bare, MOUSEEVENTF_RIGHTDOWN);  // the right button held from before the drag
  Mouse(from);
  Pump(50);
  Mouse(from, MOUSEEVENTF_LEFTDOWN);
  Mouse({from.x + 12, from.y + 12});
  Mouse(grid);
  Mouse(grid, MOUSEEVENTF_RIGHTUP);  // over a target that takes the drag: no drop yet
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
    ticked = true;
    tickedInDrag = tickedInDrag || GetCapture() != nullptr;
  });
  static POINT back;  // on the tree, which refuses it
  back = from;
  HANDLE release = CreateThread(nullptr, 0, [](void*) -> DWORD {
    Sleep(500);
    Mouse(back);
    Mouse(back, MOUSEEVENTF_LEFTUP);
    return 0;
  }, nullptr, 0, nullptr);
  ASSERT_NE(release, nullptr);
  Pump(900);
  WaitForSingleObject(release, INFINITE);
  CloseHandle(release);
  KillTimer(nullptr, timer);
  EXPECT_EQ(f.Logic.BackupList.Count(), 1);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(ticked);  // once the drag was over
  EXPECT_FALSE(tickedInDrag);
}

TEST_F(SelectPageTest, RemoveAsksAndNoKeepsTheEntry) {
  PrepareStore();
  ui::TMainForm& f = Form();
  f.BackupNowBtnClick();
  boxes.Answer(kIdNo);
  f.select_.RemoveBtn.Click();
  EXPECT_EQ(f.Logic.BackupList.Count(), 1);
  boxes.Answer(kIdYes);
  f.select_.RemoveBtn.Click();
  EXPECT_EQ(f.Logic.BackupList.Count(), 0);
  EXPECT_FALSE(FileExists(MirrorPath(backupFolder, source + "\\a.txt")));
  EXPECT_EQ(LastLogLine(), "\t\t" + source);
  f.select_.RemoveBtn.Click();  // an empty list: nothing is asked
  EXPECT_EQ(boxes.asked.size(), 2u);
}

TEST_F(SelectPageTest, TheRowActedOnIsAlwaysTheOneShownSelected) {
  PrepareStore();
  ui::TMainForm& f = Form();
  auto shown = [&] { return ListView_GetNextItem(f.select_.StringGrid.Handle(), -1, LVNI_SELECTED) + 1; };
  EXPECT_EQ(shown(), 1);  // as loaded
  Open(drive);
  for (const char* name : {"\\Docs", "\\apple"}) {
    Select(drive + name);
    f.AddBtnClick();
  }
  f.BackupNowBtnClick();
  ASSERT_EQ(shown(), 3);
  // The last row's entry goes: the row above it is now the one shown, and the next removal takes it.
  boxes.Answer(kIdYes);
  f.RemoveBtnClick();
  EXPECT_EQ(shown(), 2);
  boxes.Answer(kIdYes);
  f.RemoveBtnClick();
  ASSERT_EQ(f.Logic.BackupList.Count(), 1);
  EXPECT_EQ(f.Logic.BackupList.Item(0)->Path, source);
  EXPECT_EQ(shown(), 1);
}

TEST_F(SelectPageTest, SubFoldersOffThenOnAndSaved) {
  PrepareStore();
  ui::TMainForm& f = Form();
  Write(source + "\\sub\\s.txt", "s");
  f.BackupNowBtnClick();
  f.RefreshControls();
  ASSERT_EQ(f.select_.SubDirBtn.Text(), "No Subs");
  boxes.Answer(kIdYes);
  f.select_.SubDirBtn.Click();
  EXPECT_EQ(boxes.asked.at(0).text, "This will remove any previous backups of the selected sub-folder\nIs this OK?");
  EXPECT_FALSE(f.Logic.BackupList.Item(0)->Subs);
  EXPECT_FALSE(FileExists(MirrorPath(backupFolder, source + "\\sub\\s.txt")));
  EXPECT_TRUE(FileExists(MirrorPath(backupFolder, source + "\\a.txt")));
  EXPECT_EQ(Read(MirrorPath(backupFolder, "") + "\\Config.txt"), "3.0\r\n" + source + "\r\n0\r\n1\r\n");
  f.RefreshControls();
  EXPECT_EQ(f.select_.SubDirBtn.Text(), "Subs");
  f.select_.SubDirBtn.Click();  // on again: nothing asked
  EXPECT_EQ(boxes.asked.size(), 1u);
  EXPECT_EQ(Read(MirrorPath(backupFolder, "") + "\\Config.txt"), "3.0\r\n" + source + "\r\n1\r\n1\r\n");
}

TEST_F(SelectPageTest, AVanishedItemAddsNothingAndItsBranchIsReadAgain) {
  ui::TMainForm& f = OpenDriveWithFiles();
  Open(drive + "\\Docs");
  Select(drive + "\\Docs\\letter.txt");
  files.Delete(drive + "\\Docs\\letter.txt");
  f.AddBtnClick();
  EXPECT_EQ(f.Logic.BackupList.Count(), 1);
  EXPECT_EQ(LastLogLine(), "\t\t" + drive + "\\Docs\\letter.txt");
  EXPECT_EQ(Children(drive + "\\Docs"), Lines{"Old"});
}

TEST_F(SelectPageTest, WideWindowMovesTheRightHandControls) {
  PrepareStore();
  std::string list = "3.0\r\n";
  for (int i = 10; i < 50; ++i) list += source + "\\f" + std::to_string(i) + "\r\n1\r\n1\r\n";
  Write(MirrorPath(backupFolder, "") + "\\Config.txt", list);
  ui::TMainForm& f = Form();
  // Forty entries bring the vertical scroll bar; the columns still fit at the design width.
  auto scrollsSideways = [&] { return (GetWindowLongW(f.select_.StringGrid.Handle(), GWL_STYLE) & WS_HSCROLL) != 0; };
  ASSERT_TRUE(GetWindowLongW(f.select_.StringGrid.Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(scrollsSideways());
  auto pathColumn = [&] { return ListView_GetColumnWidth(f.select_.StringGrid.Handle(), 0); };
  const int designColumn = pathColumn();
  EXPECT_NEAR(designColumn, f.Scale(530 - 177 - 98), 2);
  RECT r;
  GetWindowRect(f.Handle(), &r);
  auto place = [](const ui::Control& c) {
    RECT at;
    GetWindowRect(c.Handle(), &at);
    return at;
  };
  // Which edges go with the window's right edge; those inside the backup-folder box go with it once.
  struct Follows {
    const ui::Control* control;
    bool left, right;
  };
  const Follows controls[] = {{&f.select_.SubDirBtn, true, true},
                              {&f.select_.DestGroupBox, false, true},
                              {&f.select_.UserBackupFolderEdit, false, true},
                              {&f.select_.InfoBtn, false, false},
                              {&f.select_.ChangeBtn, true, true}};
  std::vector<RECT> before;
  for (const Follows& c : controls) before.push_back(place(*c.control));
  SetWindowPos(f.Handle(), nullptr, 0, 0, f.Scale(700), r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  const LONG widened = f.Scale(700) - (r.right - r.left);
  for (size_t i = 0; i < std::size(controls); ++i) {
    const RECT now = place(*controls[i].control);
    EXPECT_EQ(now.left - before[i].left, controls[i].left ? widened : 0) << controls[i].control->Text();
    EXPECT_EQ(now.right - before[i].right, controls[i].right ? widened : 0) << controls[i].control->Text();
  }
  // The path column widens with the window and narrows as the splitter moves right.
  EXPECT_EQ(pathColumn(), designColumn + f.Scale(700 - 530));
  f.SplitterMoved(250);
  EXPECT_EQ(pathColumn(), designColumn + f.Scale(700 - 530) - f.Scale(250 - 177));
  EXPECT_FALSE(scrollsSideways());
}

TEST_F(SelectPageTest, OpeningTheWindowOnTheLogPageShowsTheNewestLine) {
  PrepareStore();
  ui::TMainForm& f = Form();
  f.ConfigureClick();
  f.Pages.SetActivePage(ui::kLogPage);
  for (int i = 0; i < 60; ++i) f.Logic.Log().AddLine("line " + std::to_string(i), false);
  auto firstShown = [&] { return SendMessageW(f.log_.RichEdit.Handle(), EM_GETFIRSTVISIBLELINE, 0, 0); };
  SendMessageW(f.log_.RichEdit.Handle(), WM_VSCROLL, SB_TOP, 0);  // the user scrolled up
  ASSERT_EQ(firstShown(), 0);
  f.ConfigureClick();  // the tray icon clicked while the window is open on the Log page
  EXPECT_GT(firstShown(), 30);
}

TEST_F(SelectPageTest, PrintRunsOnToNewPagesAndNoPrinterIsSaid) {
  // Pages of a memory device the size of a small page: every line fits once, in order.
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP page = CreateCompatibleBitmap(dc, 400, 300);
  SelectObject(dc, page);
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  const int perPage = 300 / metrics.tmHeight;
  int newPages = 0;
  const Lines lines(perPage * 2 + 1, "\t\tline");
  EXPECT_EQ(ui::LayOutPages(dc, {0, 0, 400, 300}, lines, [&] { return ++newPages, true; }), 3);
  EXPECT_EQ(newPages, 2);
  // A line too wide runs over more text lines; taller than a page, it runs on over pages of two
  // text lines each, and the next line takes the room it leaves.
  const std::wstring w(400, L'w');
  RECT box{0, 0, 400, 0};
  DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &box, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT);
  const int textLines = box.bottom / metrics.tmHeight;
  ASSERT_GE(textLines, 4);
  newPages = 0;
  EXPECT_EQ(ui::LayOutPages(dc, {0, 0, 400, metrics.tmHeight * 2}, Lines{std::string(400, 'w'), "next"},
                            [&] { return ++newPages, true; }),
            (textLines + 1 + 1) / 2);
  EXPECT_EQ(newPages, (textLines + 1 + 1) / 2 - 1);
  DeleteDC(dc);
  DeleteObject(page);

  PrepareStore();
  ui::TMainForm& f = Form();
  f.ClearLogBtnClick();
  boxes.Answer(kIdOk);
  f.log_.PrintBtn.Click();  // an empty log goes to no printer: a blank page would tell nothing
  ASSERT_EQ(boxes.asked.size(), 1u);
  EXPECT_EQ(boxes.asked[0].text, "The log is empty: there is nothing to print.");
  EXPECT_EQ(boxes.asked[0].style, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));
  f.BackupNowBtnClick();
  const std::string before = LastLogLine();
  boxes.Answer(kIdOk);
  f.log_.PrintBtn.Click();  // the test machine has no printer
  ASSERT_EQ(boxes.asked.size(), 2u);
  EXPECT_EQ(boxes.asked[1].text, "No printer is installed.");
  EXPECT_EQ(boxes.asked[1].style, static_cast<unsigned>(MB_OK | MB_ICONHAND));
  EXPECT_EQ(LastLogLine(), before);
  boxes.Answer(kIdOk);
  f.log_.SetupPrinterBtn.Click();
  ASSERT_EQ(boxes.asked.size(), 3u);
  EXPECT_EQ(boxes.asked[2].text, "No printer is installed.");
}

}  // namespace
}  // namespace vh::test
