#pragma once
// The Control page's controls: the schedule, the backup status and mode, the backup triggers,
// restore and purge.
#include "ui/control_table.h"
#include "ui/controls.h"

namespace vh::ui {

class TMainForm;

class ControlPage {
 public:
  // Makes the controls on `page` of the form; their clicks go to the form's handlers.
  void Create(TMainForm& form, HWND page);
  void Layout(int growth, int pageWidth) { table_.Layout(growth, pageWidth); }

  GroupBox BackupControlBox, BackupStatusBox, ModeBox, RestoreControlBox;
  Label BackupEveryLbl, LastBackupTitleLbl, LastBackupLbl, NextBackupInLbl, HoursLbl, MinutesLbl, BackupStatusLbl;
  Edit BackupPeriodEdt, NextHoursEdt, NextMinutesEdt;
  Button PeriodUpBtn, PeriodDownBtn, MinutesRBtn, HoursRBtn, EnableTimedBackupsChk, StartupChk, ShutdownChk,
      OKBackupChk, SuppressBackupChk, BackupNowBtn, PurgeBtn, RestoreNowBtn, ShowProgressChk, AboutBtn, HelpBtn2,
      OKBtn2;
  Separator ControlLine;

 private:
  ControlTable table_;
};

}  // namespace vh::ui
