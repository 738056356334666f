#include "control/settings.h"

namespace vh {

TSettings LoadSettings(SettingsStore& store, StringList& unreadable) {
  TSettings s;
  unreadable.clear();
  const std::string key = kSettingsKey;
  if (!store.KeyExists(key) || store.Kind(key, "Version") != ValueKind::String ||
      store.ReadString(key, "Version") != kSettingsVersion) {
    return s;
  }
  auto number = [&](const char* name, int& target) {
    uint32_t value;
    if (store.ReadDword(key, name, value)) target = static_cast<int32_t>(value);
    else unreadable.push_back(name);
  };
  auto flag = [&](const char* name, bool& target) {
    int value = target;
    number(name, value);
    target = value != 0;
  };
  auto place = [&](const char* name, std::optional<int>& target) {
    int value = 0;
    const size_t before = unreadable.size();
    number(name, value);
    if (unreadable.size() == before) target = value;
  };
  number("BackupPeriod", s.BackupPeriod);
  flag("EnableTimedBackups", s.EnableTimedBackups);
  flag("StartUp", s.StartUp);
  flag("ShutDown", s.ShutDown);
  flag("OKBackup", s.OKBackup);
  flag("ShowProgress", s.ShowProgress);
  s.BackupFolder = store.ReadString(key, "BackupFolder");
  flag("ShowFiles", s.ShowFiles);
  flag("SystemFiles", s.SystemFiles);
  flag("EnableLog", s.EnableLog);
  s.LastBackup = store.ReadString(key, "LastBackup");
  place("Top", s.Top);
  place("Left", s.Left);
  place("Width", s.Width);
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
}

std::string UnreadableSettingsMessage(const StringList& unreadable) {
  std::string names;
  for (const std::string& name : unreadable) names += (names.empty() ? "\"" : ", \"") + name + "\"";
  return "These settings could not be read from the registry and start from their defaults: " + names + ".";
}

}  // namespace vh
