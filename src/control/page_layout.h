#pragma once
// Where the control window's right-hand controls go as the window widens, in 96-dpi pixels.

namespace vh {

struct PageLayout {
  int rightButtonsLeft;  // Help, OK, About and Sub-folder
  int destBoxWidth;      // the backup-folder box
  int backupEditWidth;   // the backup-folder edit inside it
  int changeBtnLeft;     // the Change button inside it
  int listColumnWidth;   // the list grid's path column
};

constexpr int kSplitterWidth = 8;
constexpr int kMinPaneWidth = 40;

// `windowWidth` is the window's outer width; `splitterLeft` the left edge of the splitter.
constexpr PageLayout LayoutFor(int windowWidth, int splitterLeft) {
  return {windowWidth - 100, windowWidth - 305, windowWidth - 321, windowWidth - 369,
          windowWidth - splitterLeft - 98};
}

// The splitter's left edge kept so that the tree and the grid both stay in view.
constexpr int ClampSplitter(int left, int panelWidth) {
  const int most = panelWidth - kSplitterWidth - kMinPaneWidth;
  return left > most ? most : left < kMinPaneWidth ? kMinPaneWidth : left;
}

}  // namespace vh
