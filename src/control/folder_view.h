#pragma once
// The folder tree of the Select page: every drive as a root, folders (and files) read only when
// their branch opens, and a tick on the items that are on the backup list.
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "list/source_list.h"
#include "platform/tree.h"

namespace vh {

// Image indexes; an item on the backup list shows its kind's index plus kMarked.
enum TreeImage : int { kFolderImage = 0, kDriveImage = 2, kFileImage = 3, kHiddenFileImage = 4, kMarked = 5 };

// Upper-case form of a name, for the order of the tree's items.
using UpperCaseFn = std::function<std::string(const std::string&)>;
std::string AsciiUpperCase(const std::string& text);

class TFolderView {
 public:
  explicit TFolderView(Tree& tree, UpperCaseFn upper = AsciiUpperCase);

  // Rebuilds the whole tree, keeping the open branches and the item in view at the top.
  void Fill(const TSourceList& list);
  // The tree is opening `item`: its folder is read afresh, its children in the order of their
  // upper-cased names, folders and files mixed.
  void ExpandNode(TreeItem item);
  void LoadChildren(TreeItem item);
  std::string NodePath(TreeItem item) const;
  // The item of `path` among `first` and its siblings and below; 0 when the path was never shown.
  TreeItem FindNode(TreeItem first, const std::string& path) const;
  std::string SelectedPath() const { return NodePath(tree_.Selected()); }
  void MarkPath(const std::string& path) { ShiftMark(path, true); }
  void UnmarkPath(const std::string& path) { ShiftMark(path, false); }
  // Reads again the branch that holds `path` (a drive's path: the whole tree).
  void RefreshBranchOf(const std::string& path);

  bool ShowFiles = false;
  bool SystemFiles = false;

 private:
  // The children of one item in the tree's order, with their upper-cased names.
  using SortedChildren = std::vector<std::pair<std::string, TreeItem>>;
  // A new child at its place in the order of upper-cased names (byte order), folders and files
  // mixed: one binary search, whatever the number of children.
  TreeItem InsertSorted(TreeItem parent, SortedChildren& children, const std::string& name, int image);
  // Reads the item's folder and opens its branch.
  void Open(TreeItem item);
  void ReExpand(TreeItem item, const std::set<std::string>& open);
  void ShiftMark(const std::string& path, bool mark);
  void MarkListed();

  Tree& tree_;
  UpperCaseFn upper_;
  const TSourceList* sourceList_ = nullptr;
  bool reexpanding_ = false;
};

// Whether an item can hold children: a folder or a drive root, marked or not.
inline bool CanHoldChildren(int image) { return image == 0 || image == 2 || image == 5 || image == 7; }

}  // namespace vh
