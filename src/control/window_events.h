#pragma once
// What the control window makes of the raw events that reach it: the end a session query means,
// the tray icon's mouse messages, the keys that turn its pages, the tree's picture size at a dpi.
#include <optional>

#include "control/control_window.h"
#include "control/scheduler.h"

namespace vh {

// The values the system sends, kept here so that the decisions can be tested without it.
inline constexpr unsigned long kEndSessionCloseApp = 0x00000001, kEndSessionLogOff = 0x80000000;
inline constexpr unsigned kTrayLeftUp = 0x0202, kTrayRightDown = 0x0204, kTrayBalloonClick = 0x0405;
inline constexpr unsigned kKeyTab = 0x09, kKeyPageUp = 0x21, kKeyPageDown = 0x22;

// The end a query of the session's end means by its flags; an installer's request to close the
// program is a close.
EndCause EndCauseOf(unsigned long flags);
// The tray event a callback's mouse message stands for; none for the moves and other buttons.
std::optional<TrayEvent> TrayEventOf(unsigned mouseMessage);

// The page that Ctrl with `key` leads to from `active` of `count`: Tab and Page Down the next,
// Shift+Tab and Page Up the one before, round at either end; none for other keys.
std::optional<int> PageAfterKey(unsigned key, bool shift, int active, int count);

// The tree's pictures are drawn in these sizes, one strip each; the strip to load is the largest
// that fits where 16 pixels at 96 dpi come to `scaled16`.
inline constexpr int kTreeImageSizes[] = {16, 20, 24, 32};
int TreeImageStrip(int scaled16);

}  // namespace vh
