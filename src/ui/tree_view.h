#pragma once
// The tree control: read-only labels, images from an image list, and notices of an item about to
// open and of a drag begun on an item.
#include "platform/tree.h"
#include "ui/controls.h"

namespace vh::ui {

class TreeView : public Control, public vh::Tree {
 public:
  ~TreeView() override;
  void Create(const Container& parent, int x, int y, int width, int height, int indent);
  // The item pictures: squares of `size` pixels side by side in a bitmap resource, magenta
  // standing for clear. They replace the pictures shown before.
  void LoadImages(int bitmapId, int size);

  TreeItem FirstRoot() const override;
  TreeItem FirstChild(TreeItem item) const override;
  TreeItem NextSibling(TreeItem item) const override;
  TreeItem Parent(TreeItem item) const override;
  std::string Text(TreeItem item) const override;
  int Image(TreeItem item) const override;
  void SetImage(TreeItem item, int image) override;
  TreeItem Insert(TreeItem parent, TreeItem before, const std::string& text, int image) override;
  void DeleteChildren(TreeItem item) override;
  void DeleteAll() override;
  void SetHasButton(TreeItem item, bool button) override;
  bool Expanded(TreeItem item) const override;
  void Expand(TreeItem item) override;
  bool Reachable(TreeItem item) const override;
  TreeItem Selected() const override;
  void Select(TreeItem item) override;
  TreeItem TopItem() const override;
  void SetTopItem(TreeItem item) override;
  void SetRedraw(bool redraw) override;
  void Repaint() override { Control::Repaint(); }
  void ShowBusy(bool busy) override;

  // The item's rectangle in the control's client area.
  RECT ItemRect(TreeItem item) const;

  LRESULT OnNotify(NMHDR* header) override;
  std::function<void(TreeItem item)> onExpanding;
  std::function<void(TreeItem item)> onBeginDrag;

 protected:
  void Rescale() override;

 private:
  TreeItem Next(TreeItem item, UINT relation) const;
  int indent_ = 0;
  HIMAGELIST images_ = nullptr;
  std::vector<HCURSOR> previousCursors_;
};

}  // namespace vh::ui
