#include "control/settings.h"

#include <gtest/gtest.h>

#include <functional>

#include "fake_settings_store.h"

namespace vh::test {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  FakeSettingsStore store;
  StringList notes;
};

TEST_F(SettingsTest, MissingOrStaleKeyGivesTheDefaults) {
  for (const char* version : {"", "2.0", "3.0 "}) {
    store.RemoveKey(kSettingsKey);
    if (*version) {
      store.PutString(kSettingsKey, "Version", version);
      store.PutDword(kSettingsKey, "BackupPeriod", 5);
      store.PutString(kSettingsKey, "LastBackup", "1/1/2001");
    }
    const TSettings s = LoadSettings(store, notes);
    EXPECT_EQ(s.BackupPeriod, 60);
    EXPECT_FALSE(s.EnableTimedBackups);
    EXPECT_FALSE(s.StartUp);
    EXPECT_TRUE(s.ShutDown);
    EXPECT_TRUE(s.OKBackup);
    EXPECT_TRUE(s.ShowProgress);
    EXPECT_TRUE(s.EnableLog);
    EXPECT_EQ(s.LastBackup, "No backups found");
    EXPECT_FALSE(s.Top.has_value());
    EXPECT_TRUE(notes.empty());
  }
}

TEST_F(SettingsTest, SavesTheFifteenValuesAndReadsThemBack) {
  TSettings s;
  s.BackupPeriod = 3540;
  s.EnableTimedBackups = true;
  s.ShutDown = false;
  s.BackupFolder = "E:\\Backups";
  s.SystemFiles = true;
  s.LastBackup = "12/7/1999 10:15:32 AM";
  s.Top = -20;
  s.Left = 100;
  s.Width = 600;
  s.KeepDays = 0;  // versions off is kept apart from the fifteen
  SaveSettings(store, s);
  EXPECT_EQ(store.Names(kSettingsKey).size(), 15u);
  EXPECT_EQ(store.Kind(kSettingsKey, "Height"), ValueKind::Missing);
  EXPECT_EQ(store.ReadString(kSettingsKey, "Version"), "3.0");

  const TSettings back = LoadSettings(store, notes);
  EXPECT_EQ(back.BackupPeriod, 3540);
  EXPECT_TRUE(back.EnableTimedBackups);
  EXPECT_FALSE(back.ShutDown);
  EXPECT_EQ(back.BackupFolder, "E:\\Backups");
  EXPECT_TRUE(back.SystemFiles);
  EXPECT_EQ(back.LastBackup, "12/7/1999 10:15:32 AM");
  EXPECT_EQ(back.Top, -20);
  EXPECT_EQ(back.Width, 600);
  EXPECT_EQ(back.KeepDays, 0);

  s.BackupPeriod = 1;
  SaveSettings(store, s);
  EXPECT_EQ(LoadSettings(store, notes).BackupPeriod, 1);
}

TEST_F(SettingsTest, EachBadValueKeepsItsDefaultIsNamedAndTheOthersLoad) {
  TSettings good;
  good.BackupPeriod = 15;
  good.StartUp = true;
  good.BackupFolder = "E:\\B";
  good.LastBackup = "1/1/2001";
  good.Top = good.Left = good.Width = 10;
  auto unread = [](const std::string& key) {
    return "WARNING: The setting \"" + key + "\" could not be read; its default is used.";
  };
  struct Case {
    const char* name;
    std::function<void()> plant;
    std::function<bool(const TSettings&)> holds;
    std::string note;
  };
  const Case cases[] = {
      {"text for a number", [&] { store.PutString(kSettingsKey, "ShutDown", "yes"); },
       [](const TSettings& s) { return s.ShutDown; }, unread("ShutDown")},
      {"missing number", [&] { store.Remove(kSettingsKey, "Width"); },
       [](const TSettings& s) { return !s.Width; }, unread("Width")},
      {"binary folder", [&] { store.PutOther(kSettingsKey, "BackupFolder", "\x01\x02"); },
       [](const TSettings& s) { return s.BackupFolder.empty(); }, unread("BackupFolder")},
      {"huge folder", [&] { store.PutString(kSettingsKey, "BackupFolder", std::string(40000, 'x')); },
       [](const TSettings& s) { return s.BackupFolder.empty(); }, unread("BackupFolder")},
      {"number for a text", [&] { store.PutDword(kSettingsKey, "LastBackup", 3); },
       [](const TSettings& s) { return s.LastBackup == "No backups found"; },
       unread("LastBackup")},
      {"period 0", [&] { store.PutDword(kSettingsKey, "BackupPeriod", 0); },
       [](const TSettings& s) { return s.BackupPeriod == 1; },
       "WARNING: The setting \"BackupPeriod\" was 0 minutes, out of range; 1 is used."},
      {"period negative", [&] { store.PutDword(kSettingsKey, "BackupPeriod", 0xFFFFFFFF); },
       [](const TSettings& s) { return s.BackupPeriod == 1; },
       "WARNING: The setting \"BackupPeriod\" was -1 minutes, out of range; 1 is used."},
      {"period too long", [&] { store.PutDword(kSettingsKey, "BackupPeriod", 999999); },
       [](const TSettings& s) { return s.BackupPeriod == 3540; },
       "WARNING: The setting \"BackupPeriod\" was 999999 minutes, out of range; 3540 is used."},
      {"keep days as text", [&] { store.PutString(kVersionsKey, "KeepDays", "7"); },
       [](const TSettings& s) { return s.KeepDays == 30; }, unread("KeepDays")},
      {"keep days too many", [&] { store.PutDword(kVersionsKey, "KeepDays", 100000); },
       [](const TSettings& s) { return s.KeepDays == 3650; },
       "WARNING: The setting \"KeepDays\" was 100000 days, out of range; 3650 is used."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveSettings(store, good);
    store.PutDword(kSettingsKey, "OKBackup", 7);  // any non-zero value is true
    c.plant();
    const TSettings back = LoadSettings(store, notes);
    EXPECT_EQ(notes, StringList{c.note});
    EXPECT_TRUE(c.holds(back));
    EXPECT_EQ(back.BackupFolderUnreadable, c.note.find("BackupFolder") != std::string::npos);
    EXPECT_TRUE(back.StartUp);
    EXPECT_TRUE(back.OKBackup);
    EXPECT_EQ(back.Top, 10);
  }
}

}  // namespace
}  // namespace vh::test
