#pragma once
// The control window's settings as the settings store keeps them between runs.
#include <optional>
#include <string>

#include "common/string_list.h"
#include "platform/settings_store.h"
#include "store/versions.h"

namespace vh {

inline const char* const kSettingsKey = "Software\\Orrindale\\Vesperhollow";
// The subkey of settings added since: the settings key itself keeps its fifteen values.
inline const char* const kVersionsKey = "Software\\Orrindale\\Vesperhollow\\Versions";
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
  // Days earlier versions are kept ("KeepDays" of the versions subkey); 0: none are kept.
  int KeepDays = kDefaultKeepDays;
  // Read, not saved: a backup folder was stored but could not be read, so this is no first start.
  bool BackupFolderUnreadable = false;
};

// Reads the settings. A missing key, or one of another version, gives the defaults. Under a
// current key a value that is missing (a number) or of another kind keeps its default, and a
// period out of range is brought into it; each is told in a line of `notes` for the log, so one
// bad value neither loses the others nor stops an unattended start.
TSettings LoadSettings(SettingsStore& store, StringList& notes);
// Writes every value, "Version" first.
void SaveSettings(SettingsStore& store, const TSettings& settings);
// Writes the days earlier versions are kept, and nothing else.
void SaveKeepDays(SettingsStore& store, int days);

}  // namespace vh
