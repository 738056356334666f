#include "operations/change_marks.h"

#include <gtest/gtest.h>

#include <functional>

#include "fake_folder_watch.h"
#include "fake_system.h"

namespace vh::test {
namespace {

using Lines = std::vector<std::string>;
using Kind = WatchEvent::Kind;

// One tree, scanned whole by a run that ended done; then what a row does before the next run.
struct WatchedTree {
  WatchedTree() {
    sys.files.AddDrive("C:");
    sys.files.AddFolder(root);
    list.Add(root, true, 1);
    list.Add("C:\\Flat", false, 1);  // no sub-folders: scanned whole as ever, never watched
    marks.Follow(list);
    Run(true, RunResult::Done);
  }
  void Event(Kind kind, const std::string& below) {
    watch.events.push_back({kind, root, below.empty() ? root : root + "\\" + below});
  }
  void Run(bool whole, RunResult result) {
    marks.StartRun(whole);
    marks.EndRun(result);
  }
  void Subs(bool on) {
    list.Item(list.IndexOf(root))->Subs = on;
    marks.Follow(list);
  }

  FakeSystem sys;
  FakeFolderWatch watch;
  ChangeMarks marks{watch};
  TSourceList list;
  const std::string root = "C:\\R";
};

TEST(ChangeMarks, MarkWhatChangedAndFallBackToAWholeScanWheneverTheWatchCannotVouch) {
  struct Case {
    const char* why;
    std::function<void(WatchedTree&)> before;
    bool whole;  // the run scans the tree whole
    Lines folders = {}, subtrees = {};
    bool wholeTrigger = false, narrowedAfter = true;  // after a whole run that ended done
  };
  const Case cases[] = {
      {"nothing changed", [](WatchedTree&) {}, false, {}, {}},
      {"a changed file marks its folder", [](WatchedTree& t) { t.Event(Kind::Changed, "a\\f"); }, false, {"C:\\R\\a"}},
      {"a name that came or went marks its folder and its subtree", [](WatchedTree& t) { t.Event(Kind::Named, "a\\N"); },
       false, {"C:\\R\\a"}, {"C:\\R\\a\\N"}},
      {"marks inside a marked subtree are handed over once",
       [](WatchedTree& t) {
         for (const char* name : {"a", "a\\b"}) t.Event(Kind::Named, name);
         for (const char* name : {"A\\b\\f", "c\\f", "c\\g"}) t.Event(Kind::Changed, name);
       },
       false, {"C:\\R", "C:\\R\\c"}, {"C:\\R\\a"}},
      {"a change during the last run waits for this one",
       [](WatchedTree& t) {
         t.marks.StartRun(false);
         t.Event(Kind::Changed, "late\\f");
         t.marks.EndRun(RunResult::Done);
       },
       false, {"C:\\R\\late"}},
      {"a trigger that scans whole", [](WatchedTree& t) { t.Event(Kind::Changed, "a\\f"); }, true, {}, {}, true},
      {"the watch lost changes", [](WatchedTree& t) { t.Event(Kind::Lost, ""); }, true},
      {"the root itself renamed", [](WatchedTree& t) { t.Event(Kind::Named, ""); }, true},
      {"more marks than kept",
       [](WatchedTree& t) {
         for (size_t i = 0; i <= ChangeMarks::kMostMarks; ++i) t.Event(Kind::Changed, std::to_string(i) + "\\f");
       },
       true},
      {"the whole scan is as old as the watch vouches for", [](WatchedTree& t) { t.watch.now = t.watch.vouch; },
       true},
      {"the last run was cut short", [](WatchedTree& t) { t.Run(false, RunResult::Incomplete); }, true},
      {"the last run was cancelled", [](WatchedTree& t) { t.Run(false, RunResult::Cancelled); }, true},
      {"the last run never told its end", [](WatchedTree& t) { t.marks.StartRun(false); }, true},
      {"backups removed from the store", [](WatchedTree& t) { t.marks.Forget(); }, true},
      {"sub-folders turned off and on again",
       [](WatchedTree& t) {
         t.Subs(false);
         t.Subs(true);
       },
       true},
      {"the tree went", [](WatchedTree& t) { t.sys.files.RemoveFolder(t.root); }, true, {}, {}, false, false},
      {"the watch refuses the tree",
       [](WatchedTree& t) {
         t.watch.refused.insert(t.root);
         t.Event(Kind::Lost, "");  // watched afresh, and refused
       },
       true, {}, {}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    WatchedTree t;
    c.before(t);
    const ScanScope scope = t.marks.StartRun(c.wholeTrigger);
    const TreeMarks* found = scope.Find("c:\\r");
    ASSERT_EQ(found == nullptr, c.whole);
    EXPECT_EQ(scope.Find("C:\\Flat"), nullptr);
    if (found) {
      EXPECT_EQ(found->folders, c.folders);
      EXPECT_EQ(found->subtrees, c.subtrees);
    }
    t.marks.EndRun(RunResult::Done);
    t.Event(Kind::Changed, "next\\f");
    const ScanScope next = t.marks.StartRun(false);
    ASSERT_EQ(next.Find(t.root) != nullptr, c.narrowedAfter);
    if (c.narrowedAfter) {
      EXPECT_EQ(next.Find(t.root)->folders, Lines{"C:\\R\\next"});  // a fresh set
    }
    EXPECT_EQ(t.watch.watched.count("C:\\Flat"), 0u);
  }
}

}  // namespace
}  // namespace vh::test
