#include "ui/tree_view.h"

#include <cstring>

#include "platform/win32/wide.h"
#include "ui/window.h"

namespace vh::ui {
namespace {

HTREEITEM H(TreeItem item) { return reinterpret_cast<HTREEITEM>(item); }
TreeItem T(HTREEITEM item) { return reinterpret_cast<TreeItem>(item); }

}  // namespace

void TreeView::Create(const Container& parent, int x, int y, int width, int height, int indent) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&init);
  Control::Create(parent, WC_TREEVIEWW, "", WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                  x, y, width, height, WS_EX_CLIENTEDGE);
  indent_ = indent;
  Rescale();
}

TreeView::~TreeView() {
  if (images_) ImageList_Destroy(images_);
}

void TreeView::LoadImages(int bitmapId, int size) {
  HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 10, 0);
  if (HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
    ImageList_AddMasked(images, bitmap, RGB(255, 0, 255));
    DeleteObject(bitmap);
  }
  SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  if (images_) ImageList_Destroy(images_);
  images_ = images;
}

void TreeView::Rescale() {
  Control::Rescale();
  SendMessageW(Handle(), TVM_SETINDENT, owner_->Scale(indent_), 0);
}

TreeItem TreeView::Next(TreeItem item, UINT relation) const {
  return T(reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(H(item)))));
}

TreeItem TreeView::FirstRoot() const { return Next(0, TVGN_ROOT); }
TreeItem TreeView::FirstChild(TreeItem item) const { return Next(item, TVGN_CHILD); }
TreeItem TreeView::NextSibling(TreeItem item) const { return Next(item, TVGN_NEXT); }
TreeItem TreeView::Parent(TreeItem item) const { return Next(item, TVGN_PARENT); }
TreeItem TreeView::Selected() const { return Next(0, TVGN_CARET); }
TreeItem TreeView::TopItem() const { return Next(0, TVGN_FIRSTVISIBLE); }

std::string TreeView::Text(TreeItem item) const {
  // A name is at most 255 UTF-16 units on every file system the program reads.
  wchar_t buffer[512] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT | TVIF_HANDLE;
  tv.hItem = H(item);
  tv.pszText = buffer;
  tv.cchTextMax = 512;
  SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return win32::Narrow(buffer);
}

int TreeView::Image(TreeItem item) const {
  TVITEMW tv{};
  tv.mask = TVIF_IMAGE | TVIF_HANDLE;
  tv.hItem = H(item);
  SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return tv.iImage;
}

void TreeView::SetImage(TreeItem item, int image) {
  TVITEMW tv{};
  tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  tv.hItem = H(item);
  tv.iImage = tv.iSelectedImage = image;
  SendMessageW(Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

TreeItem TreeView::Insert(TreeItem parent, TreeItem before, const std::string& text, int image) {
  std::wstring wide = win32::Widen(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent ? H(parent) : TVI_ROOT;
  // The control places an item after another; "before the first" is "first".
  const TreeItem previous = before ? Next(before, TVGN_PREVIOUS) : 0;
  insert.hInsertAfter = before ? (previous ? H(previous) : TVI_FIRST) : TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
  insert.item.pszText = wide.data();
  insert.item.iImage = insert.item.iSelectedImage = image;
  insert.item.cChildren = 0;
  insert.item.stateMask = TVIS_STATEIMAGEMASK;  // no state image
  return T(reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))));
}

void TreeView::DeleteChildren(TreeItem item) {
  for (TreeItem child = FirstChild(item); child; child = FirstChild(item)) {
    SendMessageW(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(H(child)));
  }
}

void TreeView::DeleteAll() { SendMessageW(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)); }

void TreeView::SetHasButton(TreeItem item, bool button) {
  TVITEMW tv{};
  tv.mask = TVIF_CHILDREN | TVIF_HANDLE;
  tv.hItem = H(item);
  tv.cChildren = button ? 1 : 0;
  SendMessageW(Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

bool TreeView::Expanded(TreeItem item) const {
  return (SendMessageW(Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(H(item)), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void TreeView::Expand(TreeItem item) {
  SendMessageW(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(H(item)));
}

bool TreeView::Reachable(TreeItem item) const {
  for (TreeItem up = Parent(item); up; up = Parent(up)) {
    if (!Expanded(up)) return false;
  }
  return true;
}

void TreeView::Select(TreeItem item) {
  SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(H(item)));
}

void TreeView::SetTopItem(TreeItem item) {
  SendMessageW(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(H(item)));
}

void TreeView::SetRedraw(bool redraw) {
  SendMessageW(Handle(), WM_SETREDRAW, redraw, 0);
  if (redraw) InvalidateRect(Handle(), nullptr, TRUE);
}

void TreeView::ShowBusy(bool busy) {
  if (busy) {
    previousCursors_.push_back(ShowHourglass());
  } else if (!previousCursors_.empty()) {
    SetCursor(previousCursors_.back());
    previousCursors_.pop_back();
  }
}

RECT TreeView::ItemRect(TreeItem item) const {
  RECT r{};
  const HTREEITEM handle = H(item);
  std::memcpy(&r, &handle, sizeof handle);  // the item goes in where the rectangle comes out
  SendMessageW(Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
  return r;
}

LRESULT TreeView::OnNotify(NMHDR* header) {
  auto* tree = reinterpret_cast<NMTREEVIEWW*>(header);
  switch (header->code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW:
      if (tree->action & TVE_EXPAND && onExpanding) onExpanding(T(tree->itemNew.hItem));
      return FALSE;  // the opening is always allowed
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW:
      // The dragged item becomes the selected one, as a press on it would make it.
      Select(T(tree->itemNew.hItem));
      if (onBeginDrag) onBeginDrag(T(tree->itemNew.hItem));
      return 0;
  }
  return 0;
}

}  // namespace vh::ui
