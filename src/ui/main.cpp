// Vesperhollow's entry point: one running copy, the windows in their order, nothing shown, then
// the message loop with the control window's refresh as its idle work.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <exception>

#include "platform/win32/registry_settings_store.h"
#include "platform/win32/win32_system.h"
#include "ui/about_box.h"
#include "ui/backup_folder_dlg.h"
#include "ui/main_form.h"
#include "ui/operation_windows.h"
#include "ui/single_copy.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The program runs unattended: a drive without a disk must fail the call, not wait on a system box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  if (!vh::ui::ClaimSingleCopy(L"Vesperhollow")) {
    MessageBoxW(nullptr, L"Vesperhollow is already running.", L"Vesperhollow", MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS |
                                                     ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);  // the folder browser needs it

  vh::win32::Win32System system;
  vh::win32::RegistrySettingsStore registry;
  try {
    vh::ui::TAboutBox about;
    vh::ui::OperationWindows operations;
    vh::ui::TMainForm mainForm(operations, registry, system.watch, [&] { about.ShowModal(); });
    // Every other window belongs to the control window: above it, and without a taskbar button.
    about.SetOwner(mainForm.Handle());
    for (vh::ui::ProgressWindow* window : {&operations.Restore.Window(), &operations.Purge.Window(),
                                           &operations.Backup.Window(), &operations.Delete.Window()}) {
      window->SetOwner(mainForm.Handle());
    }
    mainForm.chooseBackupFolder = [&mainForm](const std::string& start) {
      vh::ui::TBackupFolderDlg dialog(mainForm.Handle());
      dialog.SetFolder(start);
      dialog.ShowModal();
      return dialog.GetFolder();
    };
    mainForm.FormCreate();
    return vh::ui::RunMessageLoop([&] { mainForm.RefreshControls(); });
  } catch (const std::exception& e) {
    vh::ui::ShowErrorBox(e.what());
  }
  return 0;
}
