// The program's start-up and exit against damaged input: "Config.txt", "Log.txt" and registry
// values that are binary, huge, of the wrong type or out of range, a list file held
// open by another program and a backup drive plugged in late. Each case asserts that no box
// waits for an answer, that every bad input is named in the log, that the list file keeps its
// entries, and that start-up takes bounded time.
#include <windows.h>

#include <chrono>
#include <functional>

#include "fake_folder_watch.h"
#include "main_form_fixture.h"
#include "platform/win32/registry_settings_store.h"

namespace vh::test {
namespace {

void PutRaw(const std::string& name, DWORD type, const void* data, DWORD bytes) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, win32::Widen(kSettingsKey).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, win32::Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
  RegCloseKey(key);
}

// Every byte of a literal, nulls included.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

class CorruptInputTest : public DiskTest {
 protected:
  // What one case does before start-up, while the program runs, and what it expects.
  struct Case {
    const char* name;
    std::function<void()> spoil;   // before start-up
    std::function<void()> mend;    // after start-up, before exit
    std::vector<std::string> named;  // texts the log must hold
  };

  // Settings that back up the source at start-up and exit, with the list file beside them.
  void PrepareStore(const std::string& backupFolder) {
    RegDeleteTreeW(HKEY_CURRENT_USER, win32::Widen(kSettingsKey).c_str());
    TSettings s;
    s.BackupFolder = backupFolder;
    s.StartUp = true;
    s.ShowProgress = false;
    SaveSettings(registry, s);
    config = MirrorPath(backupFolder, "") + "\\Config.txt";
    logFile = MirrorPath(backupFolder, "") + "\\Log.txt";
    list = "3.0\r\n" + source + "\r\n1\r\n1\r\n";
    Write(config, list);
  }

  win32::RegistrySettingsStore registry;
  std::string source, config, logFile, list;
};

TEST_F(CorruptInputTest, StartUpAndExitHoldUp) {
  source = folder + "\\docs";
  Write(source + "\\a.txt", "alpha");
  const std::string backupFolder = folder + "\\backup";
  const std::string plugDrive = Env("VH_PLUG_DRIVE"), plugDir = Env("VH_PLUG_DIR");
  ASSERT_FALSE(plugDrive.empty()) << "run under scripts/with-wine, which provides the plug drive";
  HANDLE held = INVALID_HANDLE_VALUE;
  std::string original;  // a damaged file, byte for byte, to find again at the end

  // Each way a list or a setting is damaged has its unit test; a row here is kept where the real
  // file system, registry or window adds to it.
  const std::string kept = "It is kept until the list is changed:";
  const Case cases[] = {
      {"binary list", [&] { Write(config, original = Bytes("3.0\r\n\0\x01\xFF\xFE junk")); }, [] {},
       {"damaged: it holds binary data. " + kept}},
      {"50 MB list", [&] { Write(config, original = "3.0\r\n" + std::string(50'000'000, 'x') + "\r\n1\r\n1\r\n"); },
       [] {}, {"damaged: it is too large to be a backup list. " + kept}},
      {"list held open at start-up",
       [&] {
         held = CreateFileW(win32::LongPath(config).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
       },
       [&] { CloseHandle(held); }, {"The backup list could not be read; it is read again before the next backup:"}},
      {"100 MB log",
       [&] {
         std::string big(100'000'000, 'y');
         big += "\r\n\r\n1/1/2001  the last entry\r\n";
         Write(logFile, big);
       },
       [] {}, {"1/1/2001  the last entry"}},
      {"binary log", [&] { Write(logFile, Bytes("\0\0\x01\r\n\xFF\xFE\r\n\t\tlast words")); }, [] {},
       {"last words"}},
      {"settings of the wrong types",
       [&] {
         PutRaw("BackupPeriod", REG_SZ, L"60", 6);
         const BYTE bytes[] = {1, 2, 3};
         PutRaw("ShutDown", REG_BINARY, bytes, 3);
         const DWORD number = 5;
         PutRaw("LastBackup", REG_DWORD, &number, 4);
         const uint64_t wide = 1;
         PutRaw("Width", REG_QWORD, &wide, 8);
       },
       [] {},
       {"\"BackupPeriod\" could not be read", "\"ShutDown\" could not be read", "\"LastBackup\" could not be read",
        "\"Width\" could not be read"}},
      {"backup folder of the wrong type",
       [&] {
         const BYTE bytes[] = {'E', 0, ':', 0};
         PutRaw("BackupFolder", REG_BINARY, bytes, 4);
       },
       [] {}, {"\"BackupFolder\" could not be read"}},
      {"period of 999999", [&] { registry.WriteDword(kSettingsKey, "BackupPeriod", 999999); }, [] {},
       {"\"BackupPeriod\" was 999999 minutes, out of range; 3540 is used."}},
      {"huge text setting", [&] { registry.WriteString(kSettingsKey, "LastBackup", std::string(100'000, 'z')); },
       [] {}, {"\"LastBackup\" could not be read"}},
      {"backup drive plugged in late",
       [&] {
         files.CreateFolder(plugDir);
         PrepareStore(plugDrive + "\\");
         ASSERT_TRUE(MoveFileW(win32::LongPath(plugDir).c_str(), win32::LongPath(plugDir + "-away").c_str()));
       },
       [&] { ASSERT_TRUE(MoveFileW(win32::LongPath(plugDir + "-away").c_str(), win32::LongPath(plugDir).c_str())); },
       {"Backup drive (" + plugDrive + ") not accessible. Backup list can not be loaded."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    original.clear();
    PrepareStore(backupFolder);
    c.spoil();
    std::vector<std::string> asked;
    int ended = -1;
    std::string page;
    {
      FakeFolderWatch watch;
      ui::TMainForm form(SharedOperations(), registry, watch, [] {});
      form.endProcess = [&](int status) { ended = status; };
      form.chooseBackupFolder = [&](const std::string& start) {
        asked.push_back(start);
        return start;
      };
      const auto start = std::chrono::steady_clock::now();
      form.FormCreate();
      form.RefreshControls();
      const auto took = std::chrono::steady_clock::now() - start;
      EXPECT_LT(took, std::chrono::seconds(20));  // a bound against a hang, not a speed figure
      EXPECT_TRUE(asked.empty());
      EXPECT_GE(form.Logic.Scheduler.BackupPeriod, 1);
      EXPECT_LE(form.Logic.Scheduler.BackupPeriod, 3540);
      c.mend();
      SendMessageW(form.Handle(), WM_QUERYENDSESSION, 0, 0);  // a shut-down
      for (const std::string& line : ShownLines(form.log_.RichEdit.Handle())) page += line + "\n";
    }
    EXPECT_EQ(ended, 0);
    for (const std::string& text : c.named) EXPECT_NE(page.find(text), std::string::npos) << text << "\n" << page;
    EXPECT_TRUE(boxes.asked.empty());
    boxes.asked.clear();
    const std::string listFile = Read(config);
    if (!original.empty()) {
      EXPECT_TRUE(listFile == original) << "the damaged list file was rewritten";
    } else {
      EXPECT_EQ(listFile, list);
    }
    RemoveTree(MirrorPath(backupFolder, ""));
  }
  RemoveTree(plugDir);
  RegDeleteTreeW(HKEY_CURRENT_USER, win32::Widen(kSettingsKey).c_str());
}

}  // namespace
}  // namespace vh::test
