#include "ui/progress_window.h"

#include "platform/win32/wide.h"

namespace vh::ui {

ProgressWindow::ProgressWindow(const std::string& designCaption) {
  CreateCentred(L"VesperhollowProgress", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, designCaption, 353, 61);
  FileLabel.Create(*this, "", 8, 8, 337, 16);
  CancelBtn.Create(*this, Button::Push, "&Cancel", 272, 32, 75, 25);
  ProgressBar.Create(*this, 8, 40, 249, 9);
  CancelBtn.onClick = [this] {
    if (onCancel) onCancel();
  };
}

void ProgressWindow::SetCaption(const std::string& caption) { SetWindowTextW(Handle(), win32::Widen(caption).c_str()); }

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


LRESULT ProgressWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL && onCancel) onCancel();  // Esc
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
