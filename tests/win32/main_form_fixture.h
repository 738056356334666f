#pragma once
// The control window on the real file system, with the settings in memory and every box
// answered from a script.
#include "disk_fixture.h"
#include "fake_folder_watch.h"
#include "fake_settings_store.h"
#include "ui/main_form.h"

namespace vh::test {

// The progress windows, made once for the whole run as the program makes them once.
inline ui::OperationWindows& SharedOperations() {
  static ui::OperationWindows operations;
  return operations;
}

// The lines the log page shows, without their line ends.
inline std::vector<std::string> ShownLines(HWND richEdit) {
  std::vector<std::string> lines;
  const int count = static_cast<int>(SendMessageW(richEdit, EM_GETLINECOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t buffer[512] = {};
    *reinterpret_cast<WORD*>(buffer) = 511;
    const LRESULT n = SendMessageW(richEdit, EM_GETLINE, i, reinterpret_cast<LPARAM>(buffer));
    std::string line = win32::Narrow(std::wstring(buffer, static_cast<size_t>(n)));
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

class MainFormTest : public DiskTest {
 protected:
  MainFormTest() : source(folder + "\\docs"), backupFolder(folder + "\\backup") {
    Write(source + "\\a.txt", "alpha");
    files.CreateFolder(backupFolder);
  }
  // A store with a list of the one source folder, and the settings that point to it.
  void PrepareStore(int period = 60, bool timed = false, bool startup = false) {
    Write(MirrorPath(backupFolder, "") + "\\Config.txt", "3.0\r\n" + source + "\r\n1\r\n1\r\n");
    TSettings s;
    s.BackupFolder = backupFolder;
    s.BackupPeriod = period;
    s.EnableTimedBackups = timed;
    s.StartUp = startup;
    s.ShowProgress = false;
    s.Top = s.Left = 10;
    s.Width = 530;
    SaveSettings(settings, s);
  }
  ui::TMainForm& Form() {
    if (!form) {
      watch.vouch = 0;  // every run scans whole, as these tests expect
      form = std::make_unique<ui::TMainForm>(SharedOperations(), settings, watch, [] {});
      form->endProcess = [this](int status) { ended = status; };
      form->chooseBackupFolder = [this](const std::string& start) {
        asked.push_back(start);
        return chosen;
      };
      form->FormCreate();
      form->RefreshControls();  // as the main loop does once the queue is empty
    }
    return *form;
  }
  std::string LastLogLine() {
    const std::vector<std::string> lines = ShownLines(Form().log_.RichEdit.Handle());
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
      if (!line->empty()) return *line;
    }
    return "";
  }
  bool Ends(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
  }

  const std::string source, backupFolder;
  FakeSettingsStore settings;
  FakeFolderWatch watch;
  std::unique_ptr<ui::TMainForm> form;
  std::vector<std::string> asked;
  std::string chosen;
  int ended = -1;
};

}  // namespace vh::test
