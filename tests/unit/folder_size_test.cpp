#include "store/folder_size.h"

#include <gtest/gtest.h>

#include "fake_system.h"

namespace vh::test {
namespace {

class FolderSizeTest : public ::testing::Test {
 protected:
  FolderSizeTest() { sys.files.AddDrive("E:"); }
  FakeSystem sys;
  const std::string root = "E:\\B\\$VH_BKS$\\PC1\\joe";
};

TEST_F(FolderSizeTest, CountsEveryFileBelowTheFolderInFull) {
  sys.files.AddFile(root + "\\Config.txt", "12345");
  sys.files.AddFile(root + "\\Log.txt", "123");
  sys.files.AddFile(root + "\\C\\deep\\hidden.sys", "12", 0, kAttrHidden | kAttrSystem);
  sys.files.AddFile(root + "\\C\\huge.iso");
  sys.files.SetSize(root + "\\C\\huge.iso", 5ull << 30);  // past 32 bits: must not wrap
  EXPECT_EQ(FolderSize(root), 10.0 + (5ull << 30));
  EXPECT_EQ(FolderSize(root + "\\C\\deep"), 2.0);
  EXPECT_EQ(FolderSize(root + "\\missing"), -1.0);
  sys.files.AddLink(root + "\\C\\link");
  sys.files.AddFile(root + "\\C\\link\\elsewhere.bin", std::string(1000, 'x'));
  EXPECT_EQ(FolderSize(root + "\\C\\deep"), 2.0);
  EXPECT_EQ(FolderSize(root), 10.0 + (5ull << 30));  // what a link points to is not the store's
  EXPECT_EQ(FolderSize(root + "\\Log.txt"), -1.0);
}

TEST_F(FolderSizeTest, SizeTextThresholdsAndRounding) {
  EXPECT_EQ(SizeText(-1), " Unknown");
  EXPECT_EQ(SizeText(0), "0 bytes");
  EXPECT_EQ(SizeText(1023), "1,023 bytes");
  EXPECT_EQ(SizeText(1024), "1 KB (1,024 bytes)");
  EXPECT_EQ(SizeText(1024 + 128), "1.13 KB (1,152 bytes)");  // a half rounds up
  EXPECT_EQ(SizeText(1048575), "1024 KB (1,048,575 bytes)");
  EXPECT_EQ(SizeText(1048576), "1 MB (1,048,576 bytes)");
  EXPECT_EQ(SizeText(5242880), "5 MB (5,242,880 bytes)");
  EXPECT_EQ(SizeText(1610612736), "1.5 GB (1,610,612,736 bytes)");
  EXPECT_EQ(SizeText(5497558138880.0), "5120 GB (5,497,558,138,880 bytes)");
}

TEST_F(FolderSizeTest, SizeTextUsesTheLocaleSeparators) {
  sys.locale.decimal = ",";
  sys.locale.thousands = "\xC2\xA0";  // a no-break space, as some locales group
  EXPECT_EQ(SizeText(1610612736), "1,5 GB (1\xC2\xA0" "610\xC2\xA0" "612\xC2\xA0" "736 bytes)");
}

TEST_F(FolderSizeTest, ReportNamesTheFolderAndItsStoresSize) {
  sys.files.AddFile(root + "\\C\\a", std::string(1536, 'x'));
  sys.files.AddFile("E:\\V\\$VH_BKS$\\PC1\\joe\\C\\a", std::string(1024, 'x'));
  sys.files.AddFile("E:\\V\\$VH_BKS$\\PC1\\joe\\$VH_VER$\\2026-12-08 2315\\C\\a", std::string(512, 'x'));
  const struct {
    const char* folder;
    const char* report;
  } cases[] = {
      {"E:\\B", "Backup folder: E:\\B\n\nSize :1.5 KB (1,536 bytes)"},
      {"E:\\Other\\", "Backup folder: E:\\Other\\\n\nSize : Unknown"},
      {"", ""},  // no backup folder: nothing to report
      // Earlier versions are part of the total, and their part is told beside it.
      {"E:\\V", "Backup folder: E:\\V\n\nSize :1.5 KB (1,536 bytes)\nOf which earlier versions :512 bytes"},
  };
  for (const auto& c : cases) EXPECT_EQ(BackupFolderSizeReport(c.folder), c.report) << c.folder;
}

}  // namespace
}  // namespace vh::test
