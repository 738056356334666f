#pragma once
// The progress window of an operation: what it is doing, a bar and Cancel. Created once,
// hidden between runs; closing it cancels the run and hides it.
#include <functional>

#include "platform/progress_view.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace vh::ui {

class ProgressWindow : public Window, public ProgressView {
 public:
  explicit ProgressWindow(const std::string& designCaption);

  std::function<void()> onCancel;      // CancelBtn clicked, or Esc
  std::function<void()> onCloseQuery;  // the close box or Alt+F4

  void SetCaption(const std::string& caption) override;
  void SetLabel(const std::string& text) override { FileLabel.SetText(text); }
  void SetPosition(int position) override { ProgressBar.SetPosition(position); }
  void Show() override { ShowWindow(Handle(), SW_SHOW); }
  void Hide() override { ShowWindow(Handle(), SW_HIDE); }
  void BringToFront() override;
  void Repaint() override;
  int Width() override;
  int TextWidth(const std::string& text) override { return Window::TextWidth(text); }
  void ProcessMessages() override { ProcessPendingMessages(); }
  uint64_t Ticks() override { return GetTickCount64(); }

  Label FileLabel;
  Button CancelBtn;
  ui::ProgressBar ProgressBar;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace vh::ui
