#pragma once
#include <string>

namespace vh {

// A grid of text cells; row 0 is the heading row.
class Grid {
 public:
  virtual ~Grid() = default;
  virtual void SetColCount(int count) = 0;
  virtual void SetRowCount(int count) = 0;
  virtual void SetCell(int col, int row, const std::string& text) = 0;
};

}  // namespace vh
