#include "ui/progress_window.h"

#include "platform/win32/wide.h"

namespace vh::ui {

ProgressWindow::ProgressWindow(const std::string& designCaption) {
  CreateCentred(L"VesperhollowProgress", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, designCaption, 353, 61);
  FileLabel.Create(*this, "", 8, 8, 337, 16);
  CancelBtn.Create(*this, Button::Push, "&Cancel", 272, 32, 75, 25);
  ProgressBar.Create(*this, 8, 40, 249, 9);
  CancelBtn.onClick = [this] { stopAsked_ = true; };
}

void ProgressWindow::Begin() {
  stopAsked_ = false;
  feed_.Restart();
}

void ProgressWindow::Show(const std::string& caption, const std::string& doing) {
  SetWindowTextW(Handle(), win32::Widen(caption).c_str());
  FileLabel.SetText(doing);
  ProgressBar.SetPosition(0);
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(Handle());
  ShowWindow(Handle(), SW_SHOW);
  Repaint();
}

void ProgressWindow::Item(const std::string& doing, const std::string& path, uint64_t done, uint64_t total) {
  if (!feed_.ItemDue(GetTickCount64(), done, total)) return;
  if (const std::optional<int> position = BarPosition(done, total)) ProgressBar.SetPosition(*position);
  RECT r;
  GetWindowRect(Handle(), &r);
  // The path gets three quarters of the window's width.
  const int limit = (r.right - r.left) * 3 / 4;
  FileLabel.SetText(doing + ShortenPath(path, limit, [this](const std::string& text) { return TextWidth(text); }));
  Repaint();
}

bool ProgressWindow::StopAsked() {
  if (feed_.TurnDue(GetTickCount64())) ProcessPendingMessages();
  return stopAsked_;
}

void ProgressWindow::Repaint() { RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

LRESULT ProgressWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) stopAsked_ = true;  // Esc
      return 0;
    case WM_CLOSE:
      // The window is reused for every run, so closing only hides it.
      stopAsked_ = true;
      Hide();
      return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace vh::ui
