#include "ui/printer.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>

#include "control/print_layout.h"
#include "platform/win32/wide.h"

namespace vh::ui {
namespace {

constexpr UINT kTextFormat = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;

std::string DialogError(DWORD code) {
  switch (code) {
    case 0: return "";
    case PDERR_NODEFAULTPRN: return "No printer is installed.";
    case PDERR_PRINTERNOTFOUND: return "The chosen printer could not be found.";
    case PDERR_CREATEICFAILURE: return "The printer could not be opened.";
    default: return "The printing system reported error " + std::to_string(code) + ".";
  }
}

std::string SystemError(DWORD code) {
  if (code == 0) return "The printer did not take the log; nothing was printed.";
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = text ? win32::Narrow(text) : "";
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message.empty() ? "Printing failed (error " + std::to_string(code) + ")." : message;
}

// Fills `dialog` with the default printer's settings (and a device context when `flags` ask for
// one); an error text when there is no printer to be had.
std::string AskDefaultPrinter(PRINTDLGW& dialog, DWORD flags) {
  dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.Flags = PD_RETURNDEFAULT | PD_NOWARNING | flags;
  if (PrintDlgW(&dialog)) return "";
  const std::string error = DialogError(CommDlgExtendedError());
  return error.empty() ? DialogError(PDERR_NODEFAULTPRN) : error;
}

}  // namespace

Printer::~Printer() {
  if (devMode_) GlobalFree(devMode_);
  if (devNames_) GlobalFree(devNames_);
}

std::string Printer::Setup(HWND owner) {
  PRINTDLGW dialog{};
  if (devNames_) {
    dialog.hDevMode = devMode_;
    dialog.hDevNames = devNames_;
  } else if (std::string error = AskDefaultPrinter(dialog, 0); !error.empty()) {
    return error;  // with no printer at all there is nothing to set up; the dialog is not shown
  }
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.Flags = PD_PRINTSETUP | PD_NOWARNING;
  const BOOL chosen = PrintDlgW(&dialog);
  if (chosen || devNames_) {
    // The dialog may hand back other blocks than it was given; these are the ones that live.
    devMode_ = dialog.hDevMode;
    devNames_ = dialog.hDevNames;
  } else {
    // Cancelled before any choice: the prints go on following the default printer.
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
  }
  return chosen ? "" : DialogError(CommDlgExtendedError());
}

HDC Printer::OpenPrinter(std::string& error) {
  if (devNames_) {
    auto* names = static_cast<DEVNAMES*>(GlobalLock(devNames_));
    auto* mode = devMode_ ? static_cast<DEVMODEW*>(GlobalLock(devMode_)) : nullptr;
    const wchar_t* base = reinterpret_cast<const wchar_t*>(names);
    HDC dc = CreateDCW(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    if (mode) GlobalUnlock(devMode_);
    GlobalUnlock(devNames_);
    if (!dc) error = SystemError(GetLastError());
    return dc;
  }
  PRINTDLGW dialog;
  error = AskDefaultPrinter(dialog, PD_RETURNDC);
  if (!error.empty()) return nullptr;
  if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
  return dialog.hDC;
}

std::string Printer::Print(const std::vector<std::string>& lines, const std::string& document) {
  std::string error;
  HDC dc = OpenPrinter(error);
  if (!dc) return error;
  // The screen's message font, at 10 points on the printer.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW face = metrics.lfMessageFont;
  face.lfHeight = -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72);
  face.lfWidth = 0;
  HFONT font = CreateFontIndirectW(&face);
  HGDIOBJ oldFont = SelectObject(dc, font);
  const std::wstring name = win32::Widen(document);
  DOCINFOW info{};
  info.cbSize = sizeof info;
  info.lpszDocName = name.c_str();
  // The device's origin is the top-left corner of what it can print, not of the paper.
  const PrintBox box = PrintArea({GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY),
                                  GetDeviceCaps(dc, PHYSICALWIDTH), GetDeviceCaps(dc, PHYSICALHEIGHT),
                                  GetDeviceCaps(dc, PHYSICALOFFSETX), GetDeviceCaps(dc, PHYSICALOFFSETY),
                                  GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)});
  const RECT area{box.left, box.top, box.right, box.bottom};
  bool ok = StartDocW(dc, &info) > 0;
  if (ok) {
    ok = StartPage(dc) > 0;
    if (ok) {
      LayOutPages(dc, area, lines, [&] { return ok = EndPage(dc) > 0 && StartPage(dc) > 0; });
      if (ok) ok = EndPage(dc) > 0;
    }
    if (ok) ok = EndDoc(dc) > 0;
    if (!ok) {
      error = SystemError(GetLastError());
      AbortDoc(dc);
    }
  } else {
    error = SystemError(GetLastError());
  }
  SelectObject(dc, oldFont);
  DeleteObject(font);
  DeleteDC(dc);
  return error;
}

int LayOutPages(HDC dc, const RECT& area, const std::vector<std::string>& lines, const std::function<bool()>& newPage) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int lineHeight = std::max<int>(metrics.tmHeight, 1);
  int pages = 1;
  int y = area.top;
  for (const std::string& line : lines) {
    std::wstring text = win32::Widen(line);
    if (text.empty()) text = L" ";  // an empty line still takes its height
    RECT box{area.left, 0, area.right, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, kTextFormat | DT_CALCRECT);
    const int height = box.bottom - box.top;
    // A line that fits on a page starts on a page of its own rather than be split; a longer one
    // fills the room left and runs on, a slice of whole text lines on each page.
    if (y + height > area.bottom && y > area.top && height <= area.bottom - area.top) {
      if (!newPage()) return pages;
      ++pages;
      y = area.top;
    }
    int done = 0;  // of the line's height, what earlier pages hold
    while (true) {
      const int rest = height - done;
      const int room = area.bottom - y;
      int slice = rest <= room ? rest : room / lineHeight * lineHeight;
      if (slice <= 0 && y == area.top) slice = std::min(rest, lineHeight);  // a page lower than one text line
      if (slice > 0) {
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, area.left, y, area.right, y + slice);
        RECT draw{area.left, y - done, area.right, y - done + height};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &draw, kTextFormat);
        RestoreDC(dc, saved);
        done += slice;
        y += slice;
      }
      if (done >= height) break;
      if (!newPage()) return pages;
      ++pages;
      y = area.top;
    }
  }
  return pages;
}

}  // namespace vh::ui
