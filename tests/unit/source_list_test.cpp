#include "list/source_list.h"

#include <gtest/gtest.h>

#include "fake_system.h"

namespace vh::test {
namespace {

std::vector<std::string> Paths(const TSourceList& list) {
  std::vector<std::string> paths;
  for (int i = 0; i < list.Count(); ++i) paths.push_back(list.Item(i)->Path);
  return paths;
}

class SourceListTest : public ::testing::Test {
 protected:
  SourceListTest() { sys.files.AddDrive("E:"); }
  FakeSystem sys;
  TSourceList list;
  const std::string file = "E:\\Config.txt";
};

TEST_F(SourceListTest, KeepsByteOrderWithoutDuplicates) {
  EXPECT_EQ(list.Add("C:\\b", true, 1), 0);
  EXPECT_EQ(list.Add("C:\\a", true, 1), 0);
  EXPECT_EQ(list.Add("C:\\b", false, 0), -1);
  EXPECT_EQ(list.Add("", false, 0), -1);
  EXPECT_EQ(list.Add("c:\\a", false, 0), 2);  // case matters
  EXPECT_EQ(list.Add("C:\\Z", false, 0), 0);  // upper case sorts first
  EXPECT_EQ(list.Add("C:\\a\\x", false, 0), 2);  // after its prefix
  EXPECT_EQ(Paths(list), (std::vector<std::string>{"C:\\Z", "C:\\a", "C:\\a\\x", "C:\\b", "c:\\a"}));
  EXPECT_TRUE(list.Item(3)->Subs);  // the first C:\b was kept

  EXPECT_EQ(list.Item(-1), nullptr);
  EXPECT_EQ(list.Item(list.Count()), nullptr);
  EXPECT_FALSE(list.Delete(-1));
  EXPECT_FALSE(list.Delete(list.Count()));
  EXPECT_EQ(list.Count(), 5);
  EXPECT_TRUE(list.Delete(0));
  EXPECT_EQ(list.Item(0)->Path, "C:\\a");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(SourceListTest, SavesAndLoadsTheFileFormat) {
  list.Add("C:\\Docs", true, 1);
  list.Add("C:\\Docs\\a.txt", false, 0);
  list.Add("D:\\Fotos Ünï", false, 1);
  ASSERT_TRUE(list.SaveToFile(file));
  EXPECT_EQ(sys.files.Content(file),
            "3.0\r\nC:\\Docs\r\n1\r\n1\r\nC:\\Docs\\a.txt\r\n0\r\n0\r\nD:\\Fotos Ünï\r\n0\r\n1\r\n");

  std::string damage;
  TSourceList loaded;
  loaded.AddAll(ParseListText(sys.files.Content(file), damage));
  EXPECT_EQ(damage, "");
  ASSERT_EQ(loaded.Count(), 3);
  EXPECT_EQ(Paths(loaded), Paths(list));
  EXPECT_TRUE(loaded.Item(0)->Subs);
  EXPECT_EQ(loaded.Item(0)->IsFolder, 1);
  EXPECT_FALSE(loaded.Item(2)->Subs);
  EXPECT_EQ(loaded.Item(2)->IsFolder, 1);

  TSourceList empty;
  ASSERT_TRUE(empty.SaveToFile(file));
  EXPECT_EQ(sys.files.Content(file), "3.0\r\n");
  EXPECT_TRUE(ParseListText(sys.files.Content(file), damage).empty());
}

TEST_F(SourceListTest, LongLinesAreKeptWholeUpToTheLongestPossiblePath) {
  const std::string longPath = "C:\\" + std::string(400, 'a') + "\\" + std::string(300, 'b');
  const std::string garbage(40000, 'x');
  std::string damage;
  list.AddAll(ParseListText("3.0\r\n" + garbage + "\r\n1\r\n1\r\n" + longPath + "\r\n1\r\n1\r\nC:\\z\r\n0\r\n0\r\n", damage));
  EXPECT_EQ(Paths(list), (std::vector<std::string>{longPath, "C:\\z"}));
}

TEST_F(SourceListTest, GridShowsPathsAndSubFolderFlags) {
  FakeGrid grid;
  list.ShowInGrid(grid);
  EXPECT_EQ(grid.cols, 3);
  EXPECT_EQ(grid.rows, 2);
  EXPECT_EQ(grid.cells.count({0, 1}), 1u);
  EXPECT_EQ(grid.Cell(0, 1), "");

  sys.files.AddDrive("C:");
  sys.files.AddFolder("C:\\Docs");
  sys.files.AddFile("C:\\file.txt");
  list.Add("C:\\Docs", true, 1);
  list.Add("C:\\Docs2", false, 1);
  list.Add("C:\\Gone", true, 1);      // vanished: still "Yes"
  list.Add("C:\\file.txt", true, 0);  // a file never shows "Yes"
  grid.cells[{2, 1}] = "untouched";
  list.ShowInGrid(grid);
  EXPECT_EQ(grid.rows, 5);
  EXPECT_EQ(grid.Cell(0, 1), "C:\\Docs");
  EXPECT_EQ(grid.Cell(1, 1), "Yes");
  EXPECT_EQ(grid.Cell(1, 2), "");
  EXPECT_EQ(grid.Cell(1, 3), "Yes");
  EXPECT_EQ(grid.Cell(0, 4), "C:\\file.txt");
  EXPECT_EQ(grid.Cell(1, 4), "");
  EXPECT_EQ(grid.Cell(2, 1), "untouched");
}

}  // namespace
}  // namespace vh::test
