#include "control/versions_dialog.h"

#include <gtest/gtest.h>

#include "fake_system.h"

namespace vh::test {
namespace {

class VersionsDialogTest : public ::testing::Test {
 protected:
  VersionsDialogTest() { sys.files.AddDrive("E:"); }
  FakeSystem sys;
  const std::string versions = "E:\\B\\$VH_BKS$\\PC1\\joe\\$VH_VER$";
};

TEST_F(VersionsDialogTest, SummaryCountsTheRunFoldersFilesAndTheFolderRoom) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, size_t>> files;  // below the versions folder, with their sizes
    const char* text;
  };
  const Case cases[] = {
      {"no versions folder", {}, "No earlier versions are kept yet."},
      {"only what is no run folder's", {{"notes\\a.txt", 10}}, "No earlier versions are kept yet."},
      {"one run",
       {{"2026-12-08 2315\\C\\Docs\\a.doc", 1000}},
       "Versions kept: 1 file\nFrom: 12/8/2026 11:15:00 PM\nTo: 12/8/2026 11:15:00 PM\nRoom they take: 1,000 bytes"},
      // Oldest and newest by the folders' names; the room is the whole folder's, as the size report counts it.
      {"runs out of order",
       {{"2026-12-09 0300 restore\\C\\a", 512},
        {"2026-12-01 0905\\C\\b", 512},
        {"2026-12-01 0905\\D\\deep\\c", 512},
        {"notes\\d", 512}},
       "Versions kept: 3 files\nFrom: 12/1/2026 9:05:00 AM\nTo: 12/9/2026 3:00:00 AM\nRoom they take: 2 KB (2,048 bytes)"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string folder = "E:\\B" + std::to_string(++n);  // a backup folder of each case's own
    for (const auto& [path, size] : c.files) {
      sys.files.AddFile(folder + "\\$VH_BKS$\\PC1\\joe\\$VH_VER$\\" + path, std::string(size, 'x'));
    }
    EXPECT_EQ(VersionsSummaryText(SummariseVersions(folder)), c.text) << c.name;
  }
}

TEST(KeepDaysEntryTest, WholeDaysWithinTheRangeAreTakenAndAnythingElseIsExplained) {
  const struct {
    const char* typed;
    std::optional<int> days;
  } cases[] = {
      {"0", 0}, {"30", 30}, {" 7 ", 7}, {"0090", 90}, {"3650", 3650},
      {"", std::nullopt}, {"3651", std::nullopt}, {"-1", std::nullopt}, {"1.5", std::nullopt},
      {"seven", std::nullopt}, {"99999999999999999999", std::nullopt}, {"30 days", std::nullopt},
  };
  for (const auto& c : cases) {
    const KeepDaysEntry entry = ReadKeepDays(c.typed);
    EXPECT_EQ(entry.days, c.days) << c.typed;
    // A refusal says what is wanted; a value taken needs no words.
    EXPECT_EQ(entry.message.empty(), c.days.has_value()) << c.typed;
  }
}

TEST_F(VersionsDialogTest, OpenFolderOpensTheVersionsFolderOnlyWhenThereIsOne) {
  for (const char* backupFolder : {"E:\\B", ""}) {  // no versions yet; no backup folder chosen yet
    std::string message;
    EXPECT_EQ(VersionsFolderToOpen(backupFolder, message), "");
    EXPECT_NE(message, "") << backupFolder;
  }
  sys.files.AddFolder(versions);
  std::string message;
  EXPECT_EQ(VersionsFolderToOpen("E:\\B", message), versions);
}

}  // namespace
}  // namespace vh::test
