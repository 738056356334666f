#pragma once
// The busy state held while an operation runs, and given back however the operation ends.
#include "control/scheduler.h"

namespace vh {

// What shows the busy state: the control window.
class BusyStateView {
 public:
  virtual ~BusyStateView() = default;
  virtual BusyCode CurrentBusyState() const = 0;
  virtual void SetBusyState(BusyCode code) = 0;
};

// Sets `code` for the life of the scope, then puts back the state it found, a throw included:
// a window left busy stays disabled, its tray icon deaf, and every timed backup refused.
class BusyScope {
 public:
  BusyScope(BusyStateView& view, BusyCode code) : view_(view), previous_(view.CurrentBusyState()) {
    view_.SetBusyState(code);
  }
  ~BusyScope() {
    try {
      view_.SetBusyState(previous_);
    } catch (...) {
      // A destructor must not throw; the state itself is set before anything that can.
    }
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  BusyStateView& view_;
  const BusyCode previous_;
};

}  // namespace vh
