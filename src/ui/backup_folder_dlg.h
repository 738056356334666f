#pragma once
// The dialog in which the user picks the backup folder, with the folder browser or by searching
// the disks for an earlier store of this computer and user. Without a backup folder the program
// cannot run, so declining to choose one ends it.
#include <functional>
#include <string>

#include "control/store_search.h"
#include "ui/controls.h"
#include "ui/help.h"
#include "ui/window.h"

namespace vh::ui {

class TBackupFolderDlg : public Window, public SearchView {
 public:
  // Created hidden; `owner` (may be null) stays below it while it is shown.
  explicit TBackupFolderDlg(HWND owner = nullptr);

  // The starting folder, and the result once ShowModal has returned, whatever closed the dialog.
  void SetFolder(const std::string& folder);
  std::string GetFolder() const { return ChosenFolder; }

  // The dialog's result; empty while no folder has been chosen.
  std::string ChosenFolder;

  // Ends the process at once, saving nothing; tests put an observer in its place.
  std::function<void(unsigned code)> exitProgram = [](unsigned code) { ExitProcess(code); };

  void FormCreate();
  void FormShow();
  void BrowseBtnClick();
  void ScanBtnClick();
  void StopBtnClick();
  void OKBtnClick();
  void CancelBtnClick();
  void HelpBtnClick();
  // Every way of closing goes through here; false keeps the dialog open.
  bool FormClose();

  // SearchView: the folder being searched, then pending messages run so Stop can be pressed.
  void ShowSearching(const std::string& folder) override;
  bool StopRequested() override { return stopRequested_; }

  GroupBox FolderBox;
  Edit BackupFolderEdit;
  Button BrowseBtn;
  GroupBox SearchBox;
  Button SelectedDriveRBtn;
  Button LocalDrivesRBtn;
  Button AllDrivesRBtn;
  Button ScanBtn;
  Button StopBtn;
  Label PathLabel;
  Button HelpBtn;
  Button CancelBtn;
  Button OKBtn;
  Help HelpViewer;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void SelectScope(Button& scope);
  void SetSearching(bool searching);
  // The "a folder must be chosen" question; returns the answer.
  int AskToSelect(unsigned defaultButton);
  void Close(int result);

  bool stopRequested_ = false;
  bool searching_ = false;
  bool closing_ = false;
};

}  // namespace vh::ui
