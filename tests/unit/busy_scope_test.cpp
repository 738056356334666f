#include "control/busy_scope.h"

#include <gtest/gtest.h>

#include <new>

namespace vh {
namespace {

class Window : public BusyStateView {
 public:
  BusyCode CurrentBusyState() const override { return state; }
  void SetBusyState(BusyCode code) override { state = code; }
  BusyCode state = kIdle;
};

// Each scope gives back the state it found, a throw included: an inner one gives the outer
// operation its state back, and the outer one leaves the window idle.
TEST(BusyScopeTest, EachScopeGivesBackTheStateItFoundAThrowIncluded) {
  Window window;
  try {
    const BusyScope outer(window, kAutomaticBackup);
    try {
      const BusyScope inner(window, kRemovingBackups);
      EXPECT_EQ(window.state, kRemovingBackups);
      throw std::bad_alloc();
    } catch (const std::bad_alloc&) {
    }
    EXPECT_EQ(window.state, kAutomaticBackup);
    throw std::bad_alloc();
  } catch (const std::bad_alloc&) {
  }
  EXPECT_EQ(window.state, kIdle);
}

}  // namespace
}  // namespace vh
