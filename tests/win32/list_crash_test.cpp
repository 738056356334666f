// A row of the fault matrix for the backup list: the program adds an entry on its Select page and
// is killed right after, with no exit to save the list; "Config.txt" holds the entry all the same.
#include "child_test.h"
#include "main_form_fixture.h"

namespace vh::test {
namespace {

// The program of the row: adds the folder it is given with the Add button, says so through the
// named event, and waits to be killed.
class ListCrashChild : public MainFormTest {};

TEST_F(ListCrashChild, AddThenWaitToBeKilled) {
  const std::string job = Env("VH_LIST_CHILD");
  if (job.empty()) GTEST_SKIP() << "started only by the crash row";
  const size_t bar = job.find('|'), bar2 = job.find('|', bar + 1);
  const std::string added = job.substr(0, bar), store = job.substr(bar + 1, bar2 - bar - 1);
  TSettings s;
  s.BackupFolder = store;
  s.ShowProgress = false;
  SaveSettings(settings, s);
  ui::TMainForm& f = Form();
  const TreeItem drive = f.FolderView->FindNode(f.select_.TreeView.FirstRoot(), DrivePart(added));
  f.select_.TreeView.Expand(drive);
  if (!f.select_.TreeView.FirstChild(drive)) f.TreeViewExpanding(drive);  // where the control sent no notice
  f.select_.TreeView.Select(f.FolderView->FindNode(f.select_.TreeView.FirstRoot(), added));
  f.select_.AddBtn.Click();
  HANDLE edited = OpenEventW(EVENT_MODIFY_STATE, FALSE, win32::Widen(job.substr(bar2 + 1)).c_str());
  SetEvent(edited);
  Sleep(60'000);  // killed long before; bounded should the row fail to kill it
}

class ListCrashTest : public DiskTest {};

TEST_F(ListCrashTest, AnEntryAddedRightBeforeAKillIsInTheListFile) {
  const std::string drive = Env("VH_PLUG_DRIVE"), plug = Env("VH_PLUG_DIR");
  ASSERT_FALSE(drive.empty()) << "run under scripts/with-wine, which provides the plug drive";
  files.CreateFolder(plug);
  const std::string added = drive + "\\Docs", backupFolder = folder + "\\backup";
  const std::string config = MirrorPath(backupFolder, "") + "\\Config.txt";
  Write(added + "\\a.txt", "alpha");
  Write(config, "3.0\r\n");

  const std::string eventName = "VhListEdited" + std::to_string(GetCurrentProcessId());
  HANDLE edited = CreateEventW(nullptr, TRUE, FALSE, win32::Widen(eventName).c_str());
  PROCESS_INFORMATION child =
      StartChildTest("ListCrashChild.*", "VH_LIST_CHILD", added + "|" + backupFolder + "|" + eventName);
  ASSERT_TRUE(child.hProcess);
  const HANDLE either[] = {edited, child.hProcess};
  EXPECT_EQ(WaitForMultipleObjects(2, either, FALSE, 60'000), WAIT_OBJECT_0) << "the child ended before its edit";
  KillChild(child);
  CloseHandle(edited);

  EXPECT_EQ(Read(config), "3.0\r\n" + added + "\r\n1\r\n1\r\n");
  RemoveTree(plug);
}

}  // namespace
}  // namespace vh::test
