#include "operations/change_marks.h"

#include <gtest/gtest.h>

#include <functional>

#include "fake_folder_watch.h"
#include "fake_system.h"

namespace vh::test {
namespace {

using Lines = std::vector<std::string>;
using Kind = WatchEvent::Kind;

// One tree, scanned whole by a run that ended done; then what each row does before the next run.
struct WatchedTree {
  WatchedTree() {
    sys.files.AddDrive("C:");
    sys.files.AddFolder(root);
    list.Add(root, true, 1);
    list.Add("C:\\Flat", false, 1);  // no sub-folders: scanned whole as ever, never watched
    marks.Follow(list);
    marks.StartRun(true);
    marks.EndRun(RunResult::Done);
  }
  void Event(Kind kind, const std::string& below) {
    watch.events.push_back({kind, root, below.empty() ? root : root + "\\" + below});
  }

  FakeSystem sys;
  FakeFolderWatch watch;
  ChangeMarks marks{watch};
  TSourceList list;
  const std::string root = "C:\\R";
};

TEST(ChangeMarks, MarksWhatChangedAndFallsBackToAWholeScanWheneverTheWatchCannotVouch) {
  struct Case {
    const char* why;
    std::function<void(WatchedTree&)> before;  // between the whole scan and the run
    bool whole;                                    // the run scans the tree whole
    Lines folders, subtrees;
    bool narrowedAfter = true;  // a run after a whole one that ended done narrows again
    bool wholeTrigger = false;  // the run was started by a trigger that scans whole
  };
  const Case cases[] = {
      {"nothing changed", [](WatchedTree&) {}, false, {}, {}},
      {"a changed file marks its folder", [](WatchedTree& t) { t.Event(Kind::Changed, "a\\f.txt"); }, false,
       {"C:\\R\\a"}, {}},
      {"a name that came or went marks its folder and its own subtree",
       [](WatchedTree& t) { t.Event(Kind::Named, "a\\New"); }, false, {"C:\\R\\a"}, {"C:\\R\\a\\New"}},
      {"marks inside a marked subtree are handed over once",
       [](WatchedTree& t) {
         t.Event(Kind::Named, "a");
         t.Event(Kind::Named, "a\\b");
         t.Event(Kind::Changed, "A\\b\\f.txt");
         t.Event(Kind::Changed, "c\\f.txt");
         t.Event(Kind::Changed, "c\\g.txt");
       },
       false, {"C:\\R", "C:\\R\\c"}, {"C:\\R\\a"}},
      {"an event of a tree not followed is ignored",
       [](WatchedTree& t) { t.watch.events.push_back({Kind::Lost, "C:\\Other", "C:\\Other"}); }, false, {}, {}},
      {"a change during the last run waits for this one",
       [](WatchedTree& t) {
         t.marks.StartRun(false);
         t.Event(Kind::Changed, "late\\f");
         t.marks.EndRun(RunResult::Done);
       },
       false, {"C:\\R\\late"}, {}},
      {"the watch lost changes", [](WatchedTree& t) { t.Event(Kind::Lost, ""); }, true, {}, {}},
      {"the root itself renamed", [](WatchedTree& t) { t.Event(Kind::Named, ""); }, true, {}, {}},
      {"a path outside the tree", [](WatchedTree& t) { t.watch.events.push_back({Kind::Changed, t.root, "C:\\Rx\\f"}); },
       true, {}, {}},
      {"more marks than kept",
       [](WatchedTree& t) {
         for (size_t i = 0; i <= ChangeMarks::kMostMarks; ++i) t.Event(Kind::Changed, std::to_string(i) + "\\f");
       },
       true, {}, {}},
      {"the last whole scan is as old as the watch vouches for",
       [](WatchedTree& t) { t.watch.now = t.watch.vouchSeconds; }, true, {}, {}},
      {"a trigger that scans whole", [](WatchedTree& t) { t.Event(Kind::Changed, "a\\f"); }, true, {}, {}, true,
       true},
      {"the last run was cut short",
       [](WatchedTree& t) {
         t.marks.StartRun(false);
         t.marks.EndRun(RunResult::Incomplete);
       },
       true, {}, {}},
      {"the last run was cancelled",
       [](WatchedTree& t) {
         t.marks.StartRun(false);
         t.marks.EndRun(RunResult::Cancelled);
       },
       true, {}, {}},
      {"the last run never told its end", [](WatchedTree& t) { t.marks.StartRun(false); }, true, {}, {}},
      {"backups removed from the store", [](WatchedTree& t) { t.marks.Forget(); }, true, {}, {}},
      {"sub-folders turned off and on again",
       [](WatchedTree& t) {
         t.list.Item(t.list.IndexOf(t.root))->Subs = false;
         t.marks.Follow(t.list);
         t.list.Item(t.list.IndexOf(t.root))->Subs = true;
         t.marks.Follow(t.list);
       },
       true, {}, {}},
      {"the tree went", [](WatchedTree& t) { t.sys.files.RemoveFolder(t.root); }, true, {}, {}, false},
      {"the watch refuses the tree",
       [](WatchedTree& t) {
         t.watch.refused.insert(t.root);
         t.Event(Kind::Lost, "");  // watched afresh, and refused
       },
       true, {}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    WatchedTree t;
    c.before(t);
    const ScanScope scope = t.marks.StartRun(c.wholeTrigger);
    const TreeMarks* found = scope.Find("c:\\r");
    EXPECT_EQ(found == nullptr, c.whole);
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
