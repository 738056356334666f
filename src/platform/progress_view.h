#pragma once
// The progress window of a long operation, as the operations drive it.
#include <cstdint>
#include <string>

namespace vh {

class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetLabel(const std::string& text) = 0;
  // 0 to 100.
  virtual void SetPosition(int position) = 0;
  // Shows the window without making it modal.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual void BringToFront() = 0;
  virtual void Repaint() = 0;
  // The window's outer width and the width of a text in its font, in pixels.
  virtual int Width() = 0;
  virtual int TextWidth(const std::string& text) = 0;
  // Lets pending window messages run: where Cancel and the close box get their turn.
  virtual void ProcessMessages() = 0;
  // A steady clock in milliseconds, against which the window is fed: the runs let messages
  // through and change the label a few dozen times a second, not at every item.
  virtual uint64_t Ticks() = 0;
};

}  // namespace vh
