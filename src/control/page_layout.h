#pragma once
// How the control window's controls follow the window as it widens past its design width, in
// 96-dpi pixels.
#include "control/window_place.h"

namespace vh {

// Fixed: stays as designed. Right: moves with the window's right edge. Widen: grows with it.
// Fill: reaches the right edge of the area it is in.
enum class Anchor { Fixed, Right, Widen, Fill };

// The place of a control designed at `design`, the window `growth` pixels wider than designed and
// the control's area `areaWidth` wide.
constexpr Box Anchored(Box design, Anchor anchor, int growth, int areaWidth) {
  switch (anchor) {
    case Anchor::Right: design.left += growth; break;
    case Anchor::Widen: design.width += growth; break;
    case Anchor::Fill: design.width = areaWidth - design.left; break;
    case Anchor::Fixed: break;
  }
  return design;
}

constexpr int kSplitterWidth = 8;
constexpr int kMinPaneWidth = 40;

// The list grid's path column: `windowWidth` is the window's outer width, `splitterLeft` the left
// edge of the splitter.
constexpr int ListColumnWidth(int windowWidth, int splitterLeft) { return windowWidth - splitterLeft - 98; }

// The splitter's left edge kept so that the tree and the grid both stay in view.
constexpr int ClampSplitter(int left, int panelWidth) {
  const int most = panelWidth - kSplitterWidth - kMinPaneWidth;
  return left > most ? most : left < kMinPaneWidth ? kMinPaneWidth : left;
}

}  // namespace vh
