#include "ui/progress_window.h"

#include <commctrl.h>

#include "platform/win32/wide.h"

namespace vh::ui {
namespace {
constexpr int kCancelBtnId = 2;  // IDCANCEL, so Esc presses it too
}

ProgressWindow::ProgressWindow(const std::string& designCaption) {
  CreateCentred(L"VesperhollowProgress", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, designCaption, 353, 61);
  fileLabel_ = CreateControl(L"STATIC", "", SS_LEFT | SS_NOPREFIX, 8, 8, 337, 16, 1);
  cancelBtn_ = CreateControl(L"BUTTON", "&Cancel", BS_PUSHBUTTON | WS_TABSTOP, 272, 32, 75, 25, kCancelBtnId);
  progressBar_ = CreateControl(PROGRESS_CLASSW, "", 0, 8, 40, 249, 9, 3);
  SendMessageW(progressBar_, PBM_SETRANGE32, 0, 100);
}

void ProgressWindow::SetCaption(const std::string& caption) { SetWindowTextW(Handle(), win32::Widen(caption).c_str()); }
void ProgressWindow::SetLabel(const std::string& text) { SetWindowTextW(fileLabel_, win32::Widen(text).c_str()); }
void ProgressWindow::SetPosition(int position) { SendMessageW(progressBar_, PBM_SETPOS, position, 0); }
void ProgressWindow::Show() { ShowWindow(Handle(), SW_SHOW); }
void ProgressWindow::Hide() { ShowWindow(Handle(), SW_HIDE); }

void ProgressWindow::BringToFront() {
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(Handle());
}

void ProgressWindow::Repaint() { RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

int ProgressWindow::Width() {
  RECT r;
  GetWindowRect(Handle(), &r);
  return r.right - r.left;
}

int ProgressWindow::TextWidth(const std::string& text) {
  HDC dc = GetDC(fileLabel_);
  HGDIOBJ old = SelectObject(dc, Font());
  const std::wstring wide = win32::Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(fileLabel_, dc);
  return size.cx;
}

LRESULT ProgressWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kCancelBtnId && onCancel) onCancel();
      return 0;
    case WM_CLOSE:
      // The window is reused for every run, so closing only hides it.
      if (onCloseQuery) onCloseQuery();
      Hide();
      return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace vh::ui
