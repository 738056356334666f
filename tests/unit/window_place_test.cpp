#include "control/window_place.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

TEST(WindowPlaceTest, StoredPlacesComeBackWhollyOnAScreenAndNoNarrowerThanTheLeast) {
  const Box primary{0, 0, 1024, 768}, second{1024, 0, 800, 600};
  struct Case {
    Box stored;
    const Box* screen;
    Box expected;
  } cases[] = {
      {{100, 50, 600, 424}, &primary, {100, 50, 600, 424}},     // as it was
      {{100, 50, 300, 424}, &primary, {100, 50, 530, 424}},     // too narrow
      {{100, 50, 3000, 424}, &primary, {0, 50, 1024, 424}},     // wider than the screen
      {{900, 700, 600, 424}, &primary, {424, 344, 600, 424}},   // partly off its screen
      {{1500, 100, 600, 424}, &second, {1224, 100, 600, 424}},  // on the second screen
      {{5000, 100, 600, 424}, nullptr, {212, 172, 600, 424}},   // its screen is gone
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlaceStoredWindow(c.stored, 530, c.screen, primary), c.expected) << c.stored.left;
  }
}

}  // namespace
}  // namespace vh
