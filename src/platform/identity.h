#pragma once
#include <string>

namespace vh {

// Who and where the program runs. Empty text when the system cannot tell.
class Identity {
 public:
  virtual ~Identity() = default;
  virtual std::string ComputerName() = 0;
  virtual std::string UserName() = 0;
};

}  // namespace vh
