#pragma once
// Where the log goes on a printed page, and whether there is anything to print.
#include <string>
#include <vector>

namespace vh {

// A printer's page in its own device units: dots per inch, the paper's size (0 when the device
// does not tell it), and where its printable area starts on the paper and how big it is.
struct PrinterPage {
  int dpiX = 0, dpiY = 0;
  int paperWidth = 0, paperHeight = 0;
  int offsetX = 0, offsetY = 0;
  int printableWidth = 0, printableHeight = 0;
};

struct PrintBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const PrintBox&) const = default;
};

// The area to print in, in the printable area's coordinates (its top-left corner is 0, 0): at
// least 12 mm from every edge of the paper, whatever part of that the device's own unprintable
// border already takes, and never outside the printable area. A paper too small for the
// margins gets the whole printable area.
PrintBox PrintArea(const PrinterPage& page);

// False when the lines are all blank: a print of them would be an empty page.
bool HasTextToPrint(const std::vector<std::string>& lines);

}  // namespace vh
