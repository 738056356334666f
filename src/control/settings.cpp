#include "control/settings.h"

#include "common/text_lines.h"
#include "control/scheduler.h"

namespace vh {
namespace {
// No path on the platform is longer, and no date and time needs more.
constexpr size_t kMaxFolderChars = 32767;
constexpr size_t kMaxLastBackupChars = 255;

std::string Unreadable(const char* name) {
  return std::string("WARNING: The setting \"") + name + "\" could not be read; its default is used.";
}
}  // namespace

TSettings LoadSettings(SettingsStore& store, StringList& notes) {
  TSettings s;
  notes.clear();
  const std::string key = kSettingsKey;
  if (!store.KeyExists(key) || store.Kind(key, "Version") != ValueKind::String ||
      store.ReadString(key, "Version") != kSettingsVersion) {
    return s;
  }
  // Each reader tells whether the value was read; one that was not is noted and left alone.
  auto number = [&](const char* name, int& target) {
    uint32_t value;
    if (!store.ReadDword(key, name, value)) {
      notes.push_back(Unreadable(name));
      return false;
    }
    target = static_cast<int32_t>(value);
    return true;
  };
  auto flag = [&](const char* name, bool& target) {
    int value = target;
    number(name, value);
    target = value != 0;
  };
  auto place = [&](const char* name, std::optional<int>& target) {
    if (int value = 0; number(name, value)) target = value;
  };
  // A missing text is empty, as it always was; one of another kind, or too long to be what
  // this program wrote, keeps its default.
  auto text = [&](const char* name, std::string& target, size_t maxChars) {
    const ValueKind kind = store.Kind(key, name);
    if (kind == ValueKind::Missing) {
      target.clear();
      return true;
    }
    std::string value = kind == ValueKind::String ? store.ReadString(key, name) : std::string();
    if (kind != ValueKind::String || CharCount(value) > maxChars) {
      notes.push_back(Unreadable(name));
      return false;
    }
    target = std::move(value);
    return true;
  };
  number("BackupPeriod", s.BackupPeriod);
  if (s.BackupPeriod < 1 || s.BackupPeriod > kMaxBackupPeriod) {
    const int given = s.BackupPeriod;
    s.BackupPeriod = given < 1 ? 1 : kMaxBackupPeriod;
    notes.push_back("WARNING: The setting \"BackupPeriod\" was " + std::to_string(given) + " minutes, out of range; " +
                    std::to_string(s.BackupPeriod) + " is used.");
  }
  flag("EnableTimedBackups", s.EnableTimedBackups);
  flag("StartUp", s.StartUp);
  flag("ShutDown", s.ShutDown);
  flag("OKBackup", s.OKBackup);
  flag("ShowProgress", s.ShowProgress);
  s.BackupFolderUnreadable = !text("BackupFolder", s.BackupFolder, kMaxFolderChars);
  flag("ShowFiles", s.ShowFiles);
  flag("SystemFiles", s.SystemFiles);
  flag("EnableLog", s.EnableLog);
  text("LastBackup", s.LastBackup, kMaxLastBackupChars);
  place("Top", s.Top);
  place("Left", s.Left);
  place("Width", s.Width);
  // Missing, as before versions were there: the default.
  if (const ValueKind kind = store.Kind(kVersionsKey, "KeepDays"); kind != ValueKind::Missing) {
    uint32_t days = 0;
    if (kind != ValueKind::Dword || !store.ReadDword(kVersionsKey, "KeepDays", days)) {
      notes.push_back(Unreadable("KeepDays"));
    } else if (days > static_cast<uint32_t>(kMaxKeepDays)) {
      s.KeepDays = kMaxKeepDays;
      notes.push_back("WARNING: The setting \"KeepDays\" was " + std::to_string(days) + " days, out of range; " +
                      std::to_string(kMaxKeepDays) + " is used.");
    } else {
      s.KeepDays = static_cast<int>(days);
    }
  }
  return s;
}

void SaveSettings(SettingsStore& store, const TSettings& s) {
  const std::string key = kSettingsKey;
  auto number = [&](const char* name, int value) { store.WriteDword(key, name, static_cast<uint32_t>(value)); };
  store.WriteString(key, "Version", kSettingsVersion);
  number("BackupPeriod", s.BackupPeriod);
  number("EnableTimedBackups", s.EnableTimedBackups);
  number("StartUp", s.StartUp);
  number("ShutDown", s.ShutDown);
  number("OKBackup", s.OKBackup);
  number("ShowProgress", s.ShowProgress);
  store.WriteString(key, "BackupFolder", s.BackupFolder);
  number("ShowFiles", s.ShowFiles);
  number("SystemFiles", s.SystemFiles);
  number("EnableLog", s.EnableLog);
  store.WriteString(key, "LastBackup", s.LastBackup);
  number("Top", s.Top.value_or(0));
  number("Left", s.Left.value_or(0));
  number("Width", s.Width.value_or(0));
  SaveKeepDays(store, s.KeepDays);
}

void SaveKeepDays(SettingsStore& store, int days) {
  store.WriteDword(kVersionsKey, "KeepDays", static_cast<uint32_t>(days));
}

}  // namespace vh
