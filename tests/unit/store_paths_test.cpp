#include "store/store_paths.h"

#include <gtest/gtest.h>

#include "fake_system.h"

namespace vh::test {
namespace {

class StorePathsTest : public ::testing::Test {
 protected:
  FakeSystem sys;
  const std::string root = "E:\\Backups\\$VH_BKS$\\PC1\\joe";
};

TEST_F(StorePathsTest, MirrorPathPlacesSourcesBelowTheStoreRoot) {
  EXPECT_EQ(MirrorPath("E:\\Backups", "C:\\Docs\\a.txt"), root + "\\C\\Docs\\a.txt");
  EXPECT_EQ(MirrorPath("E:\\Backups\\", "C:\\Docs"), root + "\\C\\Docs");
  EXPECT_EQ(MirrorPath("E:\\", "D:\\Work"), "E:\\$VH_BKS$\\PC1\\joe\\D\\Work");
  EXPECT_EQ(MirrorPath("E:\\Backups", ""), root);
  EXPECT_EQ(MirrorPath("E:\\Backups\\", ""), root);
  EXPECT_EQ(MirrorPath("", "C:\\Docs"), "");
  EXPECT_EQ(MirrorPath("E:\\Backups", "C:\\"), root + "\\C\\");
  EXPECT_EQ(MirrorPath("E:\\Backups", "c:\\MiXed\\Case"), root + "\\c\\MiXed\\Case");
}

TEST_F(StorePathsTest, SourcePathOfReversesMirrorPath) {
  EXPECT_EQ(SourcePathOf("E:\\Backups", root + "\\C"), "C:");
  EXPECT_EQ(SourcePathOf("E:\\Backups\\", root + "\\C\\Docs"), "C:\\Docs");
  for (const std::string source : {"C:\\Docs\\a.txt", "D:", "C:\\", "Z:\\deep\\er\\f.x", "C:\\Ünïcode\\ファイル"}) {
    for (const std::string folder : {"E:\\Backups", "E:\\Backups\\", "E:\\"}) {
      EXPECT_EQ(SourcePathOf(folder, MirrorPath(folder, source)), source) << folder << " " << source;
    }
  }
}

TEST_F(StorePathsTest, PathsThatCouldLeadOutsideTheStoreMapToNothing) {
  for (const std::string bad :
       {"C:\\..", "D:\\data\\..\\..\\outside", "C:\\.", "C:\\a\\.\\b", "Docs\\x", "\\\\srv\\share\\x",
        "\\Docs", "C:Docs", "C:\\a\\\\b", "C:\\\\", "C:\\a:stream", "C:\\a/../../x", "C:\\*", "1:\\x", "C"}) {
    EXPECT_FALSE(IsStorablePath(bad)) << bad;
    EXPECT_EQ(MirrorPath("E:\\Backups", bad), "") << bad;
  }
  EXPECT_EQ(SourcePathOf("E:\\Backups", root + "\\C\\..\\x"), "");
  EXPECT_EQ(SourcePathOf("E:\\Backups", root), "");
  EXPECT_EQ(SourcePathOf("E:\\Backups", "E:\\Elsewhere\\C\\x"), "");
  EXPECT_EQ(SourcePathOf("E:\\Backups", root + "\\$VH_TMP$\\x"), "");
  EXPECT_TRUE(IsStorablePath("C:\\Docs\\"));
  for (const std::string literal : {"C:\\..data\\.profile\\console.log.txt", "C:\\NUL", "C:\\d\\com1.txt", "C:\\a\\b.",
                                   "C:\\a \\b"}) {
    EXPECT_TRUE(IsStorablePath(literal)) << literal;  // taken literally behind the long-path prefix
  }
}

TEST_F(StorePathsTest, EachComputerAndUserHasItsOwnStoreRoot) {
  const std::string joeOnPc1 = MirrorPath("E:\\B", "");
  sys.identity.user = "ann";
  const std::string annOnPc1 = MirrorPath("E:\\B", "");
  sys.identity.computer = "PC2";
  sys.identity.user = "joe";
  const std::string joeOnPc2 = MirrorPath("E:\\B", "");
  EXPECT_NE(joeOnPc1, annOnPc1);
  EXPECT_NE(joeOnPc1, joeOnPc2);
  EXPECT_EQ(annOnPc1, "E:\\B\\$VH_BKS$\\PC1\\ann");
}

TEST_F(StorePathsTest, NamesAreUsedWholeAndMadeFitForAFolder) {
  sys.identity.computer = "A-VERY-LONG-COMPUTER-NAME";
  sys.identity.user = "someone with a long name";
  EXPECT_EQ(MirrorPath("E:", ""), "E:\\$VH_BKS$\\A-VERY-LONG-COMPUTER-NAME\\someone with a long name");
  EXPECT_EQ(FolderSafeName("dom\\joe"), "dom_joe");
  EXPECT_EQ(FolderSafeName("a:b*c?d\"e<f>g|h/i"), "a_b_c_d_e_f_g_h_i");
  EXPECT_EQ(FolderSafeName("joe."), "joe_");
  EXPECT_EQ(FolderSafeName("joe. "), "joe__");
  EXPECT_EQ(FolderSafeName(".."), "__");
  EXPECT_EQ(FolderSafeName(""), "_");
  EXPECT_EQ(FolderSafeName("con"), "con_");
  EXPECT_EQ(FolderSafeName("LPT1"), "LPT1_");
  EXPECT_EQ(FolderSafeName("Console"), "Console");
  EXPECT_EQ(FolderSafeName("Zoë"), "Zoë");
  sys.identity.user = "";  // the system could not tell
  EXPECT_EQ(MirrorPath("E:", ""), "E:\\$VH_BKS$\\A-VERY-LONG-COMPUTER-NAME\\_");
}

TEST_F(StorePathsTest, DrivePartOfDriveNetworkAndRelativePaths) {
  EXPECT_EQ(DrivePart("C:\\Docs"), "C:");
  EXPECT_EQ(DrivePart("C:"), "C:");
  EXPECT_EQ(DrivePart("\\\\srv\\data\\x"), "\\\\srv\\data");
  EXPECT_EQ(DrivePart("\\\\srv\\data"), "\\\\srv\\data");
  EXPECT_EQ(DrivePart("\\\\srv"), "\\\\srv");
  EXPECT_EQ(DrivePart("Docs\\x"), "");
  EXPECT_EQ(DrivePart("C"), "");
}

TEST_F(StorePathsTest, ForceFoldersCreatesMissingParentsInOrder) {
  sys.files.AddDrive("E:");
  std::vector<std::string> created;
  sys.files.beforeCall = [&](const std::string& call, const std::string& path) {
    if (call == "CreateFolder") created.push_back(path);
  };
  ForceFolders("E:\\a\\b\\c\\");
  EXPECT_EQ(created, (std::vector<std::string>{"E:\\a", "E:\\a\\b", "E:\\a\\b\\c"}));
  EXPECT_EQ(sys.files.PathsBelow("E:"), created);

  created.clear();
  ForceFolders("E:\\a\\b");
  ForceFolders("E:\\");
  EXPECT_TRUE(created.empty());
  EXPECT_THROW(ForceFolders(""), std::invalid_argument);
}

}  // namespace
}  // namespace vh::test
