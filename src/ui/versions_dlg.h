#pragma once
// The Earlier Versions dialog: what the store keeps of files the runs replaced or purged, the
// days they are kept, and the way to the folder that holds them.
#include <functional>
#include <optional>
#include <string>

#include "ui/control_table.h"
#include "ui/controls.h"
#include "ui/help.h"
#include "ui/window.h"

namespace vh::ui {

class TVersionsDlg : public Window {
 public:
  // Created hidden; `owner` (may be null) stays below it while it is shown.
  explicit TVersionsDlg(HWND owner = nullptr);

  // Shows the dialog for the store of `backupFolder` with `keepDays` typed in: the days on OK,
  // none when it was cancelled.
  std::optional<int> Choose(const std::string& backupFolder, int keepDays);

  // Opens a folder in Explorer; tests watch it instead.
  std::function<void(const std::string& folder)> openFolder;

  void OpenFolderBtnClick();
  void OKBtnClick();
  void HelpBtnClick();

  GroupBox VersionsBox;
  Label SummaryLabel, DaysLabel;
  Edit DaysEdit;
  Button OpenFolderBtn, OKBtn, CancelBtn, HelpBtn;
  Help HelpViewer;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  ControlTable table_;
  std::string backupFolder_;
  std::optional<int> days_;
};

}  // namespace vh::ui
