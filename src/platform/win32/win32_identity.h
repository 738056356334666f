#pragma once
#include "platform/identity.h"

namespace vh::win32 {

class Win32Identity : public vh::Identity {
 public:
  std::string ComputerName() override;
  std::string UserName() override;
};

}  // namespace vh::win32
