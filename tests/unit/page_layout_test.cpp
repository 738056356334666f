// How a control follows the control window as it widens.
#include "control/page_layout.h"

#include <gtest/gtest.h>

namespace vh::test {
namespace {

TEST(PageLayoutTest, EachAnchorKeepsItsEdgesWhereTheWindowTakesThem) {
  const Box design{186, 269, 225, 84};
  const int designRight = design.left + design.width;
  struct Case {
    Anchor anchor;
    int growth, areaWidth;
    int left, right;  // the edges expected
  };
  const Case cases[] = {
      {Anchor::Fixed, 170, 684, design.left, designRight},
      {Anchor::Right, 170, 684, design.left + 170, designRight + 170},  // keeps its width and its gap to the edge
      {Anchor::Widen, 170, 684, design.left, designRight + 170},
      {Anchor::Fill, 170, 684, design.left, 684},
      {Anchor::Right, 0, 514, design.left, designRight},  // at the design width, the design place
      {Anchor::Widen, 0, 514, design.left, designRight},
  };
  for (const Case& c : cases) {
    const Box place = Anchored(design, c.anchor, c.growth, c.areaWidth);
    EXPECT_EQ(place.left, c.left) << static_cast<int>(c.anchor) << " by " << c.growth;
    EXPECT_EQ(place.left + place.width, c.right) << static_cast<int>(c.anchor) << " by " << c.growth;
    EXPECT_EQ(place.top, design.top);
    EXPECT_EQ(place.height, design.height);
  }
}

}  // namespace
}  // namespace vh::test
