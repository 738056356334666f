#include "control/window_events.h"

#include <iterator>

namespace vh {

EndCause EndCauseOf(unsigned long flags) {
  if (flags & kEndSessionLogOff) return EndCause::LogOff;
  if (flags & kEndSessionCloseApp) return EndCause::Closed;
  return EndCause::ShutDown;
}

std::optional<TrayEvent> TrayEventOf(unsigned mouseMessage) {
  switch (mouseMessage) {
    case kTrayLeftUp: return TrayEvent::LeftClick;
    case kTrayRightDown: return TrayEvent::RightClick;
    case kTrayBalloonClick: return TrayEvent::BalloonClick;
  }
  return std::nullopt;
}

std::optional<int> PageAfterKey(unsigned key, bool shift, int active, int count) {
  int step = 0;
  if (key == kKeyTab) step = shift ? -1 : 1;
  if (key == kKeyPageDown) step = 1;
  if (key == kKeyPageUp) step = -1;
  if (step == 0 || count <= 0) return std::nullopt;
  return (active + step + count) % count;
}

int TreeImageStrip(int scaled16) {
  int strip = 0;
  for (int i = 1; i < static_cast<int>(std::size(kTreeImageSizes)); ++i) {
    if (kTreeImageSizes[i] <= scaled16) strip = i;
  }
  return strip;
}

}  // namespace vh
