#pragma once
#include <windows.h>

#include "platform/text_page.h"

namespace vh::ui {

// The log page over a rich edit control (plain text, read-only, no word wrap). Every line is held
// followed by a line break, so an empty control holds no lines and "\r" holds one empty line.
// The control stays owned by its parent window.
class RichEditPage : public vh::TextPage {
 public:
  // Makes the control ready for the page: no word wrap (so display lines are the page's lines),
  // no undo history, and no limit on the text length.
  explicit RichEditPage(HWND control);

  // Creates a rich edit control suited to the page as a child of `parent`; null on failure.
  static HWND Create(HWND parent, int id);

  HWND hwnd() const { return control_; }

  std::vector<std::string> Lines() const override;
  void SetLines(const std::vector<std::string>& lines) override;
  void Append(const std::string& line) override;
  void RemoveFirst(int count) override;
  void ScrollToEnd() override;

 private:
  std::wstring Text() const;

  HWND control_;
};

}  // namespace vh::ui
