#include "control/folder_view.h"

#include <gtest/gtest.h>

#include "fake_system.h"
#include "fake_tree.h"

namespace vh::test {
namespace {

using Texts = std::vector<std::string>;

class FolderViewTest : public ::testing::Test {
 protected:
  FolderViewTest() {
    sys.files.AddDrive("C:");
    sys.files.AddDrive("E:");
    sys.files.AddFolder("C:\\Docs\\Old");
    sys.files.AddFolder("C:\\Docs\\Old\\Deep");
    sys.files.AddFolder("C:\\apple");
    sys.files.AddFolder("C:\\Banana");
    sys.files.AddFile("C:\\Banana\\only.txt");
    sys.files.AddFile("C:\\cherry.txt");
    sys.files.AddFile("C:\\hidden.sys", "", 0, kAttrHidden);
    sys.files.AddFolder("C:\\Secret", kAttrDirectory | kAttrSystem | kAttrHidden);
    sys.files.AddFile("C:\\Secret\\x.txt", "", 0, kAttrSystem);
    folders.Fill(list);
  }
  TreeItem Item(const std::string& path) { return folders.FindNode(tree.FirstRoot(), path); }
  // Opens an item as the user does: the tree's notice, then the branch shows.
  void Open(const std::string& path) {
    folders.ExpandNode(Item(path));
    tree.Expand(Item(path));
  }
  bool Button(const std::string& path) { return FakeTree::N(Item(path))->button; }

  FakeSystem sys;
  FakeTree tree;
  TSourceList list;
  TFolderView folders{tree};
};

TEST_F(FolderViewTest, DrivesComeWithButtonsAndWithoutReadingThem) {
  FakeTree fresh;
  TFolderView view{fresh};
  sys.files.calls = 0;
  view.Fill(list);
  EXPECT_EQ(fresh.Texts(0), (Texts{"C:", "E:"}));
  EXPECT_EQ(sys.files.calls, 1);  // the drive mask alone
  EXPECT_TRUE(FakeTree::N(fresh.FirstRoot())->button);
  EXPECT_EQ(fresh.Image(fresh.FirstRoot()), kDriveImage);
  EXPECT_EQ(fresh.busyDepth, 0);
}

TEST_F(FolderViewTest, ChildrenFollowTheFileBoxes) {
  struct Case {
    bool files, system;
    Texts children;
    bool bananaButton, secretButton;
  };
  for (const Case& c : {Case{false, true, {"apple", "Banana", "Docs", "Secret"}, false, false},
                        Case{true, false, {"apple", "Banana", "cherry.txt", "Docs", "Secret"}, true, true},
                        Case{true, true, {"apple", "Banana", "cherry.txt", "Docs", "hidden.sys", "Secret"}, true,
                             true}}) {
    folders.ShowFiles = c.files;
    folders.SystemFiles = c.system;
    Open("C:");
    EXPECT_EQ(tree.Texts(Item("C:")), c.children) << c.files << c.system;
    EXPECT_EQ(Button("C:\\Banana"), c.bananaButton);
    EXPECT_EQ(Button("C:\\Secret"), c.secretButton);
    EXPECT_TRUE(Button("C:\\Docs"));
    EXPECT_FALSE(Button("C:\\apple"));
  }
  EXPECT_EQ(tree.Image(Item("C:\\hidden.sys")), kHiddenFileImage);
  EXPECT_EQ(tree.Image(Item("C:\\cherry.txt")), kFileImage);
  // A folder of system files alone opens empty without them, and its button goes.
  folders.SystemFiles = false;
  Open("C:\\Secret");
  EXPECT_TRUE(tree.Texts(Item("C:\\Secret")).empty());
  EXPECT_FALSE(Button("C:\\Secret"));
}

TEST_F(FolderViewTest, PathsAndFinding) {
  Open("C:");
  Open("C:\\Docs");
  const TreeItem old = Item("C:\\Docs\\Old");
  ASSERT_NE(old, 0u);
  EXPECT_EQ(folders.NodePath(old), "C:\\Docs\\Old");
  EXPECT_EQ(folders.NodePath(Item("C:")), "C:");
  EXPECT_EQ(folders.NodePath(0), "");
  for (const char* none : {"", "C:\\", "c:\\Docs", "C:\\Docs\\Old\\Deep", "C:\\Docs\\", "Z:"}) {
    EXPECT_EQ(Item(none), 0u) << none;  // case matters; an unopened branch has nothing to find
  }
  EXPECT_EQ(folders.SelectedPath(), "");
  tree.Select(old);
  EXPECT_EQ(folders.SelectedPath(), "C:\\Docs\\Old");
}

TEST_F(FolderViewTest, MarksFollowTheList) {
  list.Add("C:\\Docs", true, 1);
  list.Add("C:\\cherry.txt", false, 0);
  folders.ShowFiles = true;
  folders.Fill(list);
  Open("C:");
  EXPECT_EQ(tree.Image(Item("C:\\Docs")), kFolderImage + kMarked);  // marked at the opening
  EXPECT_EQ(tree.Image(Item("C:\\cherry.txt")), kFileImage + kMarked);

  folders.MarkPath("C:");
  EXPECT_EQ(tree.Image(Item("C:")), kDriveImage + kMarked);
  EXPECT_EQ(tree.Selected(), Item("C:"));
  folders.MarkPath("C:");  // no second mark
  EXPECT_EQ(tree.Image(Item("C:")), kDriveImage + kMarked);

  folders.UnmarkPath("C:\\Docs");
  EXPECT_EQ(tree.Image(Item("C:\\Docs")), kFolderImage);
  EXPECT_EQ(tree.Selected(), Item("C:\\Docs"));
  folders.UnmarkPath("C:\\Docs");
  EXPECT_EQ(tree.Image(Item("C:\\Docs")), kFolderImage);

  // Inside a closed branch nothing is marked until it opens.
  Open("C:\\Docs");
  FakeTree::N(Item("C:\\Docs"))->expanded = false;
  folders.MarkPath("C:\\Docs\\Old");
  EXPECT_EQ(tree.Image(Item("C:\\Docs\\Old")), kFolderImage);
}

TEST_F(FolderViewTest, FillKeepsOpenBranchesAndBringsTheSelectionToTheTop) {
  Open("C:");
  Open("C:\\Docs");
  tree.Select(Item("C:\\Docs\\Old"));
  sys.files.AddFolder("C:\\Docs\\New");  // read afresh
  folders.Fill(list);
  EXPECT_TRUE(tree.Expanded(Item("C:")));
  EXPECT_TRUE(tree.Expanded(Item("C:\\Docs")));
  EXPECT_FALSE(tree.Expanded(Item("C:\\Docs\\Old")));
  EXPECT_EQ(tree.Texts(Item("C:\\Docs")), (Texts{"New", "Old"}));
  EXPECT_EQ(tree.TopItem(), Item("C:\\Docs\\Old"));
  EXPECT_EQ(tree.Selected(), 0u);
  EXPECT_FALSE(tree.frozen);
}

TEST_F(FolderViewTest, UnreadableFolderShowsNothing) {
  Open("E:");
  sys.files.Unplug("E:");
  Open("E:");
  EXPECT_TRUE(tree.Texts(Item("E:")).empty());
  EXPECT_FALSE(Button("E:"));
  EXPECT_EQ(sys.boxes.asked.size(), 0u);
}

}  // namespace
}  // namespace vh::test
