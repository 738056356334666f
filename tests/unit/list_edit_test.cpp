#include "control/list_edit.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "control/page_layout.h"
#include "control/scheduler.h"
#include "operations_fixture.h"

namespace vh::test {
namespace {

// The window as the list edits see it, recording what they asked of it.
class FakeSelectPage : public SelectPageView {
 public:
  std::string BackupFolder() const override { return "E:\\B"; }
  std::string SelectedTreePath() override { return selected; }
  void MarkPath(const std::string& path) override { marks.push_back("+" + path); }
  void UnmarkPath(const std::string& path) override { marks.push_back("-" + path); }
  void RefreshBranchOf(const std::string& path) override { refreshed.push_back(path); }
  void ShowList() override { ++shown; }
  int CurrentRow() const override { return row; }
  void SetCurrentRow(int r) override { row = r; }
  BusyCode CurrentBusyState() const override { return busy.empty() ? kIdle : static_cast<BusyCode>(busy.back()); }
  void SetBusyState(BusyCode code) override { busy.push_back(code); }
  bool QuietOperations() const override { return true; }
  RunResult RemoveEntryBackups(const TSourceList& list, int index, bool, TMessageLog&) override {
    return Remove(list.Item(index)->Path);
  }
  RunResult RemoveSubfolderBackups(const std::string& mirror, bool, TMessageLog&) override { return Remove(mirror); }
  RunResult Remove(const std::string& path) {
    removed.push_back(path);
    if (throws) throw std::runtime_error("the platform failed");
    return result;
  }
  void SaveBackupList(bool askForDrive) override {
    saves.push_back(askForDrive);
    if (onSave) onSave();
  }

  std::string selected;
  int row = 1, shown = 0;
  RunResult result = RunResult::Done;
  std::vector<bool> saves;  // whether each save could ask for the drive
  bool throws = false;
  std::function<void()> onSave;  // what the save did to the list (a list file read at last)
  std::vector<std::string> marks, refreshed, removed;
  std::vector<int> busy;
};

class ListEditTest : public OperationsTest {
 protected:
  ListEditTest() {
    sys.files.AddFolder("C:\\Docs");
    sys.files.AddFile("C:\\a.txt");
    sys.files.AddFolder("E:\\B");
  }
  void Add(const std::string& path) {
    page.selected = path;
    AddSelection(list, log, page);
  }
  FakeSelectPage page;
  TSourceList list;
};

TEST_F(ListEditTest, AddMakesFolderAndFileEntries) {
  Add("C:\\Docs");
  Add("C:\\a.txt");
  Add("C:");
  Add("C:\\Docs");  // again: nothing more
  Add("");          // nothing selected
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Item(0)->Path, "C:");
  EXPECT_TRUE(list.Item(0)->Subs);
  EXPECT_EQ(list.Item(2)->Path, "C:\\a.txt");
  EXPECT_FALSE(list.Item(2)->Subs);
  EXPECT_EQ(list.Item(2)->IsFolder, 0);
  EXPECT_EQ(LogTexts(), (Lines{"# The following folder was added to the backup list:", "C:\\Docs  (incl. sub-folders)",
                               "# The following file was added to the backup list:", "C:\\a.txt",
                               "# The following folder was added to the backup list:", "C:  (incl. sub-folders)"}));
  EXPECT_EQ(page.marks, (Lines{"+C:\\Docs", "+C:\\a.txt", "+C:"}));
  EXPECT_EQ(page.row, 1);  // C: went first
  EXPECT_EQ(page.shown, 4);
  EXPECT_EQ(page.saves, std::vector<bool>(3, false));  // each new entry at once, without a box
}

TEST_F(ListEditTest, AddRefusesWhatIsGoneOrLeavesTheStore) {
  Add("C:\\Gone");
  Add("C:\\Docs\\..\\..");
  Add("Docs");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(page.refreshed, Lines{"C:\\Gone"});
  EXPECT_EQ(LogTexts(),
            (Lines{"# WARNING: The following file or folder no longer exists and was not added to the backup list:",
                   "C:\\Gone", "# WARNING: The following path cannot be backed up and was not added to the backup list:",
                   "C:\\Docs\\..\\..", "# WARNING: The following path cannot be backed up and was not added to the backup list:",
                   "Docs"}));
}

TEST_F(ListEditTest, RemoveAsksThenRemovesOrKeeps) {
  Add("C:\\Docs");
  Add("C:\\a.txt");
  page.marks.clear();
  page.saves.clear();
  page.row = 2;
  struct Case {
    int answer;
    RunResult result;
    int okAnswer;
    int countAfter;
  };
  // No; cancelled in the progress window; could not remove and Cancel; could not remove and OK.
  for (const Case& c :
       {Case{kIdNo, RunResult::Done, 0, 2}, Case{kIdYes, RunResult::Cancelled, 0, 2},
        Case{kIdYes, RunResult::Incomplete, kIdCancel, 2}, Case{kIdYes, RunResult::Incomplete, kIdOk, 1}}) {
    sys.boxes.Answer(c.answer);
    if (c.okAnswer) sys.boxes.Answer(c.okAnswer);
    page.result = c.result;
    RemoveSelectedEntry(list, log, page);
    EXPECT_EQ(list.Count(), c.countAfter);
    EXPECT_TRUE(page.busy.empty() || page.busy.back() == kIdle);
  }
  EXPECT_EQ(sys.boxes.asked.at(0).text, "This will remove any previous backups of the selected file or folder.\nIs this OK?");
  EXPECT_EQ(sys.boxes.asked.at(0).style, 0x124u);
  EXPECT_EQ(sys.boxes.asked.at(3).text,
            "Vesperhollow could not remove associated backups. Press OK to continue operation.");
  EXPECT_EQ(sys.boxes.asked.at(3).style, 0x131u);
  EXPECT_EQ(page.removed, (Lines{"C:\\a.txt", "C:\\a.txt", "C:\\a.txt"}));
  EXPECT_EQ(page.marks, Lines{"-C:\\a.txt"});
  EXPECT_EQ(page.busy, (std::vector<int>{5, 0, 5, 0, 5, 0}));
  EXPECT_EQ(page.saves, std::vector<bool>{false});  // only the removal that happened, without a box
  const Lines texts = LogTexts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "User cancelled operation."), 2);

  list.Clear();
  RemoveSelectedEntry(list, log, page);  // an empty list asks nothing
  EXPECT_EQ(sys.boxes.asked.size(), 6u);
}

// Entries of a list file read late (by the save after an Add, or by a timed backup under the
// Remove question) come in ahead of the one the user picked: the edit still acts on that one.
TEST_F(ListEditTest, EditsFollowTheirEntryWhenTheListFileIsReadUnderThem) {
  const auto readLate = [&] { list.AddAll({TSource("C:\\A", true, 1), TSource("C:\\B", true, 1)}); };
  page.onSave = readLate;
  Add("C:\\Docs");
  page.onSave = nullptr;
  EXPECT_EQ(page.row, 3);
  list.Add("C:\\Z", false, 0);
  list.Delete(list.IndexOf("C:\\A"));
  list.Delete(list.IndexOf("C:\\B"));
  page.row = 1;  // C:\Docs
  sys.boxes.Answer(kIdYes, readLate);
  RemoveSelectedEntry(list, log, page);
  EXPECT_EQ(page.removed, Lines{"C:\\Docs"});
  EXPECT_EQ(list.IndexOf("C:\\Docs"), -1);
  EXPECT_EQ(list.Count(), 3);
}

TEST_F(ListEditTest, SubFoldersOffAsksAndSavesOnDoesNot) {
  Add("C:\\Docs");
  page.row = 1;
  sys.boxes.Answer(kIdNo);
  ToggleSubfolders(list, log, page);
  EXPECT_TRUE(list.Item(0)->Subs);
  page.result = RunResult::Incomplete;  // never backed up: nothing to remove
  sys.boxes.Answer(kIdYes);
  sys.boxes.Answer(kIdOk);
  ToggleSubfolders(list, log, page);
  EXPECT_FALSE(list.Item(0)->Subs);
  EXPECT_EQ(sys.boxes.asked.at(1).text, "This will remove any previous backups of the selected sub-folder\nIs this OK?");
  EXPECT_EQ(sys.boxes.asked.at(2).text,
            "Vesperhollow could not remove all sub-folder backups. Press OK to continue operation.");
  EXPECT_EQ(page.removed, Lines{"E:\\B\\$VH_BKS$\\PC1\\joe\\C\\Docs"});
  ToggleSubfolders(list, log, page);  // on again: no question
  EXPECT_TRUE(list.Item(0)->Subs);
  EXPECT_EQ(sys.boxes.asked.size(), 3u);
  EXPECT_EQ(page.saves, (std::vector<bool>{false, true, true}));  // the add, then each toggle
  const Lines texts = LogTexts();
  EXPECT_EQ(Lines(texts.end() - 4, texts.end()),
            (Lines{"# Sub-folder backup removal initiated for the following folder:", "C:\\Docs",
                   "# Sub-folders of the following folder to be included for backup:", "C:\\Docs"}));
}

TEST_F(ListEditTest, ARemovalThatThrowsLeavesTheWindowIdleAndTheEntryAsItWas) {
  Add("C:\\Docs");
  page.throws = true;
  sys.boxes.Answer(kIdYes);
  EXPECT_THROW(RemoveSelectedEntry(list, log, page), std::runtime_error);
  sys.boxes.Answer(kIdYes);
  EXPECT_THROW(ToggleSubfolders(list, log, page), std::runtime_error);
  EXPECT_EQ(page.busy, (std::vector<int>{5, 0, 5, 0}));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_TRUE(list.Item(0)->Subs);
  EXPECT_EQ(page.saves, std::vector<bool>{false});  // the add's only
}

TEST_F(ListEditTest, SubFolderButtonAndLayout) {
  EXPECT_EQ(SubDirButtonFor(list, 1).caption, "Subs");
  EXPECT_FALSE(SubDirButtonFor(list, 1).enabled);
  Add("C:\\Docs");
  Add("C:\\a.txt");
  EXPECT_EQ(SubDirButtonFor(list, 1).caption, "No Subs");
  EXPECT_TRUE(SubDirButtonFor(list, 1).enabled);
  EXPECT_FALSE(SubDirButtonFor(list, 2).enabled);  // a file entry
  list.Item(0)->Subs = false;
  EXPECT_EQ(SubDirButtonFor(list, 1).caption, "Subs");
  EXPECT_FALSE(SubDirButtonFor(list, 0).enabled);  // the heading row

  // The path column narrows as the splitter moves right.
  EXPECT_EQ(ListColumnWidth(530, 177), 255);
  EXPECT_EQ(ListColumnWidth(530, 250), 182);
  EXPECT_EQ(ClampSplitter(5, 514), kMinPaneWidth);
  EXPECT_EQ(ClampSplitter(600, 514), 514 - kSplitterWidth - kMinPaneWidth);
}

}  // namespace
}  // namespace vh::test
