#include "control/window_events.h"

#include <gtest/gtest.h>

namespace vh::test {
namespace {

TEST(WindowEventsTest, ASessionQueryTheTrayAndThePageKeysMeanWhatTheWindowDoes) {
  EXPECT_EQ(EndCauseOf(0), EndCause::ShutDown);
  EXPECT_EQ(EndCauseOf(kEndSessionCloseApp), EndCause::Closed);  // an installer's request
  EXPECT_EQ(EndCauseOf(kEndSessionLogOff | kEndSessionCloseApp), EndCause::LogOff);
  EXPECT_EQ(TrayEventOf(kTrayLeftUp), TrayEvent::LeftClick);
  EXPECT_EQ(TrayEventOf(kTrayRightDown), TrayEvent::RightClick);
  EXPECT_EQ(TrayEventOf(kTrayBalloonClick), TrayEvent::BalloonClick);
  for (unsigned other : {0x0200u, 0x0201u, 0x0203u, 0x0205u}) EXPECT_EQ(TrayEventOf(other), std::nullopt) << other;

  const struct {
    unsigned key;
    bool shift;
    int from;
    std::optional<int> to;
  } keys[] = {{kKeyTab, false, 2, 0},     {kKeyTab, true, 0, 2},     {kKeyPageDown, true, 1, 2},
              {kKeyPageUp, false, 0, 2},  {0x41, false, 1, std::nullopt}};
  for (const auto& k : keys) EXPECT_EQ(PageAfterKey(k.key, k.shift, k.from, 3), k.to) << k.key << " from " << k.from;
}

TEST(WindowEventsTest, TheTreeTakesTheLargestPicturesThatFitTheDpi) {
  const std::pair<int, int> cases[] = {{12, 16}, {19, 16}, {20, 20}, {28, 24}, {32, 32}, {48, 32}};
  for (auto [scaled16, size] : cases) EXPECT_EQ(kTreeImageSizes[TreeImageStrip(scaled16)], size) << scaled16;
}

}  // namespace
}  // namespace vh::test
