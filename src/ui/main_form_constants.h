#pragma once
// What the files of the control window share: its sizes, help file, page numbers and menu items.
#include <windows.h>

#include "platform/message_boxes.h"

namespace vh::ui {

inline constexpr int kDesignWidth = 522, kDesignHeight = 389;  // client area
inline constexpr int kMinWidth = 530;  // outer width of the design
inline constexpr UINT kBackupTimerMs = 60000;
inline constexpr DWORD kWindowHelp = 22;  // the window's own help topic
inline constexpr UINT kQuestion = kMbYesNo | kMbIconQuestion | kMbDefButton2;

enum PopupItem : UINT { kConfigure = 1, kSuppress, kBackupNow, kAbout, kExit, kVersions };
enum Page : int { kControlPage = 0, kSelectPage = 1, kLogPage = 2 };

}  // namespace vh::ui
