#pragma once
// The control window's settings as the settings store keeps them between runs.
#include <optional>
#include <string>

#include "common/string_list.h"
#include "platform/settings_store.h"

namespace vh {

inline const char* const kSettingsKey = "Software\\Orrindale\\Vesperhollow";
inline const char* const kSettingsVersion = "3.0";
inline const char* const kNoBackupsFound = "No backups found";

struct TSettings {
  int BackupPeriod = 60;  // minutes
  bool EnableTimedBackups = false;
  bool StartUp = false;
  bool ShutDown = true;
  bool OKBackup = true;
  bool ShowProgress = true;
  std::string BackupFolder;
  bool ShowFiles = false;
  bool SystemFiles = false;
  bool EnableLog = true;
  std::string LastBackup = kNoBackupsFound;
  // The window's position and width; none until saved once (the window keeps its design place).
  std::optional<int> Top, Left, Width;
};

// Reads the settings. A missing key, or one of another version, gives the defaults. Under a
// current key a number that is missing or of another kind keeps its default and is named in
// `unreadable`, so one bad value does not lose the others.
TSettings LoadSettings(SettingsStore& store, StringList& unreadable);
// Writes every value, "Version" first.
void SaveSettings(SettingsStore& store, const TSettings& settings);
// What the user is told about values that could not be read.
std::string UnreadableSettingsMessage(const StringList& unreadable);

}  // namespace vh
