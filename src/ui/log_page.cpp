// The Log page: the log, its commands and its printing.
#include "ui/main_form.h"

#include "control/print_layout.h"
#include "platform/system.h"
#include "ui/main_form_constants.h"

namespace vh::ui {

void TMainForm::CreateLogPage() {
  SetContainer(Pages.Panel(kLogPage));
  RichEdit.Create(*this, &win32::RichEditPage::Create, 0, 0, kDesignWidth - 8, 265);
  logPage_ = std::make_unique<win32::RichEditPage>(RichEdit.Handle());
  LogPanel.Create(*this, 7, 280, 161, 73, ui::Panel::Raised);
  PrintPanel.Create(*this, 184, 280, 121, 73, ui::Panel::Raised);
  HelpBtn4.Create(*this, Button::Push, "&Help", 430, 302, 75, 25);
  OKBtn4.Create(*this, Button::DefaultPush, "OK", 430, 330, 75, 25);
  SetContainer(LogPanel.Handle());
  ClearLogBtn.Create(*this, Button::Push, "&Clear Log", 14, 8, 75, 25);
  EnableLogChk.Create(*this, Button::CheckBox, "Enable &logging", 14, 40, 135, 25);
  SetContainer(PrintPanel.Handle());
  SetupPrinterBtn.Create(*this, Button::Push, "&Setup Printer", 14, 8, 85, 25);
  PrintBtn.Create(*this, Button::Push, "&Print Log", 14, 40, 85, 25);
  SetContainer(nullptr);
  SetHelpContext({&RichEdit, &LogPanel, &ClearLogBtn, &EnableLogChk, &PrintPanel, &SetupPrinterBtn, &PrintBtn}, 31);
  ClearLogBtn.onClick = [this] { ClearLogBtnClick(); };
  EnableLogChk.onClick = [this] { EnableLogChkClick(); };
  SetupPrinterBtn.onClick = [this] { SetupPrinterBtnClick(); };
  PrintBtn.onClick = [this] { PrintBtnClick(); };
  HelpBtn4.onClick = [this] { HelpBtnClick(); };
  OKBtn4.onClick = [this] { OKBtnClick(); };
}

void TMainForm::LayOutLogPage(int pageWidth) {
  RichEdit.SetBounds(0, 0, pageWidth, 265);
}

void TMainForm::LogTabSheetShow() {
  if (!Logic.HasLog()) return;
  RichEdit.Focus();
  Logic.Log().ScrollToEnd();  // the newest line in view
}

void TMainForm::ClearLogBtnClick() { Logic.Log().Clear(); }

void TMainForm::EnableLogChkClick() { EnableLogChk.Checked() ? Logic.Log().Enable() : Logic.Log().Disable(); }

void TMainForm::PrintBtnClick() {
  const std::vector<std::string> lines = logPage_->Lines();
  if (!HasTextToPrint(lines)) {
    Boxes().Show("The log is empty: there is nothing to print.", kAppCaption, kMbOk | kMbIconInformation);
    return;
  }
  const std::string error = PrinterSetup.Print(lines, kAppCaption);
  if (!error.empty()) Boxes().Show(error, kAppCaption, kMbOk | kMbIconHand);
}

void TMainForm::SetupPrinterBtnClick() {
  const std::string error = PrinterSetup.Setup(Handle());
  if (!error.empty()) Boxes().Show(error, kAppCaption, kMbOk | kMbIconHand);
}

}  // namespace vh::ui
