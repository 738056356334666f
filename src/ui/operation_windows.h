#pragma once
// The four operation windows, each created once and reused for every run.
#include <string>

#include "operations/backup.h"
#include "operations/purge.h"
#include "operations/remove_backups.h"
#include "operations/restore.h"
#include "ui/progress_window.h"

namespace vh::ui {

template <typename Operation>
class OperationWindow {
 public:
  explicit OperationWindow(const std::string& designCaption) : window_(designCaption), operation_(window_) {}
  Operation& operator*() { return operation_; }
  Operation* operator->() { return &operation_; }
  ProgressWindow& Window() { return window_; }

 private:
  ProgressWindow window_;
  Operation operation_;
};

// In the order the program creates them.
struct OperationWindows {
  OperationWindow<TRestore> Restore{"Restore"};
  OperationWindow<TPurge> Purge{"Purge"};
  OperationWindow<TBackup> Backup{"Backup"};
  OperationWindow<TDelete> Delete{"Delete"};
};

}  // namespace vh::ui
