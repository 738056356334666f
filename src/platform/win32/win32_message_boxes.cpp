#include "platform/win32/win32_message_boxes.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace vh::win32 {

int Win32MessageBoxes::Show(const std::string& text, const std::string& caption, unsigned style) {
  // Owned by the active window so it stays in front of it and disables it while open.
  return MessageBoxW(GetActiveWindow(), Widen(text).c_str(), Widen(caption).c_str(), style);
}

}  // namespace vh::win32
