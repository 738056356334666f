#include "log/message_log.h"

#include <gtest/gtest.h>

#include "fake_system.h"

namespace vh::test {
namespace {

class MessageLogTest : public ::testing::Test {
 protected:
  MessageLogTest() {
    sys.files.AddDrive("E:");
    log.SetFileName(logFile);
  }
  std::vector<std::string> FileLines() { return SplitLines(sys.files.Content(logFile)); }
  static std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
      lines.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return lines;
  }

  FakeSystem sys;
  FakeTextPage page;
  TMessageLog log{page};
  const std::string root = "E:\\B\\$VH_BKS$\\PC1\\joe";
  const std::string logFile = root + "\\Log.txt";
};

TEST_F(MessageLogTest, FirstHeadingCreatesTheFileWithItsFolders) {
  log.AddLine("Restore initiated.", true);
  log.AddLine("User cancelled operation.", false);
  const std::vector<std::string> expected{"", "12/7/1999 10:15:32 AM  Restore initiated.",
                                          "\t\tUser cancelled operation."};
  EXPECT_EQ(page.lines, expected);
  EXPECT_EQ(FileLines(), expected);
  EXPECT_EQ(sys.files.Content(logFile).substr(0, 2), "\r\n");
  EXPECT_EQ(page.scrolls, 2);
}

TEST_F(MessageLogTest, StampLeavesOutTheTimeAtMidnight) {
  sys.locale.now = {2026, 1, 2, 0, 0, 0, 500};
  log.AddLine("a", true);
  sys.locale.now = {2026, 1, 2, 0, 0, 1, 0};
  log.AddLine("b", true);
  EXPECT_EQ(page.lines[1], "1/2/2026  a");
  EXPECT_EQ(page.lines[3], "1/2/2026 12:00:01 AM  b");
}

TEST_F(MessageLogTest, LinesAreCutTo126CharactersWithoutSplittingOne) {
  log.AddLine(std::string(130, 'x'), false);
  EXPECT_EQ(page.lines[0], "\t\t" + std::string(124, 'x'));
  std::string wide;
  for (int i = 0; i < 130; ++i) wide += "é";
  log.AddLine(wide, false);
  EXPECT_EQ(page.lines[1], "\t\t" + wide.substr(0, 124 * 2));
}

TEST_F(MessageLogTest, TrimmingRemovesWholeEntriesFromTheTop) {
  log.AddLine("first", true);
  for (int i = 0; i < 3; ++i) log.AddLine("old detail", false);
  log.AddLine("second", true);
  while (page.lines.size() < 200) log.AddLine("detail", false);
  EXPECT_EQ(page.lines.size(), 200u);
  log.AddLine("the 201st", false);
  // The first entry (empty line, heading, three details) went whole.
  ASSERT_EQ(page.lines.size(), 196u);
  EXPECT_EQ(page.lines[0], "");
  EXPECT_EQ(page.lines[1], "12/7/1999 10:15:32 AM  second");
  EXPECT_EQ(page.lines.back(), "\t\tthe 201st");
  EXPECT_EQ(FileLines(), page.lines);
}

TEST_F(MessageLogTest, AnEntryGrowingPastTheLimitRemovesItself) {
  log.AddLine("only", true);
  while (page.lines.size() < 200) log.AddLine("detail", false);
  log.AddLine("one too many", false);
  EXPECT_TRUE(page.lines.empty());
  EXPECT_EQ(sys.files.Content(logFile), "");
  log.AddLine("next", false);
  EXPECT_EQ(page.lines, std::vector<std::string>{"\t\tnext"});
}

TEST_F(MessageLogTest, DisabledLogChangesNothingButClearStillClears) {
  log.AddLine("kept", true);
  const std::string before = sys.files.Content(logFile);
  log.Disable();
  log.AddLine("dropped", true);
  log.AddLine("dropped", false);
  EXPECT_EQ(page.lines.size(), 2u);
  EXPECT_EQ(sys.files.Content(logFile), before);
  log.Clear();
  EXPECT_TRUE(page.lines.empty());
  EXPECT_FALSE(sys.files.Exists(logFile));
  log.Enable();
  log.AddLine("again", true);
  EXPECT_EQ(FileLines().size(), 2u);  // the file comes back
}

TEST_F(MessageLogTest, DetachedLogKeepsLinesOnThePageOnly) {
  FakeTextPage detachedPage;
  TMessageLog detached(detachedPage);
  detached.AddLine("heading", true);
  detached.Clear();  // no file: nothing changes, no box
  EXPECT_EQ(detachedPage.lines.size(), 2u);
  EXPECT_TRUE(sys.boxes.asked.empty());
  EXPECT_TRUE(sys.files.PathsBelow("E:").empty());
}

TEST_F(MessageLogTest, UnreachableDriveKeepsLinesUntilTheNextSave) {
  sys.files.Unplug("E:");
  log.AddLine("while away", true);
  EXPECT_TRUE(sys.boxes.asked.empty());
  sys.files.Plug("E:");
  log.AddLine("back", false);
  EXPECT_EQ(FileLines(), page.lines);
  EXPECT_EQ(page.lines.size(), 3u);
}

TEST_F(MessageLogTest, ClearAsksForAMissingDriveAndCancelKeepsEverything) {
  log.AddLine("kept", true);
  sys.files.Unplug("E:");
  sys.boxes.Answer(kIdCancel);
  log.Clear();
  ASSERT_EQ(sys.boxes.asked.size(), 1u);
  EXPECT_EQ(sys.boxes.asked[0].text, "Backup drive (E:) not accessible.");
  EXPECT_EQ(sys.boxes.asked[0].style, 53u);
  EXPECT_EQ(page.lines.size(), 2u);
  sys.files.Plug("E:");
  EXPECT_TRUE(sys.files.Exists(logFile));
}

TEST_F(MessageLogTest, UnwritableFileLeavesTheOldCopyAndGoesOn) {
  log.AddLine("one", true);
  const std::string before = sys.files.Content(logFile);
  sys.files.DiskFullAfter("E:", 5);
  log.AddLine("two", false);
  EXPECT_EQ(sys.files.Content(logFile), before);
  EXPECT_EQ(page.lines.size(), 3u);
}

TEST_F(MessageLogTest, LoadLogAttachesAnExistingFileOnly) {
  FakeTextPage other;
  TMessageLog fresh(other);
  EXPECT_FALSE(LoadLog(fresh, "E:\\B"));
  EXPECT_EQ(fresh.FileName(), "");
  fresh.AddLine("page only", true);
  EXPECT_FALSE(sys.files.Exists(logFile));

  sys.files.AddFile(logFile, "\r\n1/1/2000  old\r\n\t\tdetail caf\xE9\r\n");
  EXPECT_TRUE(LoadLog(fresh, "E:\\B\\"));
  EXPECT_EQ(fresh.FileName(), logFile);
  EXPECT_EQ(other.lines, (std::vector<std::string>{"", "1/1/2000  old", "\t\tdetail café"}));
}

TEST_F(MessageLogTest, NewFileNameGetsTheWholePageAtTheNextLine) {
  log.AddLine("in the old store", true);
  const std::string newLog = "E:\\New\\$VH_BKS$\\PC1\\joe\\Log.txt";
  sys.files.AddFile(newLog, "older content\r\n");
  log.SetFileName(newLog);
  log.AddLine("Backup folder selected as E:\\New", true);
  EXPECT_EQ(SplitLines(sys.files.Content(newLog)), page.lines);
  EXPECT_EQ(page.lines.size(), 4u);
}

}  // namespace
}  // namespace vh::test
