// The Log page: the log and its commands.
#include "ui/main_form.h"

#include "platform/system.h"
#include "ui/main_form_constants.h"

namespace vh::ui {

void TMainForm::CreateLogPage() {
  SetContainer(Pages.Panel(kLogPage));
  RichEdit.Create(*this, &win32::RichEditPage::Create, 0, 0, kDesignWidth - 8, 265);
  logPage_ = std::make_unique<win32::RichEditPage>(RichEdit.Handle());
  LogPanel.Create(*this, "", 7, 280, 161, 73);
  SetWindowLongW(LogPanel.Handle(), GWL_STYLE, GetWindowLongW(LogPanel.Handle(), GWL_STYLE) | SS_ETCHEDFRAME);
  ClearLogBtn.Create(*this, Button::Push, "&Clear Log", 7 + 14, 280 + 8, 75, 25);
  EnableLogChk.Create(*this, Button::CheckBox, "Enable logging", 7 + 14, 280 + 40, 135, 25);
  HelpBtn4.Create(*this, Button::Push, "&Help", 430, 302, 75, 25);
  OKBtn4.Create(*this, Button::Push, "OK", 430, 330, 75, 25);
  for (Control* c : std::initializer_list<Control*>{&RichEdit, &LogPanel, &ClearLogBtn, &EnableLogChk}) {
    c->SetHelpContext(31);
  }
  SetContainer(nullptr);
  ClearLogBtn.onClick = [this] { Log->Clear(); };
  EnableLogChk.onClick = [this] { EnableLogChk.Checked() ? Log->Enable() : Log->Disable(); };
  HelpBtn4.onClick = [this] { HelpBtnClick(); };
  OKBtn4.onClick = [this] { OKBtnClick(); };
}

}  // namespace vh::ui
