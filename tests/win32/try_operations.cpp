// Runs a backup of a made-up tree with its progress window on the screen, slowly enough to be
// looked at, then presses Cancel through the window. Prints the run's log.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "fake_controls.h"
#include "log/message_log.h"
#include "operations/backup.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_system.h"
#include "store/store_paths.h"
#include "ui/progress_window.h"

namespace {

using namespace vh;

// The log, printed as it grows.
class PrintedPage : public test::FakeTextPage {
 public:
  void Append(const std::string& line) override {
    FakeTextPage::Append(line);
    std::printf("%s\n", line.c_str());
  }
};

// The real window, slowed down at every pump, with Cancel pressed at the pump given.
class SlowWindow : public ProgressView {
 public:
  SlowWindow(ui::ProgressWindow& window, int delayMs, int cancelAt)
      : window_(window), delayMs_(delayMs), cancelAt_(cancelAt) {}
  void SetCaption(const std::string& c) override { window_.SetCaption(c); }
  void SetLabel(const std::string& t) override { window_.SetLabel(t); }
  void SetPosition(int p) override { window_.SetPosition(p); }
  void Show() override { window_.Show(); }
  void Hide() override { window_.Hide(); }
  void BringToFront() override { window_.BringToFront(); }
  void Repaint() override { window_.Repaint(); }
  int Width() override { return window_.Width(); }
  int TextWidth(const std::string& t) override { return window_.TextWidth(t); }
  void ProcessMessages() override {
    Sleep(delayMs_);
    if (++pumps_ == cancelAt_) PostMessageW(window_.CancelBtn.Handle(), BM_CLICK, 0, 0);
    window_.ProcessMessages();
  }
  uint64_t Ticks() override { return window_.Ticks(); }

 private:
  ui::ProgressWindow& window_;
  int delayMs_, cancelAt_, pumps_ = 0;
};

int Setting(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value ? std::atoi(value) : fallback;
}

}  // namespace

int main() {
  win32::Win32System system;
  FileSystem& files = system.files;

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::string root = win32::Narrow(temp) + "vh-try";
  const std::string source = root + "\\Documents\\Projects\\Quarterly reports";
  for (int i = 0; i < 120; ++i) {
    const std::string file =
        source + "\\Region " + std::to_string(i % 6) + "\\report-" + std::to_string(i) + ".doc";
    ForceFolders(FolderOf(file));
    files.WriteFile(file, std::string(64 * 1024, 'r'));
  }
  TSourceList list;
  list.Add(source, true, 1);
  PrintedPage page;
  TMessageLog log(page);

  ui::ProgressWindow window("Backup");
  SlowWindow slow(window, Setting("VH_TRY_DELAY_MS", 100), Setting("VH_TRY_CANCEL_AT", 100));
  TBackup backup(slow);
  window.onCancel = [&] { backup.CancelBtnClick(); };
  window.onCloseQuery = [&] { backup.FormCloseQuery(); };

  log.AddLine("Manual backup initiated for the following files and folders:", true);
  const RunResult result = backup.RunBackup(list, root + "\\Backup", false, true, log);
  std::printf("result %d\n", static_cast<int>(result));
  return result == RunResult::Cancelled ? 0 : 1;
}
