#include "ui/drag_drop.h"

namespace vh::ui {
namespace {

// The next message other than a timer's, waiting for one when none is there. Timer messages stay
// queued for after the drag: a tick must not start a backup while the mouse is captured.
bool NextMessageButTimers(MSG& msg) {
  if (PeekMessageW(&msg, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
      PeekMessageW(&msg, nullptr, WM_TIMER + 1, 0xFFFFFFFF, PM_REMOVE)) {
    return true;
  }
  MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT & ~QS_TIMER, 0);
  return false;
}

}  // namespace

void DragDrop::AddTarget(Control& target, std::function<bool(const Control&)> accepts,
                         std::function<void(const Control&)> drop) {
  targets_.push_back({&target, std::move(accepts), std::move(drop)});
}

const DragDrop::Target* DragDrop::TargetAt(POINT screen, const Control& source) const {
  // The window under the point may be a part of a control (a list view's heading).
  for (HWND w = WindowFromPoint(screen); w; w = GetParent(w)) {
    for (const Target& t : targets_) {
      if (t.control->Handle() == w) return t.accepts(source) ? &t : nullptr;
    }
  }
  return nullptr;
}

bool DragDrop::Drag(Control& source, std::optional<POINT> press) {
  HWND hwnd = source.Handle();
  if (press && !DragDetect(hwnd, *press)) return false;
  SetCapture(hwnd);
  HCURSOR no = LoadCursorW(nullptr, IDC_NO);
  HCURSOR previous = ::SetCursor(no);
  const Target* dropOn = nullptr;
  MSG msg;
  bool going = true;
  while (going && GetCapture() == hwnd) {
    if (!NextMessageButTimers(msg)) continue;
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
      // Captured mouse messages carry points of the window they were sent to.
      POINT screen = PointOf(msg.lParam);
      ClientToScreen(msg.hwnd, &screen);
      const Target* target = TargetAt(screen, source);
      ::SetCursor(target && cursor_ ? cursor_ : no);
      if (msg.message == WM_LBUTTONUP) {
        dropOn = target;
        going = false;
      }
    } else if (msg.message == WM_KEYDOWN) {
      if (msg.wParam == VK_ESCAPE) going = false;
    } else if (msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST) {
      // The other buttons and the wheel do nothing while the left button drags.
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  ::SetCursor(previous);
  if (!dropOn) return false;
  dropOn->drop(source);
  return true;
}

}  // namespace vh::ui
