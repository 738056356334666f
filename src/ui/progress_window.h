#pragma once
// The progress window of an operation: what it is doing, a bar and Cancel. Created once,
// hidden between runs; closing it asks the run to stop and hides it.
#include "control/progress_feed.h"
#include "control/shorten_path.h"
#include "platform/progress_view.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace vh::ui {

class ProgressWindow : public Window, public ProgressView {
 public:
  explicit ProgressWindow(const std::string& designCaption);

  void Begin() override;
  void Show(const std::string& caption, const std::string& doing) override;
  void Item(const std::string& doing, const std::string& path, uint64_t done, uint64_t total) override;
  bool StopAsked() override;
  void Hide() override { ShowWindow(Handle(), SW_HIDE); }

  Label FileLabel;
  Button CancelBtn;
  ui::ProgressBar ProgressBar;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Repaint();
  ProgressFeed feed_;
  bool stopAsked_ = false;
};

}  // namespace vh::ui
