#pragma once
#include <windows.h>

#include "platform/grid.h"

namespace vh::ui {

// A grid over a report-style list view: row 0 is the column headings, rows 1.. are the items.
// The control stays owned by its parent window.
class ListViewGrid : public vh::Grid {
 public:
  // New columns get `columnWidth` pixels until someone sizes them.
  explicit ListViewGrid(HWND control, int columnWidth = 100)
      : control_(control), columnWidth_(columnWidth) {}

  // Creates a report-style list view as a child of `parent`; null on failure.
  static HWND Create(HWND parent, int id);

  HWND hwnd() const { return control_; }

  void SetColCount(int count) override;
  void SetRowCount(int count) override;
  // Cells outside the grid are ignored.
  void SetCell(int col, int row, const std::string& text) override;

  int ColCount() const;
  // The heading row included.
  int RowCount() const;
  std::string Cell(int col, int row) const;

  void SetColumnWidth(int col, int pixels);
  // Sizes the last column to the width the others leave, with room kept for a vertical scroll
  // bar, so the grid never scrolls sideways; where they leave none, the first column narrows.
  void FitLastColumn();

  // The row of the selected item; 0 while none is selected. Setting the row count keeps one
  // selected.
  int CurrentRow() const;
  // Selects and focuses a row's item and brings it into view.
  void SetCurrentRow(int row);
  // The row under a point of the control's client area: 0 on the headings, -1 on no row.
  int RowAt(POINT client) const;

 private:
  HWND control_;
  int columnWidth_;
};

}  // namespace vh::ui
