#pragma once
// The log's page and the list's grid, as plain data.
#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/grid.h"
#include "platform/text_page.h"

namespace vh::test {

class FakeTextPage : public TextPage {
 public:
  std::vector<std::string> lines;
  int scrolls = 0;

  std::vector<std::string> Lines() const override { return lines; }
  void SetLines(const std::vector<std::string>& l) override { lines = l; }
  void Append(const std::string& line) override { lines.push_back(line); }
  // Never past the end, as the real page.
  void RemoveFirst(int count) override {
    lines.erase(lines.begin(), lines.begin() + std::clamp(count, 0, static_cast<int>(lines.size())));
  }
  void ScrollToEnd() override { ++scrolls; }
};

class FakeGrid : public Grid {
 public:
  int cols = 0, rows = 0;
  std::map<std::pair<int, int>, std::string> cells;  // (col, row) -> text

  void SetColCount(int count) override { cols = count; }
  void SetRowCount(int count) override { rows = count; }
  void SetCell(int col, int row, const std::string& text) override { cells[{col, row}] = text; }
  std::string Cell(int col, int row) const {
    auto it = cells.find({col, row});
    return it == cells.end() ? std::string() : it->second;
  }
};

}  // namespace vh::test
