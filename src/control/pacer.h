#pragma once
// Lets a frequent step through at most once an interval: how a long run feeds its window without
// paying for it at every item.
#include <cstdint>

namespace vh {

class Pacer {
 public:
  explicit Pacer(uint64_t intervalMs) : interval_(intervalMs) {}
  // True the first time, then once `intervalMs` have passed since the last time it was true.
  bool Due(uint64_t nowMs) {
    if (started_ && nowMs - last_ < interval_) return false;
    started_ = true;
    last_ = nowMs;
    return true;
  }
  // The next Due is true whatever the time.
  void Restart() { started_ = false; }

 private:
  uint64_t interval_, last_ = 0;
  bool started_ = false;
};

}  // namespace vh
