#include "control/print_layout.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

TEST(PrintLayoutTest, TheTextKeepsTwelveMillimetresFromEveryEdgeOfThePaper) {
  struct Case {
    const char* what;
    PrinterPage page;
    PrintBox area;
  };
  // A4 at 600 dpi is 4960 x 7015 dots; 12 mm are 283.5 dots, so 284.
  const Case cases[] = {
      {"no unprintable border (a file printer)", {600, 600, 4960, 7015, 0, 0, 4960, 7015}, {284, 284, 4676, 6731}},
      {"a border of 100 dots counts towards the margin", {600, 600, 4960, 7015, 100, 100, 4760, 6815},
       {184, 184, 4576, 6631}},
      {"a border wider than the margin", {600, 600, 4960, 7015, 300, 300, 4360, 6415}, {0, 0, 4360, 6415}},
      {"an uneven border: the far edge is the device's", {600, 600, 4960, 7015, 100, 100, 4000, 6815},
       {184, 184, 4000, 6631}},
      {"different resolutions across and down", {300, 600, 2480, 7015, 0, 0, 2480, 7015}, {142, 284, 2338, 6731}},
      {"a paper size the device does not tell", {600, 600, 0, 0, 100, 100, 4760, 6815}, {184, 184, 4576, 6631}},
      {"a label smaller than the margins", {600, 600, 500, 500, 0, 0, 500, 500}, {0, 0, 500, 500}},
  };
  for (const Case& c : cases) EXPECT_EQ(PrintArea(c.page), c.area) << c.what;
}

TEST(PrintLayoutTest, OnlyBlankLinesAreNothingToPrint) {
  EXPECT_FALSE(HasTextToPrint({}));
  EXPECT_FALSE(HasTextToPrint({"", " ", "\t\t"}));
  EXPECT_TRUE(HasTextToPrint({"", "\t\tC:\\Docs"}));
}

}  // namespace
}  // namespace vh
