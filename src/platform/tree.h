#pragma once
// A tree control's items, as the folder tree drives them.
#include <cstdint>
#include <string>

namespace vh {

// An item of the tree; 0 stands for none.
using TreeItem = uintptr_t;

class Tree {
 public:
  virtual ~Tree() = default;
  virtual TreeItem FirstRoot() const = 0;
  virtual TreeItem FirstChild(TreeItem item) const = 0;
  virtual TreeItem NextSibling(TreeItem item) const = 0;
  virtual TreeItem Parent(TreeItem item) const = 0;
  virtual std::string Text(TreeItem item) const = 0;
  // The image index, used for both the normal and the selected image.
  virtual int Image(TreeItem item) const = 0;
  virtual void SetImage(TreeItem item, int image) = 0;
  // A new item under `parent` (0: a root) just before `before` (0: as the last one), without an
  // expand button.
  virtual TreeItem Insert(TreeItem parent, TreeItem before, const std::string& text, int image) = 0;
  virtual void DeleteChildren(TreeItem item) = 0;
  virtual void DeleteAll() = 0;
  // Shows or hides the item's expand button, whatever children it holds.
  virtual void SetHasButton(TreeItem item, bool button) = 0;
  virtual bool Expanded(TreeItem item) const = 0;
  // Opens the item's branch as it is, loading nothing.
  virtual void Expand(TreeItem item) = 0;
  // False when the item lies inside a closed branch.
  virtual bool Reachable(TreeItem item) const = 0;
  virtual TreeItem Selected() const = 0;
  // 0 takes the selection away.
  virtual void Select(TreeItem item) = 0;
  virtual TreeItem TopItem() const = 0;
  virtual void SetTopItem(TreeItem item) = 0;
  // While false the tree does not repaint.
  virtual void SetRedraw(bool redraw) = 0;
  virtual void Repaint() = 0;
  // The hourglass while the tree reads folders (true), then the cursor shown before (false).
  virtual void ShowBusy(bool busy) = 0;
};

}  // namespace vh
