#pragma once
// The Log page's controls: the log itself, its commands and its printing.
#include "ui/rich_edit_page.h"
#include "ui/control_table.h"
#include "ui/controls.h"

namespace vh::ui {

class TMainForm;

class LogPage {
 public:
  // Makes the controls on `page` of the form; their clicks go to the form's handlers.
  void Create(TMainForm& form, HWND page);
  void Layout(int growth, int pageWidth) { table_.Layout(growth, pageWidth); }

  HostedControl RichEdit{&RichEditPage::Create};
  ui::Panel LogPanel, PrintPanel;
  Button ClearLogBtn, EnableLogChk, SetupPrinterBtn, PrintBtn, HelpBtn4, OKBtn4;

 private:
  ControlTable table_;
};

}  // namespace vh::ui
