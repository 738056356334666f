// The About box on screen, driven through its buttons and keys.
#include "ui/about_box.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modal_script.h"

namespace vh::test {
namespace {

class AboutBoxTest : public ::testing::Test {
 protected:
  AboutBoxTest() {
    box.openLink = [this](const std::string& target) { opened.push_back(target); };
  }
  ui::TAboutBox box;
  std::vector<std::string> opened;
};

TEST_F(AboutBoxTest, ShowsTheProductInBoldWithOkFocusedAndOkCloses) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(box.ProductName.Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  // Nothing is cut off.
  for (const ui::Control* label : {&box.ProductName, &box.Comments}) {
    RECT r;
    GetClientRect(label->Handle(), &r);
    EXPECT_LE(TextWidth(label->Handle(), label->Text()), r.right) << label->Text();
  }

  EXPECT_EQ(ShowWith(box, [&] {
              EXPECT_TRUE(box.Visible());
              EXPECT_EQ(GetFocus(), box.OKButton.Handle());
              box.OKButton.Click();
            }),
            IDOK);
  EXPECT_FALSE(box.Visible());
  EXPECT_TRUE(opened.empty());
}

TEST_F(AboutBoxTest, LinksOpenTheSiteAndTheMailAndTheBoxIsReused) {
  EXPECT_EQ(ShowWith(box, [&] {
              box.WebBtn.Click();
              box.EmailBtn.Click();
              // The focus left on Email: Enter still means OK.
              PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
            }),
            IDOK);
  // Each button its own address, the mail one for the mail program.
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_NE(opened[0], opened[1]);
  EXPECT_EQ(opened[1].rfind("mailto:", 0), 0u) << opened[1];

  // Shown again: the focus is back on OK; Escape and the close box end the showing too.
  EXPECT_EQ(ShowWith(box, [&] {
              EXPECT_EQ(GetFocus(), box.OKButton.Handle());
              PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
            }),
            IDCANCEL);
  EXPECT_EQ(ShowWith(box, [&] { SendMessageW(box.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }), IDCANCEL);
  EXPECT_TRUE(IsWindow(box.Handle()));
}

}  // namespace
}  // namespace vh::test
