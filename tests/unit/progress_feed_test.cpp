#include "control/progress_feed.h"

#include <gtest/gtest.h>

#include <vector>

namespace vh::test {
namespace {

// Four items of equal size, each read by the clock, then a turn during its copy and one after it.
TEST(ProgressFeedTest, WindowIsFedAFewDozenTimesASecondAndShowsTheLastItem) {
  struct Case {
    uint64_t msPerReading;  // how far the clock moves between two readings
    std::vector<int> shown;
    int turns;
  };
  const Case cases[] = {
      {0, {0, 3}, 1},
      // 7 ms a reading: an item is due after 33 ms, a turn after 30.
      {7, {0, 2, 3}, 2},
  };
  for (const Case& c : cases) {
    ProgressFeed feed;
    uint64_t now = 0;
    std::vector<int> shown;
    int turns = 0;
    for (int i = 0; i < 4; ++i) {
      if (feed.ItemDue(now += c.msPerReading, 100 * (i + 1), 400)) shown.push_back(i);
      for (int t = 0; t < 2; ++t) turns += feed.TurnDue(now += c.msPerReading) ? 1 : 0;
    }
    EXPECT_EQ(shown, c.shown) << c.msPerReading;
    EXPECT_EQ(turns, c.turns) << c.msPerReading;
    // The next run's first turn and item come at once: a click made just before is seen.
    feed.Restart();
    EXPECT_TRUE(feed.TurnDue(now));
    EXPECT_TRUE(feed.ItemDue(now, 0, 400));
  }
}

TEST(ProgressFeedTest, BarCountsTheWorkDoneAndStaysWithoutWork) {
  const struct {
    uint64_t done, total;
    std::optional<int> position;
  } cases[] = {
      {0, 600, 0}, {100, 600, 16}, {600, 600, 100}, {5'000'000'000'000, 10'000'000'000'000, 50}, {0, 0, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(BarPosition(c.done, c.total), c.position) << c.done << "/" << c.total;
}

}  // namespace
}  // namespace vh::test
