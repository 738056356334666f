#pragma once
// The About box: the program's picture, name and version, and ways to reach its maker. Created
// once at start-up and shown modally whenever the user asks for it.
#include <functional>
#include <string>

#include "ui/controls.h"
#include "ui/window.h"

namespace vh::ui {

// An icon drawn by a static control.
class IconImage : public Control {
 public:
  void Create(Window& parent, HICON icon, int x, int y, int width, int height);
};

class TAboutBox : public Window {
 public:
  TAboutBox();
  ~TAboutBox() override;

  // Opens a web or mail-to address with the shell; tests watch it instead.
  std::function<void(const std::string& target)> openLink;

  void FormShow();
  void OKButtonClick();
  void WebBtnClick();
  void EmailBtnClick();

  IconImage ProgramIcon;
  Label ProductName;
  Label Comments;
  Button WebBtn;
  Button EmailBtn;
  Button OKButton;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void DpiChanged() override;

 private:
  HICON icon_ = nullptr;
  HFONT boldFont_ = nullptr;
};

}  // namespace vh::ui
