#pragma once
#include "platform/message_boxes.h"

namespace vh::win32 {

class Win32MessageBoxes : public vh::MessageBoxes {
 public:
  int Show(const std::string& text, const std::string& caption, unsigned style) override;
};

}  // namespace vh::win32
