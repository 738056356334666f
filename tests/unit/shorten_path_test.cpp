#include "control/shorten_path.h"

#include <gtest/gtest.h>

namespace vh::test {
namespace {

TEST(ShortenPathTest, LeavesOutLeadingFoldersUntilThePathFits) {
  const std::string path = "C:\\Data\\Projects\\Old\\report.doc";
  const auto width = [](const std::string& text) { return 7 * static_cast<int>(text.size()); };  // 7 px a character
  for (const std::string expected : {path, std::string("C:\\...\\Projects\\Old\\report.doc"),
                                     std::string("C:\\...\\Old\\report.doc"), std::string("C:\\...\\report.doc"),
                                     std::string("...\\report.doc"), std::string("report.doc")}) {
    EXPECT_EQ(ShortenPath(path, 7 * static_cast<int>(expected.size()), width), expected);
  }
  EXPECT_EQ(ShortenPath(path, 1, width), "report.doc");  // the name stays whole, however narrow
}

}  // namespace
}  // namespace vh::test
