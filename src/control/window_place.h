#pragma once
// Where the control window reopens from its stored place: at least its least width and no wider
// than the screen, wholly on the screen it was on, or centred on the main screen when that
// screen is gone.
#include <algorithm>

namespace vh {

struct Box {
  int left, top, width, height;
  bool operator==(const Box&) const = default;
};

// `screen` is the work area of the screen the stored place lies on, or null when it lies on none.
constexpr Box PlaceStoredWindow(Box stored, int minWidth, const Box* screen, const Box& primary) {
  const Box& area = screen ? *screen : primary;
  const int width = std::max(minWidth, std::min(stored.width, area.width));
  if (!screen) return {primary.left + (primary.width - width) / 2, primary.top + (primary.height - stored.height) / 2,
                       width, stored.height};
  const int left = std::max(area.left, std::min(stored.left, area.left + area.width - width));
  const int top = std::max(area.top, std::min(stored.top, area.top + area.height - stored.height));
  return {left, top, width, stored.height};
}

}  // namespace vh
