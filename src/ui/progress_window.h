#pragma once
// The progress window of an operation: what it is doing, a bar and Cancel. Created once,
// hidden between runs; closing it cancels the run and hides it.
#include <functional>

#include "platform/progress_view.h"
#include "ui/window.h"

namespace vh::ui {

class ProgressWindow : public Window, public ProgressView {
 public:
  explicit ProgressWindow(const std::string& designCaption);

  std::function<void()> onCancel;      // CancelBtn clicked
  std::function<void()> onCloseQuery;  // the close box or Alt+F4

  void SetCaption(const std::string& caption) override;
  void SetLabel(const std::string& text) override;
  void SetPosition(int position) override;
  void Show() override;
  void Hide() override;
  void BringToFront() override;
  void Repaint() override;
  int Width() override;
  int TextWidth(const std::string& text) override;
  void ProcessMessages() override { ProcessPendingMessages(); }

  HWND CancelBtn() const { return cancelBtn_; }
  HWND FileLabel() const { return fileLabel_; }
  HWND ProgressBar() const { return progressBar_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND fileLabel_ = nullptr, cancelBtn_ = nullptr, progressBar_ = nullptr;
};

}  // namespace vh::ui
