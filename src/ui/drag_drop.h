#pragma once
// Drag and drop between the controls of one window: a drag carries only where it came from;
// each target says which sources it accepts and what a drop on it does.
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "ui/controls.h"

namespace vh::ui {

class DragDrop {
 public:
  // The cursor shown over a target that accepts the drag, a cursor resource of the program;
  // elsewhere the "no" cursor shows.
  void SetCursor(int resourceId) {
    cursor_ = static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_CURSOR,
                                              0, 0, LR_DEFAULTSIZE | LR_SHARED));
  }
  void AddTarget(Control& target, std::function<bool(const Control& source)> accepts,
                 std::function<void(const Control& source)> drop);
  // Follows the mouse from `source` until the left button comes up, and drops on the target under
  // the pointer when it accepts `source`; Esc or a lost capture drops nothing. Given the `press`
  // (a screen point) that may start it, the drag begins only once the pointer has moved past the
  // platform's drag threshold from there, so a click stays a click. True when something was dropped.
  bool Drag(Control& source, std::optional<POINT> press = std::nullopt);

 private:
  struct Target {
    Control* control;
    std::function<bool(const Control&)> accepts;
    std::function<void(const Control&)> drop;
  };
  // The target under a screen point that accepts `source`, or null.
  const Target* TargetAt(POINT screen, const Control& source) const;

  HCURSOR cursor_ = nullptr;
  std::vector<Target> targets_;
};

}  // namespace vh::ui
