#include "control/settings.h"

#include <gtest/gtest.h>

#include "fake_settings_store.h"

namespace vh::test {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  FakeSettingsStore store;
  StringList unreadable;
};

TEST_F(SettingsTest, MissingOrStaleKeyGivesTheDefaults) {
  for (const char* version : {"", "2.0", "3.0 "}) {
    store.RemoveKey(kSettingsKey);
    if (*version) {
      store.PutString(kSettingsKey, "Version", version);
      store.PutDword(kSettingsKey, "BackupPeriod", 5);
      store.PutString(kSettingsKey, "LastBackup", "1/1/2001");
    }
    const TSettings s = LoadSettings(store, unreadable);
    EXPECT_EQ(s.BackupPeriod, 60);
    EXPECT_FALSE(s.EnableTimedBackups);
    EXPECT_FALSE(s.StartUp);
    EXPECT_TRUE(s.ShutDown);
    EXPECT_TRUE(s.OKBackup);
    EXPECT_TRUE(s.ShowProgress);
    EXPECT_TRUE(s.EnableLog);
    EXPECT_EQ(s.LastBackup, "No backups found");
    EXPECT_FALSE(s.Top.has_value());
    EXPECT_TRUE(unreadable.empty());
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
  SaveSettings(store, s);
  EXPECT_EQ(store.Names(kSettingsKey).size(), 15u);
  EXPECT_EQ(store.Kind(kSettingsKey, "Height"), ValueKind::Missing);
  EXPECT_EQ(store.ReadString(kSettingsKey, "Version"), "3.0");

  const TSettings back = LoadSettings(store, unreadable);
  EXPECT_EQ(back.BackupPeriod, 3540);
  EXPECT_TRUE(back.EnableTimedBackups);
  EXPECT_FALSE(back.ShutDown);
  EXPECT_EQ(back.BackupFolder, "E:\\Backups");
  EXPECT_TRUE(back.SystemFiles);
  EXPECT_EQ(back.LastBackup, "12/7/1999 10:15:32 AM");
  EXPECT_EQ(back.Top, -20);
  EXPECT_EQ(back.Width, 600);

  s.BackupPeriod = 1;
  SaveSettings(store, s);
  EXPECT_EQ(LoadSettings(store, unreadable).BackupPeriod, 1);
}

TEST_F(SettingsTest, AnUnreadableNumberKeepsItsDefaultAndTheOthersLoad) {
  TSettings s;
  s.BackupPeriod = 15;
  s.StartUp = true;
  s.Top = s.Left = s.Width = 10;
  SaveSettings(store, s);
  store.PutString(kSettingsKey, "ShutDown", "yes");
  store.Remove(kSettingsKey, "Width");
  store.PutDword(kSettingsKey, "OKBackup", 7);  // any non-zero value is true
  const TSettings back = LoadSettings(store, unreadable);
  EXPECT_EQ(unreadable, (StringList{"ShutDown", "Width"}));
  EXPECT_TRUE(back.ShutDown);
  EXPECT_FALSE(back.Width.has_value());
  EXPECT_EQ(back.BackupPeriod, 15);
  EXPECT_TRUE(back.StartUp);
  EXPECT_TRUE(back.OKBackup);
  EXPECT_NE(UnreadableSettingsMessage(unreadable).find("\"ShutDown\", \"Width\""), std::string::npos);
}

}  // namespace
}  // namespace vh::test
