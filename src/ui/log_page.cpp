// The Log page: the log, its commands and its printing.
#include "ui/log_page.h"

#include "ui/main_form.h"

#include "control/print_layout.h"
#include "platform/system.h"
#include "ui/main_form_constants.h"

namespace vh::ui {
namespace {

constexpr DWORD kLogHelp = 31;  // one topic for the whole page but its OK and Help

}  // namespace


void LogPage::Create(TMainForm& form, HWND page) {
  using K = ControlKind;
  table_.Create(form, page, {
    {&RichEdit, K::Hosted, "", {0, 0, kDesignWidth - 8, 265}, kLogHelp, {}, nullptr, Anchor::Fill},
    {&LogPanel, K::RaisedPanel, "", {7, 280, 161, 73}, kLogHelp},
    {&PrintPanel, K::RaisedPanel, "", {184, 280, 121, 73}, kLogHelp},
    {&HelpBtn4, K::Push, "&Help", {430, 302, 75, 25}, 0, [&form] { form.HelpBtnClick(); }, nullptr, Anchor::Right},
    {&OKBtn4, K::DefaultPush, "OK", {430, 330, 75, 25}, 0, [&form] { form.OKBtnClick(); }, nullptr, Anchor::Right},
    {&ClearLogBtn, K::Push, "&Clear Log", {14, 8, 75, 25}, kLogHelp, [&form] { form.ClearLogBtnClick(); }, &LogPanel},
    {&EnableLogChk, K::CheckBox, "Enable &logging", {14, 40, 135, 25}, kLogHelp, [&form] { form.EnableLogChkClick(); },
     &LogPanel},
    {&SetupPrinterBtn, K::Push, "&Setup Printer", {14, 8, 85, 25}, kLogHelp, [&form] { form.SetupPrinterBtnClick(); },
     &PrintPanel},
    {&PrintBtn, K::Push, "&Print Log", {14, 40, 85, 25}, kLogHelp, [&form] { form.PrintBtnClick(); }, &PrintPanel},
  });
}

void TMainForm::LogTabSheetShow() {
  if (!Logic.HasLog()) return;
  log_.RichEdit.Focus();
  Logic.Log().ScrollToEnd();  // the newest line in view
}

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
