#include "control/control_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "fake_folder_watch.h"
#include "fake_settings_store.h"
#include "operations_fixture.h"

namespace vh::test {
namespace {

// The window as its decisions see it, recording what they did to it.
class FakeControlWindow : public ControlWindowView {
 public:
  explicit FakeControlWindow(FakeTextPage& page) : page_(page) {}

  bool Checked(Check box) const override { return checks.count(box) && checks.at(box); }
  void SetChecked(Check box, bool checked) override { checks[box] = checked; }
  std::string GetText(Text text) const override { return texts.count(text) ? texts.at(text) : ""; }
  void SetText(Text text, const std::string& value) override { texts[text] = value; }
  void EnableOptions(bool enabled) override { optionsEnabled = enabled; }
  void EnableCountdown(bool enabled) override { countdownEnabled = enabled; }
  void SetTimerEnabled(bool enabled) override { timer = enabled; }
  bool TimerEnabled() const override { return timer; }
  void SetWindowEnabled(bool enabled) override { windowEnabled = enabled; }
  void LetMessagesRun() override {}
  void PrepareControls() override {}
  void TreeOptionsChanged() override { Did("tree"); }
  Grid& ListGrid() override { return grid_; }
  TextPage& LogTextPage() override { return page_; }
  void PlaceStored(const WindowPlace& at) override { place = at; }
  WindowPlace CurrentPlace() const override { return place; }
  void LayOut() override {}
  void ShowTrayIcon() override { Did("icon"); }
  void RemoveTrayIcon() override { Did("icon gone"); }
  void SetTrayTip(const std::string& text) override { tip = text; }
  void ShowBalloon(const std::string& text) override { Did("balloon " + text); }
  void StartAnimation() override {
    ++animations;
    ++animationStarts;
  }
  void StopAnimation() override { --animations; }
  bool WindowShown() const override { return shown; }
  void Hide() override { shown = false; }
  void BringToFront() override { Did("front"); }
  void OpenWindow() override { Did("open"); }
  void OpenMenu() override { Did("menu"); }
  void OpenLog() override { Did("log"); }
  void Close() override { Did("close"); }
  void EndProcess(int status) override { Did("end " + std::to_string(status)); }
  std::string ChooseBackupFolder(const std::string& start) override {
    Did("choose " + start);
    return chosen;
  }
  std::optional<int> ChooseKeepDays(const std::string& folder, int days) override {
    Did("versions " + folder + " " + std::to_string(days));
    return keepDays;
  }
  std::string FolderSizeReport(const std::string& folder) override {
    Did("size " + folder);
    return folder.empty() ? "" : "report";
  }
  TBackupOutcome RunBackup(const TSourceList& list, const std::string& folder, bool quiet, int keepDays,
                           const ScanScope& scope, bool ask, MessageBoxes&, TMessageLog&) override {
    keptDays.push_back(keepDays);
    Run("backup " + folder + " of " + std::to_string(list.Count()) + (quiet ? " quiet" : "") + (ask ? " ask" : "") +
        (scope.trees.empty() ? "" : " narrowed"));
    return outcome;
  }
  RunResult RunRestore(const std::string& folder, bool, int keepDays, MessageBoxes&, TMessageLog&) override {
    keptDays.push_back(keepDays);
    return Run("restore " + folder);
  }
  RunResult RunPurge(const std::string& folder, bool, int keepDays, MessageBoxes&, TMessageLog&) override {
    keptDays.push_back(keepDays);
    return Run("purge " + folder);
  }
  RunResult RemoveAllBackups(const std::string& folder, bool, TMessageLog&) override { return Run("remove " + folder); }

  void Did(const std::string& what) { done.push_back(what); }
  // An operation, with the busy state and the animation it ran under.
  RunResult Run(const std::string& what) {
    Did(what + " busy " + std::to_string(busy->CurrentBusyState()) + (animations ? " animated" : "") +
        (windowEnabled ? " enabled" : ""));
    if (duringRun) duringRun();
    return result;
  }

  std::map<Check, bool> checks;
  std::map<Text, std::string> texts;
  bool optionsEnabled = true, countdownEnabled = true, timer = false, windowEnabled = true, shown = false;
  int animations = 0, animationStarts = 0;
  std::vector<int> keptDays;  // what each run was told to keep
  std::function<void()> duringRun;
  WindowPlace place{5, 6, 600};
  std::string tip, chosen;
  TBackupOutcome outcome;
  std::optional<int> keepDays;  // what the versions dialog answers
  RunResult result = RunResult::Done;
  const BusyStateView* busy = nullptr;
  Lines done;

 private:
  FakeTextPage& page_;
  FakeGrid grid_;
};

class ControlWindowTest : public OperationsTest {
 protected:
  ControlWindowTest() {
    sys.files.AddFolder("E:\\B");
    window.busy = &logic;
  }
  // Settings that name the store, which holds a list of one folder.
  void StoreSettings(TSettings s = {}) {
    s.BackupFolder = "E:\\B";
    SaveSettings(settings, s);
    sys.files.AddFile(store + "\\Config.txt", "3.0\r\nC:\\Docs\r\n1\r\n1\r\n");
    sys.files.AddFile(store + "\\Log.txt");
    sys.files.AddFolder("C:\\Docs");
  }
  void Start() {
    logic.Start();
    logic.RefreshControls();  // as the main loop does once the queue is empty
    window.done.clear();
  }
  std::string Saved(const char* name) { return settings.ReadString(kSettingsKey, name); }

  FakeSettingsStore settings;
  FakeFolderWatch watch;
  FakeControlWindow window{page};
  ControlWindow logic{window, settings, sys.boxes, watch};
  const std::string stamp = "12/7/1999 10:15:32 AM";
};

TEST_F(ControlWindowTest, FirstStartAsksForAFolderShowsTheDefaultsAndSavesNothing) {
  window.chosen = "E:\\B";
  logic.Start();
  EXPECT_EQ(window.done, (Lines{"icon", "choose "}));
  logic.RefreshControls();
  EXPECT_EQ(window.texts[Text::Period], "1");
  EXPECT_TRUE(window.Checked(Check::Hours));
  EXPECT_FALSE(window.Checked(Check::Minutes));
  EXPECT_TRUE(window.Checked(Check::ShutDown));
  EXPECT_EQ(window.texts[Text::LastBackup], "No backups found");
  EXPECT_EQ(window.texts[Text::Mode], "Automatic backups enabled");
  EXPECT_FALSE(window.timer);
  EXPECT_FALSE(window.countdownEnabled);
  EXPECT_TRUE(settings.Names(kSettingsKey).empty());
  EXPECT_EQ(window.tip, "Vesperhollow\nNo backups found");
  // The new store keeps the log from its first line on.
  EXPECT_EQ(logic.Log().FileName(), store + "\\Log.txt");
}

TEST_F(ControlWindowTest, StartUpLoadsTheListRunsTheStartUpBackupAndTellsAnAbsentDriveLast) {
  TSettings s;
  s.BackupPeriod = 90;
  s.EnableTimedBackups = s.StartUp = true;
  s.ShowFiles = true;
  s.Left = 1, s.Top = 2, s.Width = 700;
  StoreSettings(s);
  logic.Start();
  EXPECT_EQ(window.done, (Lines{"icon", "tree", "backup E:\\B of 1 busy 6 animated"}));
  EXPECT_EQ(window.place.width, 700);
  EXPECT_EQ(window.texts[Text::LastBackup], stamp);
  EXPECT_EQ(window.tip, "Vesperhollow\nLast backup ended " + stamp + ", complete");
  EXPECT_EQ(logic.CurrentBusyState(), kIdle);
  // A stored 90 minutes shows as 1 hour and becomes 60 at the first refresh.
  logic.RefreshControls();
  EXPECT_EQ(logic.Scheduler.BackupPeriod, 60);
  EXPECT_EQ(logic.Scheduler.MinutesToBackup, 60);
  EXPECT_TRUE(window.timer);
  EXPECT_EQ(window.texts[Text::NextMinutes], "59");

  // The same start with the store's drive unplugged: no backup can run, and the balloon says why.
  sys.files.Unplug("E:");
  FakeControlWindow later(page);
  ControlWindow again(later, settings, sys.boxes, watch);
  later.busy = &again;
  again.Start();
  ASSERT_FALSE(later.done.empty());
  EXPECT_EQ(later.done.back().rfind("balloon ", 0), 0u);
  EXPECT_EQ(again.BackupList.Count(), 0);
}

TEST_F(ControlWindowTest, TheTimerRunsABackupWhenDueAndSkipsItWhileBusy) {
  TSettings s;
  s.BackupPeriod = 2;
  s.EnableTimedBackups = true;
  StoreSettings(s);
  Start();
  logic.TimerTick();
  EXPECT_TRUE(window.done.empty());
  EXPECT_EQ(window.texts[Text::NextMinutes], "0");
  logic.TimerTick();
  EXPECT_EQ(window.done, Lines{"backup E:\\B of 1 busy 1 animated"});
  EXPECT_EQ(LogTexts().back(), "# Timed backup initiated for the following files and folders:");
  EXPECT_EQ(logic.Scheduler.MinutesToBackup, 2);
  {
    const BusyScope restoring(logic, kRestoring);
    logic.TimerTick();
    logic.TimerTick();
  }
  EXPECT_EQ(window.done.size(), 1u);
  EXPECT_EQ(LogTexts().back(), "WARNING: Timed backup prevented by current operation.");
}

// Every run is told the stored days to keep earlier versions. Once a whole scan ended done, the
// timed and OK-pressed backups look only at what changed; Backup Now always scans whole.
TEST_F(ControlWindowTest, EachButtonAsksWhatItMustThenRunsBusyAndGivesTheWindowBack) {
  TSettings s;
  s.KeepDays = 7;
  StoreSettings(s);
  Start();
  struct Case {
    void (ControlWindow::*press)();
    int answer;  // 0: nothing asked
    Lines done;
    std::string heading;
  };
  const Case cases[] = {
      {&ControlWindow::Restore, kIdNo, {}, ""},
      {&ControlWindow::Restore, kIdYes, {"restore E:\\B busy 3", "front"}, "Restore initiated."},
      {&ControlWindow::Purge, kIdNo, {}, ""},
      {&ControlWindow::Purge, kIdYes, {"purge E:\\B busy 4", "front"}, "Purge initiated."},
      {&ControlWindow::BackupNow, 0, {"backup E:\\B of 1 ask busy 2 animated"},
       "Manual backup initiated for the following files and folders:"},
      {&ControlWindow::TimerTick, 0, {"backup E:\\B of 1 narrowed busy 1 animated"},
       "Timed backup initiated for the following files and folders:"},
      {&ControlWindow::BackupNow, 0, {"backup E:\\B of 1 ask busy 2 animated"},
       "Manual backup initiated for the following files and folders:"},
      {&ControlWindow::OK, 0, {"backup E:\\B of 1 narrowed busy 6 animated"},
       "User pressed Ok - Backup initiated for the following files and folders:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.heading);
    window.done.clear();
    page.lines.clear();
    sys.boxes.asked.clear();
    window.shown = true;
    if (c.answer) sys.boxes.Answer(c.answer);
    logic.Scheduler.MinutesToBackup = 1;  // the next tick is due
    (logic.*c.press)();
    EXPECT_EQ(window.done, c.done);
    EXPECT_EQ(sys.boxes.asked.size(), c.answer ? 1u : 0u);
    EXPECT_EQ(LogTexts().empty() ? "" : LogTexts().front(), c.heading.empty() ? "" : "# " + c.heading);
    EXPECT_EQ(logic.CurrentBusyState(), kIdle);
    EXPECT_TRUE(window.windowEnabled);
  }
  EXPECT_FALSE(window.shown);  // OK hides the window
  EXPECT_EQ(window.keptDays, std::vector<int>(6, 7));
  sys.boxes.Answer(kIdNo);
  logic.Purge();
  sys.boxes.Answer(kIdNo);
  logic.Restore();
  EXPECT_EQ(sys.boxes.asked.at(0).text,
            "Purging will delete backups of files and folders that no longer exist.\nDo you wish to continue?");
  EXPECT_EQ(sys.boxes.asked.at(1).text,
            "Last backup was performed " + stamp +
                ". Any changes made to files and folders selected for backup since then will be lost. \nDo you wish "
                "to continue?");
  EXPECT_EQ(sys.boxes.asked.at(1).style, 0x124u);
}

TEST_F(ControlWindowTest, SuppressingStopsEveryAutomaticBackupButNotBackupNow) {
  TSettings s;
  s.EnableTimedBackups = true;
  StoreSettings(s);
  Start();
  EXPECT_TRUE(window.timer);
  logic.ToggleSuppress();
  logic.RefreshControls();
  EXPECT_FALSE(window.timer);
  EXPECT_FALSE(window.optionsEnabled);
  EXPECT_FALSE(window.countdownEnabled);
  EXPECT_TRUE(window.Checked(Check::TimedBackups));  // the options keep their states
  EXPECT_EQ(window.texts[Text::Mode], "Automatic backups disabled");
  logic.OK();
  logic.CloseQuery(EndCause::ShutDown);
  logic.BackupNow();
  EXPECT_EQ(window.done, (Lines{"icon gone", "end 0", "backup E:\\B of 1 ask busy 2 animated"}));
}

TEST_F(ControlWindowTest, TheCloseQuerySavesRunsTheShutDownBackupOrSaysWhatItCutShort) {
  struct Case {
    BusyCode running;
    EndCause cause;
    Lines done, log;
  };
  const Case cases[] = {
      {kIdle, EndCause::ShutDown,
       {"backup E:\\B of 1 busy 6 animated", "icon gone", "end 0"},
       {"# Backup on shutdown initiated for the following files and folders:"}},
      {kManualBackup, EndCause::LogOff,
       {"icon gone", "end 0"},
       {"WARNING: Backup cut short by log-off.", "WARNING: Backup on shutdown prevented by current operation."}},
      {kPurging, EndCause::Closed,
       {"icon gone", "end 0"},
       {"WARNING: Purge cut short: Vesperhollow was closed.",
        "WARNING: Backup on shutdown prevented by current operation."}},
  };
  TSettings s;
  s.KeepDays = 7;
  StoreSettings(s);
  Start();
  logic.BackupNow();  // a whole scan that ended done: the shut-down backup still scans whole
  for (const Case& c : cases) {
    SCOPED_TRACE(c.log.front());
    window.done.clear();
    page.lines.clear();
    settings.RemoveKey(kSettingsKey);
    {
      const BusyScope busy(logic, c.running);
      logic.CloseQuery(c.cause);
    }
    EXPECT_EQ(window.done, c.done);
    EXPECT_EQ(LogTexts(), c.log);
    // The time of a shut-down backup is what the next start shows.
    EXPECT_EQ(Saved("LastBackup"), window.texts[Text::LastBackup]);
  }
  EXPECT_EQ(window.keptDays, (std::vector<int>{7, 7}));  // Backup Now's and the shut-down backup's
  EXPECT_NE(sys.files.Content(store + "\\Log.txt").find("cut short: Vesperhollow was closed."), std::string::npos);

  // With no backup folder there is nothing to save.
  window.done.clear();
  settings.RemoveKey(kSettingsKey);
  window.texts[Text::BackupFolder] = "";
  logic.CloseQuery(EndCause::Closed);
  EXPECT_EQ(window.done, (Lines{"icon gone", "end 0"}));
  EXPECT_TRUE(settings.Names(kSettingsKey).empty());
}

TEST_F(ControlWindowTest, ExitAsksThenSavesTheListAndCloses) {
  TSettings s;
  s.EnableTimedBackups = true;
  StoreSettings(s);
  Start();
  logic.BackupList.Add("C:\\a.txt", false, 0);
  sys.boxes.Answer(kIdNo);
  logic.Exit();
  window.SetChecked(Check::TimedBackups, false);
  sys.boxes.Answer(kIdYes);
  logic.Exit();
  EXPECT_EQ(sys.boxes.asked.at(0).text,
            "Exiting Vesperhollow will prevent further timed backups.\nDo you want to exit Vesperhollow?");
  EXPECT_EQ(sys.boxes.asked.at(1).text, "\nDo you want to exit Vesperhollow?");
  EXPECT_EQ(window.done, Lines{"close"});
  EXPECT_EQ(sys.files.Content(store + "\\Config.txt"), "3.0\r\nC:\\Docs\r\n1\r\n1\r\nC:\\a.txt\r\n0\r\n0\r\n");
}

TEST_F(ControlWindowTest, ChangingTheFolderRemovesTheOldBackupsOnlyWhenAllowed) {
  sys.files.AddFolder("E:\\New");
  const std::string newStore = "E:\\New\\$VH_BKS$\\PC1\\joe";
  struct Case {
    std::string chosen;
    std::vector<int> answers;
    RunResult removal;
    Lines done;
    std::string folderAfter;
  };
  const Case cases[] = {
      {"E:\\B", {}, RunResult::Done, {"choose E:\\B"}, "E:\\B"},  // the same folder: nothing asked
      {"E:\\New", {kIdNo}, RunResult::Done, {"choose E:\\B"}, "E:\\B"},
      {"E:\\New", {kIdYes}, RunResult::Cancelled, {"choose E:\\B", "remove E:\\B busy 5"}, "E:\\B"},
      {"E:\\New", {kIdYes, kIdCancel}, RunResult::Incomplete, {"choose E:\\B", "remove E:\\B busy 5"}, "E:\\B"},
      {"E:\\New", {kIdYes, kIdOk}, RunResult::Incomplete, {"choose E:\\B", "remove E:\\B busy 5"}, "E:\\New"},
  };
  StoreSettings();
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.done.size() + c.answers.size());
    window.done.clear();
    window.chosen = c.chosen;
    window.result = c.removal;
    sys.boxes.asked.clear();
    for (int answer : c.answers) sys.boxes.Answer(answer);
    logic.ChangeBackupFolder();
    EXPECT_EQ(window.done, c.done);
    EXPECT_EQ(sys.boxes.asked.size(), c.answers.size());
    EXPECT_EQ(logic.BackupFolder(), c.folderAfter);
    EXPECT_EQ(logic.CurrentBusyState(), kIdle);
  }
  EXPECT_EQ(sys.boxes.asked.at(0).text,
            "Changing the backup folder will delete any previous backups.\nDo you want to change the backup folder?");
  EXPECT_EQ(sys.boxes.asked.at(1).text,
            "Vesperhollow could not remove all previous backups. Press OK to continue with operation.");
  // The new store holds the list and the log before the settings point to it.
  EXPECT_EQ(sys.files.Content(newStore + "\\Config.txt"), "3.0\r\nC:\\Docs\r\n1\r\n1\r\n");
  EXPECT_NE(sys.files.Content(newStore + "\\Log.txt").find("Backup folder selected as E:\\New"), std::string::npos);
  EXPECT_EQ(Saved("BackupFolder"), "E:\\New");
}

TEST_F(ControlWindowTest, EarlierVersionsStoresTheDaysConfirmedForTheNextRuns) {
  const std::optional<int> answers[] = {std::nullopt, 0, 90};  // cancelled, versions off, kept longer
  for (const std::optional<int>& answer : answers) {
    TSettings s;
    s.KeepDays = 12;
    s.BackupFolder = "E:\\B";
    SaveSettings(settings, s);
    logic.LoadSettings();
    window.done.clear();
    settings.PutString(kVersionsKey, "KeepDays", "untouched");  // tells a write from none
    window.keepDays = answer;
    logic.EarlierVersions();
    EXPECT_EQ(window.done, (Lines{"versions E:\\B 12"}));
    EXPECT_EQ(logic.KeepDays(), answer.value_or(12));
    uint32_t stored = 0;
    EXPECT_EQ(settings.ReadDword(kVersionsKey, "KeepDays", stored), answer.has_value());
    EXPECT_EQ(stored, static_cast<uint32_t>(answer.value_or(0)));
  }
}

TEST_F(ControlWindowTest, TheTrayIconAnswersOnlyWhileIdleAndABalloonOnlyWhileHidden) {
  StoreSettings();
  Start();
  for (BusyCode busy : {kTimedBackup, kIdle}) {
    const BusyScope scope(logic, busy);
    for (TrayEvent e : {TrayEvent::LeftClick, TrayEvent::RightClick, TrayEvent::BalloonClick}) logic.Tray(e);
  }
  EXPECT_EQ(window.done, (Lines{"open", "menu", "log"}));

  window.done.clear();
  window.outcome = {RunResult::Incomplete, 2, false};
  for (bool shown : {true, false}) {
    window.shown = shown;
    logic.BackupNow();
  }
  window.outcome = {RunResult::Cancelled, 0, false};
  window.tip.clear();
  logic.BackupNow();
  EXPECT_EQ(window.done.at(2), "balloon 2 items could not be backed up. Click here to see the log.");
  EXPECT_EQ(window.done.size(), 4u);
  EXPECT_EQ(window.tip, "");  // a cancelled run leaves the tip as it was
}

TEST_F(ControlWindowTest, TheLoggingBoxStartsAndStopsTheLog) {
  StoreSettings();
  Start();
  for (bool on : {false, true, false}) {
    window.SetChecked(Check::EnableLog, on);
    logic.LogSwitched();
    EXPECT_EQ(logic.Log().Disabled(), !on);
  }
}

TEST_F(ControlWindowTest, ARestartedTaskbarGetsTheIconBackAnimatedWhileABackupRunsAndNoneOnceItWent) {
  logic.TaskbarCreated();  // before the window made its icon
  EXPECT_EQ(window.done, Lines{});
  StoreSettings();
  Start();
  logic.TaskbarCreated();
  window.duringRun = [&] { logic.TaskbarCreated(); };
  logic.BackupNow();
  window.duringRun = nullptr;
  logic.CloseQuery(EndCause::Closed);
  logic.TaskbarCreated();
  EXPECT_EQ(window.done, (Lines{"icon", "backup E:\\B of 1 ask busy 2 animated",
                                 "backup E:\\B of 1 busy 6 animated", "icon gone", "end 0"}));
  EXPECT_EQ(window.animationStarts, 3);  // the two backups', and again once the icon was back
  EXPECT_EQ(window.animations, 0);
}

}  // namespace
}  // namespace vh::test
