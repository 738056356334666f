#include "control/window_events.h"

#include <gtest/gtest.h>

namespace vh::test {
namespace {

TEST(WindowEventsTest, ASessionQuerysFlagsTellTheEnd) {
  const struct {
    unsigned long flags;
    EndCause cause;
  } cases[] = {
      {0, EndCause::ShutDown},
      {kEndSessionCloseApp, EndCause::Closed},
      {kEndSessionLogOff, EndCause::LogOff},
      {kEndSessionLogOff | kEndSessionCloseApp, EndCause::LogOff},
      {0x40000000, EndCause::ShutDown},  // a critical end is still a shut-down
  };
  for (const auto& c : cases) EXPECT_EQ(EndCauseOf(c.flags), c.cause) << std::hex << c.flags;
}

TEST(WindowEventsTest, OnlyALeftReleaseARightPressAndABalloonClickAreTrayEvents) {
  const struct {
    unsigned message;
    std::optional<TrayEvent> event;
  } cases[] = {
      {kTrayLeftUp, TrayEvent::LeftClick},   {kTrayRightDown, TrayEvent::RightClick},
      {kTrayBalloonClick, TrayEvent::BalloonClick},
      {0x0200, std::nullopt},  // a move
      {0x0201, std::nullopt},  // the left press before its release
      {0x0205, std::nullopt},  // the right release after its press
      {0x0203, std::nullopt},  // a double click
  };
  for (const auto& c : cases) EXPECT_EQ(TrayEventOf(c.message), c.event) << std::hex << c.message;
}

TEST(WindowEventsTest, CtrlTabAndPageKeysTurnThePagesRoundEitherEnd) {
  const struct {
    unsigned key;
    bool shift;
    int active;
    std::optional<int> page;
  } cases[] = {
      {kKeyTab, false, 0, 1},    {kKeyTab, false, 2, 0},    {kKeyTab, true, 0, 2},     {kKeyTab, true, 2, 1},
      {kKeyPageDown, false, 1, 2}, {kKeyPageDown, true, 2, 0}, {kKeyPageUp, false, 0, 2}, {kKeyPageUp, true, 1, 0},
      {0x41, false, 1, std::nullopt},  // any other key leaves the page
      {0x0D, true, 1, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PageAfterKey(c.key, c.shift, c.active, 3), c.page) << c.key << " shift " << c.shift << " from " << c.active;
  }
}

TEST(WindowEventsTest, TheTreeTakesTheLargestPicturesThatFitTheDpi) {
  const struct {
    int scaled16, size;
  } cases[] = {{16, 16}, {19, 16}, {20, 20}, {23, 20}, {24, 24}, {28, 24}, {32, 32}, {48, 32}, {12, 16}};
  for (const auto& c : cases) EXPECT_EQ(kTreeImageSizes[TreeImageStrip(c.scaled16)], c.size) << c.scaled16;
}

}  // namespace
}  // namespace vh::test
