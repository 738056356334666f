#pragma once
// What every FileSystem does, run against each one: the logic's tests use the fake, so the fake
// must answer as the real one does. A program includes this once and instantiates the suite with
// its backend, a type with:
//   fs            the FileSystem under test
//   root          an empty folder of the test's own, on drive C:
//   SetLastWrite  stamps a file's last-write time (the interface has no call for it)
//   MakeSized     makes a file of a given size without writing its bytes
//   plugDrive     a drive that is away until Plug() and goes again at Unplug()
//   smallFolder   a folder on a drive that holds about 1 MiB, or empty where there is none
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vh::test {

template <typename Backend>
class FileSystemContract : public ::testing::Test {
 protected:
  // Bits every platform reports the same way (Wine adds others of its own).
  static constexpr uint32_t kVisibleBits = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory | kAttrArchive;
  // 2021-03-04 05:06:07 UTC plus a fraction that catches times cut to whole seconds.
  static constexpr int64_t kSomeTime = 132592467671234567;

  std::string At(const std::string& name) const { return backend.root + "\\" + name; }
  std::vector<std::string> Names(const std::string& folder) {
    std::vector<DirEntry> entries;
    EXPECT_TRUE(fs.List(folder, entries)) << folder;
    std::vector<std::string> names;
    for (const DirEntry& e : entries) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string Read(const std::string& path) {
    std::string content = "(unread)";
    fs.ReadFile(path, content);
    return content;
  }
  DirEntry StatOf(const std::string& path) {
    DirEntry entry;
    EXPECT_TRUE(fs.Stat(path, entry)) << path;
    return entry;
  }

  Backend backend;
  FileSystem& fs = backend.fs;
};

TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, AttributesTimesAndSizesRoundTripThroughListAndStat) {
  FileSystem& fs = this->fs;
  const std::string file = this->At("a.txt");
  const uint32_t bits = kAttrReadOnly | kAttrHidden | kAttrArchive;
  const uint64_t big = (uint64_t{5} << 30) + 3;
  ASSERT_TRUE(fs.WriteFile(file, "hello"));
  ASSERT_TRUE(fs.CreateFolder(this->At("Sub")));
  ASSERT_TRUE(this->backend.MakeSized(this->At("big.bin"), big));
  ASSERT_TRUE(this->backend.SetLastWrite(file, this->kSomeTime));
  ASSERT_TRUE(fs.SetAttributes(file, bits));
  EXPECT_EQ(fs.Attributes(this->At("A.TXT")) & this->kVisibleBits, bits);  // names ignore case
  EXPECT_EQ(fs.Attributes(this->At("sub")) & this->kVisibleBits, kAttrDirectory);
  EXPECT_EQ(fs.Attributes(this->At("missing")), kAttrInvalid);
  EXPECT_FALSE(fs.Delete(file));  // read-only

  std::vector<DirEntry> seen{{"stale", 0, 0, 0}};
  ASSERT_TRUE(fs.List(this->backend.root, seen));
  ASSERT_EQ(seen.size(), 3u);  // no "." or ".."
  EXPECT_EQ(this->Names(this->backend.root), (std::vector<std::string>{"Sub", "a.txt", "big.bin"}));
  for (const char* name : {"a.txt", "Sub", "big.bin"}) seen.push_back(this->StatOf(this->At(name)));
  for (const DirEntry& e : seen) {
    const bool folder = e.name == "Sub", small = e.name == "a.txt";
    EXPECT_EQ(e.size, folder ? 0u : small ? 5u : big) << e.name;
    if (!folder && !small) continue;
    EXPECT_EQ(e.attributes & this->kVisibleBits, folder ? kAttrDirectory : bits) << e.name;
    if (small) {
      EXPECT_EQ(e.lastWrite, this->kSomeTime);
    }
  }

  // Clearing every bit (the value 0) is allowed; Wine keeps the archive bit on every file.
  ASSERT_TRUE(fs.SetAttributes(file, 0));
  EXPECT_EQ(fs.Attributes(file) & (kAttrReadOnly | kAttrHidden | kAttrSystem), 0u);
  EXPECT_FALSE(fs.SetAttributes(this->At("missing"), kAttrArchive));
  DirEntry entry;
  EXPECT_FALSE(fs.Stat(this->At("missing"), entry));
}

TYPED_TEST_P(FileSystemContract, ListAndAnyEntryFailCleanlyAndSeeEmptyFolders) {
  FileSystem& fs = this->fs;
  std::vector<DirEntry> entries{{"stale", 0, 0, 0}};
  EXPECT_FALSE(fs.List(this->At("missing"), entries));
  EXPECT_TRUE(entries.empty());
  const auto any = [](const DirEntry&) { return true; };
  EXPECT_FALSE(fs.AnyEntry(this->At("missing"), any));

  ASSERT_TRUE(fs.CreateFolder(this->At("empty")));
  entries = {{"stale", 0, 0, 0}};
  EXPECT_TRUE(fs.List(this->At("empty") + "\\", entries));  // a trailing separator is fine too
  EXPECT_TRUE(entries.empty());
  EXPECT_FALSE(fs.AnyEntry(this->At("empty"), any));
  ASSERT_TRUE(fs.WriteFile(this->At("empty\\x.txt"), "x"));
  EXPECT_TRUE(fs.AnyEntry(this->At("empty"), [](const DirEntry& e) { return e.name == "x.txt"; }));
  EXPECT_FALSE(fs.AnyEntry(this->At("empty"), [](const DirEntry& e) { return e.name == "y.txt"; }));
}

TYPED_TEST_P(FileSystemContract, CopyKeepsContentTimeAndAttributesOverAnyOlderTarget) {
  FileSystem& fs = this->fs;
  const std::string source = this->At("source.txt");
  ASSERT_TRUE(fs.WriteFile(source, "the content"));
  ASSERT_TRUE(this->backend.SetLastWrite(source, this->kSomeTime));
  ASSERT_TRUE(fs.SetAttributes(source, kAttrHidden | kAttrArchive));
  // A longer old target must not leave its tail behind; one read-only till just now is replaced too.
  ASSERT_TRUE(fs.WriteFile(this->At("longer.txt"), "a much longer old content"));
  ASSERT_TRUE(fs.WriteFile(this->At("was read-only.txt"), "old"));
  ASSERT_TRUE(fs.SetAttributes(this->At("was read-only.txt"), kAttrReadOnly));
  ASSERT_TRUE(fs.SetAttributes(this->At("was read-only.txt"), 0));

  for (const char* name : {"copy.txt", "longer.txt", "was read-only.txt"}) {
    ASSERT_EQ(fs.Copy(source, this->At(name)), CopyResult::Ok) << name;
    EXPECT_EQ(this->Read(this->At(name)), "the content") << name;
    const DirEntry copy = this->StatOf(this->At(name));
    // Wine leaves a replaced file's own attributes, so only a new copy's are the source's.
    if (std::string(name) == "copy.txt") {
      EXPECT_EQ(copy.attributes & this->kVisibleBits, kAttrHidden | kAttrArchive);
    }
    EXPECT_EQ(copy.lastWrite, this->kSomeTime) << name;
    EXPECT_EQ(copy.size, 11u) << name;
  }
}

// A failed copy leaves whatever stood at the target as it was.
TYPED_TEST_P(FileSystemContract, CopyFailuresAreReportedAndLeaveTheTargetAlone) {
  FileSystem& fs = this->fs;
  ASSERT_TRUE(fs.WriteFile(this->At("source.txt"), "x"));
  ASSERT_TRUE(fs.CreateFolder(this->At("folder")));
  const struct {
    const char *source, *target;
  } cases[] = {
      {"missing.txt", "target.txt"},
      {"folder", "target.txt"},
      {"source.txt", "no folder\\target.txt"},
      {"source.txt", "source.txt"},
      {"source.txt", "folder"},
  };
  for (const auto& c : cases) {
    const uint32_t before = fs.Attributes(this->At(c.target));
    EXPECT_EQ(fs.Copy(this->At(c.source), this->At(c.target)), CopyResult::Failed) << c.source << " " << c.target;
    EXPECT_EQ(fs.Attributes(this->At(c.target)), before) << c.target;
  }
  EXPECT_EQ(this->Read(this->At("source.txt")), "x");
  EXPECT_EQ(this->Names(this->backend.root), (std::vector<std::string>{"folder", "source.txt"}));
}

// A large copy asks its progress call as it goes, and stops when told.
TYPED_TEST_P(FileSystemContract, CopyAsksItsProgressAndStopsWhenTold) {
  FileSystem& fs = this->fs;
  const std::string big = this->At("big.bin"), copy = this->At("copy.bin");
  ASSERT_TRUE(fs.WriteFile(big, std::string(8 << 20, 'b')));
  int asked = 0;
  EXPECT_EQ(fs.Copy(big, copy, [&] { return ++asked < 3; }), CopyResult::Cancelled);
  EXPECT_EQ(asked, 3);
  asked = 0;
  EXPECT_EQ(fs.Copy(big, copy, [&] { return ++asked > 0; }), CopyResult::Ok);
  EXPECT_GT(asked, 3);
  EXPECT_EQ(this->StatOf(copy).size, 8u << 20);
}

// Moves begun together may run at once; each outcome still comes back to its own move, in the
// order begun. A read-only file moves and stays read-only; a folder in the way or a missing
// folder refuses the move and leaves the file where it was. A move that keeps the file it
// replaces leaves it under the name given, or, when that cannot be, is made all the same.
TYPED_TEST_P(FileSystemContract, MovesBegunTogetherEndInOrderWithTheirOwnOutcomes) {
  FileSystem& fs = this->fs;
  ASSERT_TRUE(fs.CreateFolder(this->At("kept")));
  std::vector<std::string> targets, keepAs;
  std::vector<bool> expected;
  for (int i = 0; i < 40; ++i) {
    const std::string n = std::to_string(i);
    ASSERT_TRUE(fs.WriteFile(this->At("temp" + n), "content " + n));
    targets.push_back(i % 9 == 4 ? this->At("missing\\t") : this->At("t") + n);
    expected.push_back(i % 9 != 4 && i != 2);
    keepAs.push_back(i % 5 != 0 ? "" : i == 10 ? this->At("missing\\v10") : this->At("kept\\v" + n));
    if (i % 5 == 0) ASSERT_TRUE(fs.WriteFile(targets[i], "old " + n));
  }
  ASSERT_TRUE(fs.SetAttributes(this->At("temp1"), kAttrReadOnly));
  ASSERT_TRUE(fs.CreateFolder(this->At("t2")));
  for (int i = 0; i < 40; ++i) fs.BeginMoveReplace(this->At("temp" + std::to_string(i)), targets[i], keepAs[i]);
  std::vector<bool> outcomes, kept;
  for (int i = 0; i < 40; ++i) {
    const FileSystem::MoveOutcome outcome = fs.EndMoveReplace();
    outcomes.push_back(outcome.moved);
    kept.push_back(outcome.kept);
    EXPECT_EQ(outcome.kept, i % 5 == 0 && i != 10) << i;
  }
  EXPECT_EQ(outcomes, expected);
  EXPECT_FALSE(fs.EndMoveReplace().moved);  // nothing left to end
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(this->Read(expected[i] ? targets[i] : this->At("temp" + std::to_string(i))),
              "content " + std::to_string(i));
    if (kept[i]) EXPECT_EQ(this->Read(keepAs[i]), "old " + std::to_string(i));
  }
  EXPECT_EQ(fs.Attributes(this->At("t1")) & kAttrReadOnly, kAttrReadOnly);
}

// The restore's swap: the target takes the replacement's content and last-write time and no
// second name is left; a missing target is never made.
TYPED_TEST_P(FileSystemContract, SwapIntoPutsTheReplacementWholeInTheTargetsPlace) {
  FileSystem& fs = this->fs;
  const std::string file = this->At("restored.txt"), replacement = this->At("~vh1.tmp");
  ASSERT_TRUE(fs.WriteFile(file, "the user's file, longer than the backup"));
  ASSERT_TRUE(fs.WriteFile(replacement, "backup"));
  ASSERT_TRUE(this->backend.SetLastWrite(replacement, this->kSomeTime + 50'000'000));

  EXPECT_TRUE(fs.SwapInto(replacement, file));
  EXPECT_EQ(this->Read(file), "backup");
  EXPECT_EQ(this->StatOf(file).lastWrite, this->kSomeTime + 50'000'000);
  EXPECT_EQ(this->Names(this->backend.root), (std::vector<std::string>{"restored.txt"}));

  ASSERT_TRUE(fs.WriteFile(replacement, "backup"));
  EXPECT_FALSE(fs.SwapInto(replacement, this->At("missing.txt")));
  EXPECT_EQ(fs.Attributes(this->At("missing.txt")), kAttrInvalid);
}

// A version is kept by a rename: a read-only, hidden file keeps its attributes and time, and a file
// already under the new name is never replaced.
TYPED_TEST_P(FileSystemContract, RenameKeepsTheFileAsItIsAndNeverReplacesAnother) {
  FileSystem& fs = this->fs;
  ASSERT_TRUE(fs.WriteFile(this->At("old"), "old"));
  ASSERT_TRUE(fs.SetAttributes(this->At("old"), kAttrReadOnly | kAttrHidden));
  const DirEntry before = this->StatOf(this->At("old"));
  ASSERT_TRUE(fs.CreateFolder(this->At("kept")));
  ASSERT_TRUE(fs.Rename(this->At("old"), this->At("kept\\old")));
  const DirEntry after = this->StatOf(this->At("kept\\old"));
  EXPECT_EQ(after.attributes & this->kVisibleBits, before.attributes & this->kVisibleBits);
  EXPECT_EQ(after.lastWrite, before.lastWrite);
  EXPECT_EQ(fs.Attributes(this->At("old")), kAttrInvalid);

  ASSERT_TRUE(fs.WriteFile(this->At("other"), "other"));
  EXPECT_FALSE(fs.Rename(this->At("other"), this->At("kept\\old")));
  EXPECT_EQ(this->Read(this->At("kept\\old")), "old");
}

TYPED_TEST_P(FileSystemContract, LongPathsAndNamesOutsideTheAnsiCodePageWork) {
  FileSystem& fs = this->fs;
  std::string folder = this->backend.root;
  std::vector<std::string> folders;
  while (folder.size() < 300) {
    folder += "\\" + std::string(40, static_cast<char>('a' + folders.size()));
    ASSERT_TRUE(fs.CreateFolder(folder)) << folder;
    folders.push_back(folder);
  }
  // "Ελληνικά_中文" and "Ωμέγα 日本.txt"
  const std::string greek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC_\xE4\xB8\xAD\xE6\x96\x87";
  const std::string omega = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE6\x97\xA5\xE6\x9C\xAC.txt";
  for (const std::string& at : {folder, this->At(greek)}) {
    ASSERT_TRUE(at == folder || fs.CreateFolder(at));
    const std::string file = at + "\\" + omega;
    ASSERT_TRUE(fs.WriteFile(file, "\xCF\x80")) << file;
    EXPECT_EQ(this->Read(file), "\xCF\x80");
    EXPECT_TRUE(IsFileAttr(fs.Attributes(file)));
    ASSERT_EQ(fs.Copy(file, at + "\\copy.txt"), CopyResult::Ok);
    EXPECT_EQ(this->Names(at), (std::vector<std::string>{"copy.txt", omega}));
    EXPECT_TRUE(fs.Delete(file));
    EXPECT_TRUE(fs.Delete(at + "\\copy.txt"));
  }
  EXPECT_TRUE(fs.RemoveFolder(this->At(greek)));
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) EXPECT_TRUE(fs.RemoveFolder(*it));
  EXPECT_TRUE(this->Names(this->backend.root).empty());
}

TYPED_TEST_P(FileSystemContract, WriteFileReplacesWholeAndLeavesNoTemporary) {
  FileSystem& fs = this->fs;
  const std::string file = this->At("config.txt");
  for (const char* content : {"first version, longer", "second", ""}) {
    ASSERT_TRUE(fs.WriteFile(file, content));
    EXPECT_EQ(this->Read(file), content);
    EXPECT_EQ(this->Names(this->backend.root), (std::vector<std::string>{"config.txt"}));
  }
  // A temporary left read-only by an interrupted run does not block the next write.
  const std::string stale = file + kTempSuffix;
  ASSERT_TRUE(fs.WriteFile(stale, "stale"));
  ASSERT_TRUE(fs.SetAttributes(stale, kAttrReadOnly));
  ASSERT_TRUE(fs.WriteFile(file, "third"));
  EXPECT_EQ(this->Read(file), "third");
  EXPECT_EQ(this->Names(this->backend.root), (std::vector<std::string>{"config.txt"}));
}

TYPED_TEST_P(FileSystemContract, FailedReadsAndWritesLeaveEverythingAsItWas) {
  FileSystem& fs = this->fs;
  std::string content = "untouched";
  EXPECT_FALSE(fs.ReadFile(this->At("missing.txt"), content));
  EXPECT_FALSE(fs.ReadFile(this->backend.root, content));  // a folder is not a file
  bool whole = false;
  EXPECT_FALSE(fs.ReadFileEnd(this->At("missing.txt"), 10, content, whole));
  EXPECT_EQ(content, "untouched");
  EXPECT_FALSE(fs.WriteFile(this->At("missing\\file.txt"), "x"));
  EXPECT_FALSE(fs.AppendFile(this->At("missing.txt"), "x"));
  EXPECT_TRUE(this->Names(this->backend.root).empty());

  // A folder where the file should go cannot be replaced: it stays, and no temporary is left.
  ASSERT_TRUE(fs.CreateFolder(this->At("taken")));
  ASSERT_TRUE(fs.WriteFile(this->At("taken\\inside.txt"), "kept"));
  EXPECT_FALSE(fs.WriteFile(this->At("taken"), "new content"));
  EXPECT_TRUE(IsFolderAttr(fs.Attributes(this->At("taken"))));
  EXPECT_EQ(this->Names(this->backend.root), (std::vector<std::string>{"taken"}));
  EXPECT_EQ(this->Read(this->At("taken\\inside.txt")), "kept");
}

TYPED_TEST_P(FileSystemContract, AppendAndReadTheEnd) {
  FileSystem& fs = this->fs;
  const std::string file = this->At("log.txt");
  ASSERT_TRUE(fs.WriteFile(file, "one\r\n"));
  ASSERT_TRUE(fs.AppendFile(file, "two\r\n"));
  EXPECT_EQ(this->Read(file), "one\r\ntwo\r\n");
  const struct {
    uint64_t maxBytes;
    const char* content;
    bool whole;
  } cases[] = {{5, "two\r\n", false}, {10, "one\r\ntwo\r\n", true}, {1000, "one\r\ntwo\r\n", true}, {0, "", false}};
  for (const auto& c : cases) {
    std::string content;
    bool whole = !c.whole;
    ASSERT_TRUE(fs.ReadFileEnd(file, c.maxBytes, content, whole)) << c.maxBytes;
    EXPECT_EQ(content, c.content) << c.maxBytes;
    EXPECT_EQ(whole, c.whole) << c.maxBytes;
  }
}

TYPED_TEST_P(FileSystemContract, FoldersAreMadeUnderAFolderAndRemovedOnlyWhenEmpty) {
  FileSystem& fs = this->fs;
  const std::string folder = this->At("folder");
  EXPECT_FALSE(fs.CreateFolder(this->At("no parent\\folder")));
  ASSERT_TRUE(fs.CreateFolder(folder));
  EXPECT_FALSE(fs.CreateFolder(folder));
  ASSERT_TRUE(fs.WriteFile(folder + "\\file.txt", "x"));
  EXPECT_FALSE(fs.CreateFolder(folder + "\\file.txt"));
  EXPECT_FALSE(fs.RemoveFolder(folder));
  EXPECT_FALSE(fs.RemoveFolder(folder + "\\file.txt"));
  EXPECT_FALSE(fs.Delete(folder));
  EXPECT_TRUE(IsFileAttr(fs.Attributes(folder + "\\file.txt")));

  EXPECT_TRUE(fs.Delete(folder + "\\file.txt"));
  EXPECT_FALSE(fs.Delete(folder + "\\file.txt"));
  EXPECT_TRUE(fs.RemoveFolder(folder));
  EXPECT_EQ(fs.Attributes(folder), kAttrInvalid);
  EXPECT_FALSE(fs.RemoveFolder(folder));
}

// The store's lock: held once at a time, even within one process; let go, its file goes.
TYPED_TEST_P(FileSystemContract, ALockFileIsHeldOnceAndGoesWhenLetGo) {
  FileSystem& fs = this->fs;
  const std::string path = this->At("lock");
  bool inUse = true;
  auto held = fs.OpenLockFile(path, inUse);
  ASSERT_TRUE(held);
  EXPECT_FALSE(inUse);
  EXPECT_TRUE(IsFileAttr(fs.Attributes(path)));
  EXPECT_FALSE(fs.OpenLockFile(path, inUse));
  EXPECT_TRUE(inUse);
  EXPECT_FALSE(fs.Delete(path));
  EXPECT_FALSE(fs.OpenLockFile(this->At("missing\\lock"), inUse));
  EXPECT_FALSE(inUse);
  held.reset();
  EXPECT_EQ(fs.Attributes(path), kAttrInvalid);
  EXPECT_TRUE(fs.OpenLockFile(path, inUse));
}

TYPED_TEST_P(FileSystemContract, DrivesComeAndGo) {
  FileSystem& fs = this->fs;
  EXPECT_TRUE(fs.DriveMask() & (1u << ('C' - 'A')));
  for (const char* drive : {"C:", "C:\\"}) {
    EXPECT_TRUE(IsFolderAttr(fs.Attributes(drive))) << drive;
    EXPECT_FALSE(fs.IsRemoteDrive(drive)) << drive;
  }
  EXPECT_FALSE(fs.IsRemoteDrive(""));

  const std::string drive = this->backend.plugDrive;
  ASSERT_EQ(drive.size(), 2u) << "run under scripts/with-wine, which sets VH_PLUG_DRIVE and VH_PLUG_DIR";
  const uint32_t bit = 1u << (std::toupper(static_cast<unsigned char>(drive[0])) - 'A');
  std::vector<DirEntry> entries{{"stale", 0, 0, 0}};
  const auto away = [&] {
    EXPECT_EQ(fs.Attributes(drive), kAttrInvalid);
    EXPECT_EQ(fs.Attributes(drive + "\\on the drive.txt"), kAttrInvalid);
    EXPECT_FALSE(fs.DriveMask() & bit);
    EXPECT_FALSE(fs.List(drive, entries));
  };
  away();
  ASSERT_TRUE(this->backend.Plug()) << "the drive's folder is left over from an earlier run";
  EXPECT_TRUE(IsFolderAttr(fs.Attributes(drive)));
  EXPECT_TRUE(fs.DriveMask() & bit);
  EXPECT_FALSE(fs.IsRemoteDrive(drive));
  EXPECT_TRUE(this->Names(drive).empty());
  EXPECT_TRUE(fs.WriteFile(drive + "\\on the drive.txt", "x"));
  EXPECT_EQ(this->Names(drive), (std::vector<std::string>{"on the drive.txt"}));
  EXPECT_TRUE(fs.Delete(drive + "\\on the drive.txt"));
  ASSERT_TRUE(this->backend.Unplug());
  away();
}

// A full drive: the copy says so, and a rewrite or an append that does not fit keeps the file.
TYPED_TEST_P(FileSystemContract, AFullDriveLeavesFilesAsTheyWere) {
  FileSystem& fs = this->fs;
  const std::string small = this->backend.smallFolder;
  if (small.empty()) GTEST_SKIP() << "no small drive here to fill";
  const std::string big(2 << 20, 'b');
  ASSERT_TRUE(fs.WriteFile(this->At("big.bin"), big));
  ASSERT_TRUE(fs.WriteFile(small + "\\old.txt", "previous"));
  EXPECT_FALSE(fs.WriteFile(small + "\\old.txt", big));
  EXPECT_FALSE(fs.AppendFile(small + "\\old.txt", big));
  EXPECT_EQ(this->Read(small + "\\old.txt"), "previous");
  EXPECT_EQ(fs.Copy(this->At("big.bin"), small + "\\copy.bin"), CopyResult::DiskFull);
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, AttributesTimesAndSizesRoundTripThroughListAndStat,
                            ListAndAnyEntryFailCleanlyAndSeeEmptyFolders,
                            CopyKeepsContentTimeAndAttributesOverAnyOlderTarget,
                            CopyFailuresAreReportedAndLeaveTheTargetAlone, CopyAsksItsProgressAndStopsWhenTold,
                            MovesBegunTogetherEndInOrderWithTheirOwnOutcomes,
                            SwapIntoPutsTheReplacementWholeInTheTargetsPlace,
                            RenameKeepsTheFileAsItIsAndNeverReplacesAnother,
                            LongPathsAndNamesOutsideTheAnsiCodePageWork, WriteFileReplacesWholeAndLeavesNoTemporary,
                            FailedReadsAndWritesLeaveEverythingAsItWas, AppendAndReadTheEnd,
                            FoldersAreMadeUnderAFolderAndRemovedOnlyWhenEmpty, ALockFileIsHeldOnceAndGoesWhenLetGo,
                            DrivesComeAndGo, AFullDriveLeavesFilesAsTheyWere);

}  // namespace vh::test
