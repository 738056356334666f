#include "log/message_log.h"

#include <gtest/gtest.h>

#include "common/text_lines.h"
#include "fake_system.h"

namespace vh::test {
namespace {

class MessageLogTest : public ::testing::Test {
 protected:
  MessageLogTest() {
    sys.files.AddDrive("E:");
    log.SetFileName(logFile);
  }
  // The file's lines, each of which must end with CR LF.
  std::vector<std::string> FileLines(const std::string& file) {
    const std::string text = sys.files.Content(file);
    const std::vector<std::string> lines = SplitLines(text);
    EXPECT_EQ(JoinLines(lines), text);
    return lines;
  }
  std::vector<std::string> FileLines() { return FileLines(logFile); }

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

// A batch keeps its lines from the file only for a few seconds, and a flush (the process about to
// end inside a run) writes them at once.
TEST_F(MessageLogTest, ABatchWritesAfterAFewSecondsAndAtAFlush) {
  log.AddLine("Backup initiated.", true);
  const TMessageLog::Batch batch(log);
  log.AddLine("C:\\Docs", false);
  EXPECT_EQ(FileLines().size(), 2u);
  sys.locale.now.second += 2;
  log.AddLine("C:\\Mail", false);
  EXPECT_EQ(FileLines().size(), 4u);
  log.AddLine("WARNING: Backup cut short by log-off.", false);
  log.Flush();
  EXPECT_EQ(FileLines(), page.lines);
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

TEST_F(MessageLogTest, AFileThatCannotBeWrittenIsToldOnceKeptWholeAndCaughtUp) {
  log.AddLine("one", true);
  const std::string before = sys.files.Content(logFile);
  sys.files.FailOpen(logFile);  // held open by another program
  log.AddLine("two", false);
  log.AddLine("three", false);
  EXPECT_EQ(sys.files.Content(logFile), before);
  EXPECT_EQ(page.lines, (std::vector<std::string>{"", "12/7/1999 10:15:32 AM  one", "\t\ttwo", kLogNotWritten,
                                                  "\t\tthree"}));
  sys.files.ReleaseOpen(logFile);
  log.AddLine("four", false);
  EXPECT_EQ(FileLines(), page.lines);

  // A nearly full disk has no room for a second copy, but the new line still reaches the end.
  sys.files.DiskFullAfter("E:", 20);
  log.AddLine("disk full", false);
  EXPECT_EQ(sys.files.Content(logFile), JoinLines(page.lines));
  sys.files.DiskFullAfter("E:", 0);
  log.AddLine("no room at all", false);
  EXPECT_EQ(page.lines.back(), kLogNotWritten);
  EXPECT_EQ(FileLines().back(), "\t\tdisk full");
}

TEST_F(MessageLogTest, AttachPutsTheLastLinesOfTheFileBeforeThePage) {
  log.SetFileName("");
  log.AddLine("before the drive came", true);
  std::string huge(3'000'000, 'x');  // a damaged start: one line of 3 MB, nulls and all
  huge[2'999'990] = '\0';
  huge += "\r\n";
  for (int i = 0; i < 1000; ++i) huge += "\r\n1/1/2000  entry " + std::to_string(i) + "\r\n\t\tdetail " + std::to_string(i) + "\r\n";
  sys.files.AddFile(logFile, huge);
  ASSERT_TRUE(LoadLog(log, "E:\\B"));
  // The last 200 lines of the file, less the part entry that makes room for the page's own.
  ASSERT_EQ(page.lines.size(), 200u);
  EXPECT_EQ(page.lines[1], "1/1/2000  entry 934");
  EXPECT_EQ(page.lines[197], "\t\tdetail 999");
  EXPECT_EQ(page.lines[199], "12/7/1999 10:15:32 AM  before the drive came");
  log.AddLine("next", false);
  EXPECT_EQ(FileLines(), page.lines);
}

TEST_F(MessageLogTest, AFileThatCouldNotBeReadIsNeverWrittenOverUnread) {
  sys.files.AddFile(logFile, "\r\n1/1/2000  old\r\n");
  sys.files.FailOpen(logFile);
  ASSERT_TRUE(LoadLog(log, "E:\\B"));
  log.AddLine("new", true);
  EXPECT_EQ(sys.files.Content(logFile), "\r\n1/1/2000  old\r\n");
  EXPECT_EQ(page.lines.back(), kLogNotWritten);
  // Nor when, after that, it only could not be looked at for a moment (a network hiccup).
  sys.files.beforeCall = [&](const std::string& call, const std::string& path) {
    call == "Attributes" && path == logFile ? sys.files.Unplug("E:") : sys.files.Plug("E:");
  };
  log.AddLine("unseen", false);
  sys.files.beforeCall = nullptr;
  EXPECT_EQ(sys.files.Content(logFile), "\r\n1/1/2000  old\r\n");
  sys.files.ReleaseOpen(logFile);
  log.AddLine("later", false);
  EXPECT_EQ(FileLines(), (std::vector<std::string>{"", "1/1/2000  old", "", "12/7/1999 10:15:32 AM  new",
                                                   kLogNotWritten, "\t\tunseen", "\t\tlater"}));
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
  EXPECT_EQ(other.lines, (std::vector<std::string>{"", "1/1/2000  old", "\t\tdetail café", "",
                                                   "12/7/1999 10:15:32 AM  page only"}));
}

TEST_F(MessageLogTest, NewFileNameGetsTheWholePageAtTheNextLine) {
  log.AddLine("in the old store", true);
  const std::string newLog = "E:\\New\\$VH_BKS$\\PC1\\joe\\Log.txt";
  sys.files.AddFile(newLog, "older content\r\n");
  log.SetFileName(newLog);
  log.AddLine("Backup folder selected as E:\\New", true);
  EXPECT_EQ(FileLines(newLog), page.lines);
  EXPECT_EQ(page.lines.size(), 4u);
}

}  // namespace
}  // namespace vh::test
