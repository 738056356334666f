#include "ui/list_view_grid.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/win32/wide.h"

namespace vh::ui {
namespace {

// Longest cell text read back; the list view holds longer text but shows no more than this.
constexpr int kMaxCellText = 4096;

int ItemCount(HWND control) { return static_cast<int>(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0)); }

}  // namespace

HWND ListViewGrid::Create(HWND parent, int id) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  if (!InitCommonControlsEx(&init)) return nullptr;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL;
  HWND control =
      CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, 0, 0, 100, 100, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                      nullptr);
  if (control)
    SendMessageW(control, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  return control;
}

int ListViewGrid::ColCount() const {
  const HWND header = reinterpret_cast<HWND>(SendMessageW(control_, LVM_GETHEADER, 0, 0));
  if (!header) return 0;
  const LRESULT n = SendMessageW(header, HDM_GETITEMCOUNT, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}

int ListViewGrid::RowCount() const { return ItemCount(control_) + 1; }

void ListViewGrid::SetColCount(int count) {
  count = std::max(count, 0);
  int have = ColCount();
  while (have < count) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = columnWidth_;
    column.pszText = const_cast<wchar_t*>(L"");
    column.iSubItem = have;
    if (SendMessageW(control_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(have),
                     reinterpret_cast<LPARAM>(&column)) < 0)
      return;
    ++have;
  }
  while (have > count) {
    if (!SendMessageW(control_, LVM_DELETECOLUMN, static_cast<WPARAM>(have - 1), 0)) return;
    --have;
  }
}

void ListViewGrid::SetRowCount(int count) {
  const int wanted = std::max(count - 1, 0);
  if (wanted == 0) {
    SendMessageW(control_, LVM_DELETEALLITEMS, 0, 0);
    return;
  }
  int have = ItemCount(control_);
  const int previous = CurrentRow();
  // One repaint for the whole change, not one per item.
  SendMessageW(control_, WM_SETREDRAW, FALSE, 0);
  while (have < wanted) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = have;
    item.pszText = const_cast<wchar_t*>(L"");
    if (SendMessageW(control_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0) break;
    ++have;
  }
  while (have > wanted) {
    if (!SendMessageW(control_, LVM_DELETEITEM, static_cast<WPARAM>(have - 1), 0)) break;
    --have;
  }
  // The edits act on the current row, so one is always shown: the same row, or the last one
  // when that row went.
  if (CurrentRow() == 0) SetCurrentRow(previous == 0 ? 1 : std::min(previous, have));
  SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control_, nullptr, TRUE);
}

void ListViewGrid::SetCell(int col, int row, const std::string& text) {
  if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return;
  std::wstring wide = win32::Widen(text);
  if (row == 0) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = wide.data();
    SendMessageW(control_, LVM_SETCOLUMNW, static_cast<WPARAM>(col),
                 reinterpret_cast<LPARAM>(&column));
    return;
  }
  LVITEMW item{};
  item.iSubItem = col;
  item.pszText = wide.data();
  SendMessageW(control_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row - 1),
               reinterpret_cast<LPARAM>(&item));
}

std::string ListViewGrid::Cell(int col, int row) const {
  if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return {};
  std::vector<wchar_t> buffer(kMaxCellText + 1, L'\0');
  if (row == 0) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = buffer.data();
    column.cchTextMax = kMaxCellText;
    if (!SendMessageW(control_, LVM_GETCOLUMNW, static_cast<WPARAM>(col),
                      reinterpret_cast<LPARAM>(&column)))
      return {};
    return win32::Narrow(column.pszText ? column.pszText : L"");
  }
  LVITEMW item{};
  item.iSubItem = col;
  item.pszText = buffer.data();
  item.cchTextMax = kMaxCellText;
  const LRESULT n = SendMessageW(control_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row - 1),
                                 reinterpret_cast<LPARAM>(&item));
  return win32::Narrow(std::wstring_view(item.pszText ? item.pszText : L"",
                                  n > 0 ? static_cast<size_t>(n) : 0));
}

void ListViewGrid::SetColumnWidth(int col, int pixels) { ListView_SetColumnWidth(control_, col, pixels); }

void ListViewGrid::FitLastColumn() {
  const int last = ColCount() - 1;
  if (last < 0) return;
  RECT client;
  GetClientRect(control_, &client);
  int room = client.right;
  if (!(GetWindowLongW(control_, GWL_STYLE) & WS_VSCROLL)) room -= GetSystemMetrics(SM_CXVSCROLL);
  for (int col = 0; col < last; ++col) {
    room -= static_cast<int>(SendMessageW(control_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(col), 0));
  }
  if (room < 0 && last > 0) {
    // The others overrun the grid: the first column gives up the difference.
    const int first = static_cast<int>(SendMessageW(control_, LVM_GETCOLUMNWIDTH, 0, 0));
    SendMessageW(control_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(std::max(first + room, 0), 0));
  }
  SendMessageW(control_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(last), MAKELPARAM(std::max(room, 0), 0));
}

int ListViewGrid::CurrentRow() const {
  const LRESULT item = SendMessageW(control_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  return item < 0 ? 0 : static_cast<int>(item) + 1;
}

void ListViewGrid::SetCurrentRow(int row) {
  if (row < 1 || row >= RowCount()) return;
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(control_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));  // one row only
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(control_, LVM_SETITEMSTATE, static_cast<WPARAM>(row - 1), reinterpret_cast<LPARAM>(&state));
  SendMessageW(control_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row - 1), FALSE);
}

int ListViewGrid::RowAt(POINT client) const {
  const HWND header = reinterpret_cast<HWND>(SendMessageW(control_, LVM_GETHEADER, 0, 0));
  RECT heading{};
  if (header && GetWindowRect(header, &heading)) {
    MapWindowPoints(nullptr, control_, reinterpret_cast<POINT*>(&heading), 2);
    if (PtInRect(&heading, client)) return 0;
  }
  LVHITTESTINFO hit{};
  hit.pt = client;
  hit.pt.x = 2;  // any column of the row
  const LRESULT item = SendMessageW(control_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  return item < 0 ? -1 : static_cast<int>(item) + 1;
}

}  // namespace vh::ui
