// The log page and the backup list grid on real controls in a hidden window.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "ui/list_view_grid.h"
#include "ui/rich_edit_page.h"

namespace vh::win32 {
namespace {

using Lines = std::vector<std::string>;
using ui::ListViewGrid;
using ui::RichEditPage;

class HiddenWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExW(0, L"STATIC", L"test host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
  }
  HWND window_ = nullptr;
};

class RichEditPageTest : public HiddenWindowTest {
 protected:
  void SetUp() override {
    HiddenWindowTest::SetUp();
    control_ = RichEditPage::Create(window_, 100);
    ASSERT_NE(control_, nullptr);
    page_ = std::make_unique<RichEditPage>(control_);
  }
  // The control's text as it holds it, breaks included.
  std::wstring RawText() const {
    GETTEXTEX query{};
    std::wstring text(1 << 16, L'\0');
    query.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    query.flags = GT_DEFAULT;
    query.codepage = 1200;
    text.resize(static_cast<size_t>(SendMessageW(control_, EM_GETTEXTEX,
                                                 reinterpret_cast<WPARAM>(&query),
                                                 reinterpret_cast<LPARAM>(text.data()))));
    return text;
  }
  HWND control_ = nullptr;
  std::unique_ptr<RichEditPage> page_;
};

TEST_F(RichEditPageTest, EmptyPageAndSingleEmptyLine) {
  EXPECT_TRUE(page_->Lines().empty());
  EXPECT_EQ(RawText(), L"");

  page_->SetLines({""});
  EXPECT_EQ(page_->Lines(), Lines{""});
  EXPECT_EQ(RawText(), L"\r");

  page_->SetLines({});
  EXPECT_TRUE(page_->Lines().empty());
  page_->Append("");
  EXPECT_EQ(page_->Lines(), Lines{""});
}

TEST_F(RichEditPageTest, AppendRemoveAndSetRoundTrip) {
  page_->Append("first");
  page_->Append("second");
  page_->Append("third");
  EXPECT_EQ(page_->Lines(), (Lines{"first", "second", "third"}));
  EXPECT_EQ(RawText(), L"first\rsecond\rthird\r");

  page_->RemoveFirst(0);
  EXPECT_EQ(page_->Lines().size(), 3u);
  page_->RemoveFirst(1);
  EXPECT_EQ(page_->Lines(), (Lines{"second", "third"}));
  page_->RemoveFirst(2);
  EXPECT_TRUE(page_->Lines().empty());

  page_->SetLines({"x", "", "y"});
  EXPECT_EQ(page_->Lines(), (Lines{"x", "", "y"}));
  page_->Append("z");
  EXPECT_EQ(page_->Lines(), (Lines{"x", "", "y", "z"}));
  page_->RemoveFirst(10);  // more than there are
  EXPECT_TRUE(page_->Lines().empty());
  EXPECT_EQ(RawText(), L"");
}

TEST_F(RichEditPageTest, NonAsciiTextRoundTrips) {
  const std::string line = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE6\x97\xA5\xE6\x9C\xAC "
                           "\xF0\x9F\x98\x80 caf\xC3\xA9";  // "Ωμέγα 日本 😀 café"
  page_->Append(line);
  page_->Append("after");
  EXPECT_EQ(page_->Lines(), (Lines{line, "after"}));
  page_->SetLines({"before", line});
  page_->RemoveFirst(1);
  EXPECT_EQ(page_->Lines(), Lines{line});
}

TEST_F(RichEditPageTest, LongLinesAreNotWrappedIntoSeveral) {
  // The control is 100 pixels wide: with word wrap, these would be several display lines each and
  // removing "one line" would cut into them.
  const std::string wide(400, 'w');
  page_->SetLines({wide + " a", wide + " b", "short"});
  page_->RemoveFirst(1);
  EXPECT_EQ(page_->Lines(), (Lines{wide + " b", "short"}));
}

TEST_F(RichEditPageTest, HoldsMoreThanTheDefaultTextLimitAndScrollsToTheEnd) {
  const std::string line(79, 'x');
  const int count = 1000;  // 80,000 characters, well over the 32K a rich edit takes by default
  for (int i = 0; i < count; ++i) page_->Append(line);
  const Lines lines = page_->Lines();
  ASSERT_EQ(lines.size(), static_cast<size_t>(count));
  EXPECT_EQ(lines.back(), line);

  page_->ScrollToEnd();
  CHARRANGE selection{};
  SendMessageW(control_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  EXPECT_EQ(selection.cpMin, selection.cpMax);
  EXPECT_EQ(selection.cpMin, count * 80);
  EXPECT_GT(SendMessageW(control_, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

class ListViewGridTest : public HiddenWindowTest {
 protected:
  void SetUp() override {
    HiddenWindowTest::SetUp();
    HWND control = ListViewGrid::Create(window_, 101);
    ASSERT_NE(control, nullptr);
    grid_ = std::make_unique<ListViewGrid>(control);
  }
  std::unique_ptr<ListViewGrid> grid_;
};

TEST_F(ListViewGridTest, HeaderRowAndCells) {
  EXPECT_EQ(grid_->ColCount(), 0);
  EXPECT_EQ(grid_->RowCount(), 1);  // the heading row is always there

  grid_->SetColCount(3);
  grid_->SetRowCount(3);
  EXPECT_EQ(grid_->ColCount(), 3);
  EXPECT_EQ(grid_->RowCount(), 3);
  grid_->SetCell(0, 0, "Folder");
  grid_->SetCell(1, 0, "Gr\xC3\xB6\xC3\x9F" "e");  // "Größe"
  grid_->SetCell(2, 0, "Files");
  grid_->SetCell(0, 1, "C:\\Data");
  grid_->SetCell(1, 1, "1,024");
  grid_->SetCell(2, 2, "\xE6\x97\xA5");
  EXPECT_EQ(grid_->Cell(0, 0), "Folder");
  EXPECT_EQ(grid_->Cell(1, 0), "Gr\xC3\xB6\xC3\x9F" "e");
  EXPECT_EQ(grid_->Cell(0, 1), "C:\\Data");
  EXPECT_EQ(grid_->Cell(1, 1), "1,024");
  EXPECT_EQ(grid_->Cell(2, 1), "");
  EXPECT_EQ(grid_->Cell(2, 2), "\xE6\x97\xA5");

  // Cells outside the grid are ignored rather than growing it.
  grid_->SetCell(3, 1, "no");
  grid_->SetCell(0, 3, "no");
  EXPECT_EQ(grid_->ColCount(), 3);
  EXPECT_EQ(grid_->RowCount(), 3);
}

TEST_F(ListViewGridTest, ShrinkingKeepsTheLeadingRowsAndColumns) {
  grid_->SetColCount(3);
  grid_->SetRowCount(4);
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 3; ++col)
      grid_->SetCell(col, row, std::to_string(col) + "," + std::to_string(row));

  grid_->SetColCount(2);
  grid_->SetRowCount(2);
  EXPECT_EQ(grid_->ColCount(), 2);
  EXPECT_EQ(grid_->RowCount(), 2);
  EXPECT_EQ(grid_->Cell(1, 0), "1,0");
  EXPECT_EQ(grid_->Cell(1, 1), "1,1");

  grid_->SetRowCount(5);  // new rows start empty
  EXPECT_EQ(grid_->RowCount(), 5);
  EXPECT_EQ(grid_->Cell(0, 1), "0,1");
  EXPECT_EQ(grid_->Cell(0, 4), "");

  grid_->SetRowCount(0);
  EXPECT_EQ(grid_->RowCount(), 1);
  EXPECT_EQ(grid_->Cell(0, 0), "0,0");  // the headings stay
}

}  // namespace
}  // namespace vh::win32
