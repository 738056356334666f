#include "control/print_layout.h"

#include <algorithm>

namespace vh {
namespace {

constexpr int kMarginTenthsOfMm = 120;

// The margin in dots, rounded up so that it is never less than the millimetres asked for.
int MarginDots(int dpi) { return (kMarginTenthsOfMm * dpi + 253) / 254; }

// One direction of the page: the printable span [first, last) in printable coordinates.
void Span(int dpi, int paper, int offset, int printable, int& first, int& last) {
  if (paper <= 0) paper = offset + printable + offset;  // unknown paper: the border taken as even
  const int margin = MarginDots(dpi);
  first = std::max(0, margin - offset);
  last = std::min(printable, paper - offset - margin);
}

}  // namespace

PrintBox PrintArea(const PrinterPage& page) {
  PrintBox box;
  Span(page.dpiX, page.paperWidth, page.offsetX, page.printableWidth, box.left, box.right);
  Span(page.dpiY, page.paperHeight, page.offsetY, page.printableHeight, box.top, box.bottom);
  if (box.right <= box.left || box.bottom <= box.top) return {0, 0, page.printableWidth, page.printableHeight};
  return box;
}

bool HasTextToPrint(const std::vector<std::string>& lines) {
  return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find_first_not_of(" \t\r\n") != std::string::npos;
  });
}

}  // namespace vh
