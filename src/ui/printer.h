#pragma once
// The printer: the one chosen in the platform's set-up dialog since the program started, else
// the default one; and text printed on it as one job.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vh::ui {

class Printer {
 public:
  Printer() = default;
  ~Printer();
  Printer(const Printer&) = delete;
  Printer& operator=(const Printer&) = delete;

  // The set-up dialog; the printer and page chosen hold for the prints that follow, and a
  // cancel changes nothing. The printing system's error text when it cannot be shown (no
  // printer), else empty.
  std::string Setup(HWND owner);
  // Prints `lines` as one job named `document` inside the margins of each page, running on to
  // new pages. The printing system's error text when it fails, else empty.
  std::string Print(const std::vector<std::string>& lines, const std::string& document);

 private:
  HDC OpenPrinter(std::string& error);

  HGLOBAL devMode_ = nullptr;
  HGLOBAL devNames_ = nullptr;
};

// Lays `lines` out in `area` of `dc` in the font selected into it, one under the other, a line
// too wide broken over more; when the next line does not fit, `newPage` is called (false stops
// the printing) and it goes on at the top. TABs stand where the text control shows them.
// Returns the number of pages used.
int LayOutPages(HDC dc, const RECT& area, const std::vector<std::string>& lines, const std::function<bool()>& newPage);

}  // namespace vh::ui
