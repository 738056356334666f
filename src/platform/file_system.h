#pragma once
// What the logic needs of the file system. Paths are UTF-8 with "\" as separator.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vh {

// File attribute bits, with the values the platform uses.
constexpr uint32_t kAttrReadOnly = 0x01;
constexpr uint32_t kAttrHidden = 0x02;
constexpr uint32_t kAttrSystem = 0x04;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
// A junction or symbolic link: a folder carrying it is never walked into.
constexpr uint32_t kAttrReparsePoint = 0x400;
// What Attributes() answers for a path that cannot be read: every bit set.
constexpr uint32_t kAttrInvalid = 0xFFFFFFFF;

struct DirEntry {
  std::string name;        // the name alone, never "." or ".."
  uint32_t attributes = 0;
  uint64_t size = 0;       // full size in bytes (folders 0)
  int64_t lastWrite = 0;   // 100-nanosecond units since 1601-01-01 UTC
};

enum class CopyResult { Ok, DiskFull, Failed, Cancelled };

// Called every chunk or so while a copy runs (often enough to keep a window answering); false
// stops the copy, which then answers Cancelled.
using CopyProgress = std::function<bool()>;

// Suffix of the temporary file WriteFile fills before it takes the target's place.
inline const char* const kTempSuffix = ".$VH_TMP$";

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual uint32_t Attributes(const std::string& path) = 0;
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
  // Lists a folder's entries (every attribute, hidden and system included). False when the
  // folder cannot be listed; `out` is then empty.
  virtual bool List(const std::string& folder, std::vector<DirEntry>& out) = 0;
  // True as soon as the folder holds an entry for which `wanted` is true; reads no further.
  virtual bool AnyEntry(const std::string& folder, const std::function<bool(const DirEntry&)>& wanted) {
    std::vector<DirEntry> entries;
    List(folder, entries);
    for (const DirEntry& e : entries) {
      if (wanted(e)) return true;
    }
    return false;
  }
  // The listing entry of one file or folder; false when it cannot be found.
  virtual bool Stat(const std::string& path, DirEntry& out) = 0;
  // Copies a file over an existing one, keeping content and last-write time. A copy that fails or
  // is stopped by `progress` may leave part of the target behind.
  virtual CopyResult Copy(const std::string& source, const std::string& target,
                          const CopyProgress& progress = nullptr) = 0;
  // Puts a whole file in the place of an existing one in one step, both flushed to the disk before
  // this returns: after a power loss the target is the old file or the whole new one. The target
  // keeps its creation time, permissions and other data streams and takes the replacement's
  // content and last-write time; it is a new file all the same, so its other hard links (if any)
  // keep the old content. The replacement's name goes.
  virtual bool SwapInto(const std::string& replacement, const std::string& target) = 0;
  // Renames a file over an existing one (not across drives). The content reaches the disk before
  // the new name does, and the new name before this returns: after a power loss the target is the
  // old file or the whole new one.
  virtual bool MoveReplace(const std::string& source, const std::string& target) = 0;
  // Gives a file a new name on its drive, never over another file. Not flushed: the next flushed
  // change on the drive carries it to the disk, and until then the file has its old name.
  virtual bool Rename(const std::string& source, const std::string& target) = 0;
  // What became of a move begun: whether it was made, and whether the file it replaced was kept.
  struct MoveOutcome {
    bool moved = false, kept = false;
  };
  // MoveReplace, which may still be under way when this returns (the platform then waits for the
  // disk on another thread). With `keepAs`, the target's own file is first renamed to it (as Rename
  // does: the move's flush carries that name to the disk), so that it is kept, not replaced; the
  // move is made whether or not it could be kept. None of the paths may be used again before
  // EndMoveReplace has told the outcome; outcomes come oldest first.
  virtual void BeginMoveReplace(const std::string& source, const std::string& target, const std::string& keepAs = {}) {
    moveOutcomes_.push_back(MoveKeeping(source, target, keepAs));
  }
  // The outcome of the oldest move begun and not yet ended; waits for it when it is under way,
  // calling `whileWaiting` every few dozen milliseconds meanwhile.
  virtual MoveOutcome EndMoveReplace([[maybe_unused]] const std::function<void()>& whileWaiting = nullptr) {
    if (moveOutcomes_.empty()) return {};  // nothing was begun
    const MoveOutcome outcome = moveOutcomes_.front();
    moveOutcomes_.erase(moveOutcomes_.begin());
    return outcome;
  }
  // Deletes a file (a read-only file is refused, as the platform does).
  virtual bool Delete(const std::string& path) = 0;
  // Removes a folder only when it is empty; a folder link goes itself, never what it points to.
  virtual bool RemoveFolder(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  // Reads a whole file's bytes.
  virtual bool ReadFile(const std::string& path, std::string& content) = 0;
  // Replaces a file's content whole or not at all: on failure an existing file is left as it was.
  virtual bool WriteFile(const std::string& path, const std::string& content) = 0;
  // Reads at most the last `maxBytes` of a file, whatever its size; `whole` tells whether that
  // is all of it.
  virtual bool ReadFileEnd(const std::string& path, uint64_t maxBytes, std::string& content, bool& whole) = 0;
  // Adds to the end of an existing file; on failure the file keeps the length it had. Needs room
  // for the new bytes only, where a rewrite needs room for the whole file.
  virtual bool AppendFile(const std::string& path, const std::string& content) = 0;
  // Bit 0 is A:, bit 25 is Z:.
  virtual uint32_t DriveMask() = 0;
  virtual bool IsRemoteDrive(const std::string& drive) = 0;

  // A file held open that no one else can open, not even through another handle of the same
  // process, until the holder lets it go. The file goes then, and when the holding process ends
  // without letting go.
  class FileLock {
   public:
    virtual ~FileLock() = default;
  };
  // Makes or opens `path` (its folder must exist) and holds it so. Null when that failed;
  // `inUse` then tells whether someone else holds it.
  virtual std::unique_ptr<FileLock> OpenLockFile(const std::string& path, bool& inUse) = 0;

 protected:
  // The work of a move begun, wherever the platform does it.
  MoveOutcome MoveKeeping(const std::string& source, const std::string& target, const std::string& keepAs) {
    MoveOutcome outcome;
    outcome.kept = !keepAs.empty() && Rename(target, keepAs);
    outcome.moved = MoveReplace(source, target);
    return outcome;
  }

 private:
  std::vector<MoveOutcome> moveOutcomes_;
};

inline bool IsFolderAttr(uint32_t a) { return a != kAttrInvalid && (a & kAttrDirectory); }
inline bool IsFileAttr(uint32_t a) { return a != kAttrInvalid && !(a & kAttrDirectory); }

}  // namespace vh
