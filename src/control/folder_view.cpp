#include "control/folder_view.h"

#include <algorithm>
#include <vector>

#include "platform/system.h"

namespace vh {

std::string AsciiUpperCase(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

TFolderView::TFolderView(Tree& tree, UpperCaseFn upper) : tree_(tree), upper_(std::move(upper)) {}

namespace {

// The hourglass and a frozen tree for the lifetime of the scope.
class BusyTree {
 public:
  explicit BusyTree(Tree& tree) : tree_(tree) {
    tree_.ShowBusy(true);
    tree_.SetRedraw(false);
  }
  ~BusyTree() {
    tree_.SetRedraw(true);
    tree_.ShowBusy(false);
  }
  BusyTree(const BusyTree&) = delete;
  BusyTree& operator=(const BusyTree&) = delete;

 private:
  Tree& tree_;
};

}  // namespace

void TFolderView::Fill(const TSourceList& list) {
  sourceList_ = &list;
  tree_.ShowBusy(true);
  const TreeItem kept = tree_.Selected() ? tree_.Selected() : tree_.TopItem();
  const std::string keptPath = NodePath(kept);
  std::set<std::string> open;
  // Every item in display order: down into children, then on to the next sibling or up.
  for (TreeItem item = tree_.FirstRoot(); item;) {
    if (tree_.Expanded(item)) open.insert(NodePath(item));
    if (TreeItem child = tree_.FirstChild(item)) {
      item = child;
      continue;
    }
    while (item && !tree_.NextSibling(item)) item = tree_.Parent(item);
    if (item) item = tree_.NextSibling(item);
  }
  tree_.SetRedraw(false);
  tree_.DeleteAll();
  const uint32_t mask = Files().DriveMask();
  for (int letter = 0; letter < 26; ++letter) {
    if (!(mask & (1u << letter))) continue;
    const TreeItem root = tree_.Insert(0, 0, std::string(1, static_cast<char>('A' + letter)) + ":", kDriveImage);
    tree_.SetHasButton(root, true);  // without touching the drive
  }
  ReExpand(tree_.FirstRoot(), open);
  tree_.SetRedraw(true);
  if (const TreeItem top = FindNode(tree_.FirstRoot(), keptPath)) tree_.SetTopItem(top);
  tree_.ShowBusy(false);
}

void TFolderView::ReExpand(TreeItem item, const std::set<std::string>& open) {
  for (; item; item = tree_.NextSibling(item)) {
    if (!CanHoldChildren(tree_.Image(item)) || !open.count(NodePath(item))) continue;
    Open(item);
    ReExpand(tree_.FirstChild(item), open);
  }
}

void TFolderView::Open(TreeItem item) {
  LoadChildren(item);
  reexpanding_ = true;  // the tree's own notice of the opening must not read the folder again
  tree_.Expand(item);
  reexpanding_ = false;
}

void TFolderView::ExpandNode(TreeItem item) {
  if (reexpanding_) return;
  BusyTree busy(tree_);
  LoadChildren(item);
}

void TFolderView::LoadChildren(TreeItem item) {
  tree_.DeleteChildren(item);
  tree_.SetHasButton(item, false);
  const std::string path = NodePath(item);
  std::vector<DirEntry> entries;
  Files().List(path, entries);  // a folder that cannot be read simply shows nothing
  SortedChildren children;
  auto add = [&](const std::string& name, int image) { return InsertSorted(item, children, name, image); };
  for (const DirEntry& e : entries) {
    if (e.attributes & kAttrDirectory) {
      const TreeItem child = add(e.name, kFolderImage);
      const bool files = ShowFiles;
      if (Files().AnyEntry(path + "\\" + e.name,
                           [files](const DirEntry& inner) { return files || (inner.attributes & kAttrDirectory); })) {
        tree_.SetHasButton(child, true);
      }
    } else if (ShowFiles) {
      if (!(e.attributes & (kAttrHidden | kAttrSystem))) add(e.name, kFileImage);
      else if (SystemFiles) add(e.name, kHiddenFileImage);
    }
  }
  if (!children.empty()) tree_.SetHasButton(item, true);
  MarkListed();
}

TreeItem TFolderView::InsertSorted(TreeItem parent, SortedChildren& children, const std::string& name, int image) {
  std::string key = upper_(name);
  // After any equal name, so the children already there keep their order.
  auto at = std::upper_bound(children.begin(), children.end(), key,
                             [](const std::string& k, const auto& child) { return k < child.first; });
  const TreeItem child = tree_.Insert(parent, at == children.end() ? 0 : at->second, name, image);
  children.insert(at, {std::move(key), child});
  return child;
}

void TFolderView::MarkListed() {
  if (!sourceList_) return;
  for (int i = 0; i < sourceList_->Count(); ++i) {
    const TreeItem found = FindNode(tree_.FirstRoot(), sourceList_->Item(i)->Path);
    if (found && tree_.Image(found) < kMarked) tree_.SetImage(found, tree_.Image(found) + kMarked);
  }
}

std::string TFolderView::NodePath(TreeItem item) const {
  if (!item) return {};
  std::string path = tree_.Text(item);
  for (TreeItem up = tree_.Parent(item); up; up = tree_.Parent(up)) path = tree_.Text(up) + "\\" + path;
  return path;
}

TreeItem TFolderView::FindNode(TreeItem first, const std::string& path) const {
  if (path.empty()) return 0;
  const size_t slash = path.find('\\');
  const std::string head = path.substr(0, slash);
  TreeItem found = first;
  while (found && tree_.Text(found) != head) found = tree_.NextSibling(found);
  if (!found || slash == std::string::npos) return found;
  const TreeItem child = tree_.FirstChild(found);
  return child ? FindNode(child, path.substr(slash + 1)) : 0;
}

void TFolderView::ShiftMark(const std::string& path, bool mark) {
  const TreeItem item = FindNode(tree_.FirstRoot(), path);
  if (!item || !tree_.Reachable(item)) return;
  const int image = tree_.Image(item);
  if (mark ? image >= kMarked : image < kMarked) return;
  if (tree_.Selected() == item) tree_.Select(0);
  tree_.SetImage(item, mark ? image + kMarked : image - kMarked);
  tree_.Repaint();
  tree_.Select(item);
}

void TFolderView::RefreshBranchOf(const std::string& path) {
  const TreeItem item = FindNode(tree_.FirstRoot(), path);
  const TreeItem parent = item ? tree_.Parent(item) : 0;
  if (!parent) {
    if (sourceList_) Fill(*sourceList_);
    return;
  }
  BusyTree busy(tree_);
  Open(parent);
}

}  // namespace vh
