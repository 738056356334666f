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

TEST(BusyScopeTest, AThrowInsideTheScopeLeavesTheWindowIdle) {
  Window window;
  try {
    const BusyScope busy(window, kManualBackup);
    EXPECT_EQ(window.state, kManualBackup);
    throw std::bad_alloc();
  } catch (const std::bad_alloc&) {
  }
  EXPECT_EQ(window.state, kIdle);
}

// A scope opened while another operation holds the window gives that operation its state back.
TEST(BusyScopeTest, AnInnerScopePutsBackTheOuterState) {
  Window window;
  const BusyScope outer(window, kAutomaticBackup);
  {
    const BusyScope inner(window, kRemovingBackups);
    EXPECT_EQ(window.state, kRemovingBackups);
  }
  EXPECT_EQ(window.state, kAutomaticBackup);
}

}  // namespace
}  // namespace vh
