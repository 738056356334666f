// The fake must fail where the platform fails, or the tests that use it prove nothing.
#include "fake_file_system.h"

#include <gtest/gtest.h>

namespace vh::test {
namespace {

TEST(FakeFileSystemTest, BehavesLikeThePlatformWhereTheLogicDependsOnIt) {
  FakeFileSystem fs;
  fs.AddDrive("C:");
  fs.AddFile("C:\\Dir\\ro.txt", "abc", 7, kAttrReadOnly);
  EXPECT_EQ(fs.Attributes("c:\\dir\\RO.TXT"), kAttrReadOnly);  // names ignore case
  EXPECT_FALSE(fs.Delete("C:\\Dir\\ro.txt"));
  EXPECT_EQ(fs.Copy("C:\\Dir\\ro.txt", "C:\\Dir\\ro.txt"), CopyResult::Failed);
  EXPECT_FALSE(fs.RemoveFolder("C:\\Dir"));
  EXPECT_FALSE(fs.CreateFolder("C:\\No\\Parent"));
  EXPECT_EQ(fs.Copy("C:\\Dir\\ro.txt", "C:\\No\\x"), CopyResult::Failed);

  EXPECT_EQ(fs.Copy("C:\\Dir\\ro.txt", "C:\\copy.txt"), CopyResult::Ok);
  EXPECT_EQ(fs.LastWrite("C:\\copy.txt"), 7);
  std::vector<DirEntry> entries;
  ASSERT_TRUE(fs.List("C:\\", entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "copy.txt");
  EXPECT_EQ(entries[1].name, "Dir");
  EXPECT_EQ(entries[1].attributes, kAttrDirectory);

  fs.Unplug("C:");
  EXPECT_EQ(fs.Attributes("C:\\copy.txt"), kAttrInvalid);
  EXPECT_EQ(fs.Attributes("C:"), kAttrInvalid);
  EXPECT_EQ(fs.DriveMask(), 0u);
  fs.Plug("C:");
  EXPECT_EQ(fs.DriveMask(), 1u << 2);
}

TEST(FakeFileSystemTest, FullDiskTruncatesACopyButNeverAWrite) {
  FakeFileSystem fs;
  fs.AddDrive("C:");
  fs.AddDrive("D:");
  fs.AddFile("C:\\src", "0123456789", 5);
  fs.AddFile("D:\\old", "previous");
  fs.DiskFullAfter("D:", 4);
  EXPECT_EQ(fs.Copy("C:\\src", "D:\\dst"), CopyResult::DiskFull);
  EXPECT_EQ(fs.Content("D:\\dst"), "0123");
  EXPECT_EQ(fs.LastWrite("D:\\dst"), 5);
  EXPECT_FALSE(fs.WriteFile("D:\\old", "x"));
  EXPECT_EQ(fs.Content("D:\\old"), "previous");
}

}  // namespace
}  // namespace vh::test
