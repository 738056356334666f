#pragma once
// An in-memory file system for tests: drives that can be plugged and unplugged between any two
// calls, the five attribute bits, 100-ns times, and faults on demand.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vh::test {

class FakeFileSystem : public FileSystem {
 public:
  // A drive ("C:" or "\\server\share"), plugged in, with an empty root folder.
  void AddDrive(const std::string& drive, bool remote = false);
  void Plug(const std::string& drive) { unplugged_.erase(Key(drive)); }
  void Unplug(const std::string& drive) { unplugged_.insert(Key(drive)); }

  // Creates folders and files with their missing parents.
  void AddFolder(const std::string& given, uint32_t attributes = kAttrDirectory);
  void AddFile(const std::string& path, const std::string& content = "", int64_t lastWrite = 0,
               uint32_t attributes = kAttrArchive);
  // A junction: a folder whose own entries stand for what it points to.
  void AddLink(const std::string& path) { AddFolder(path, kAttrDirectory | kAttrReparsePoint); }
  // Gives a file a size without content, for files too big to hold.
  void SetSize(const std::string& path, uint64_t size);
  void SetLastWrite(const std::string& path, int64_t lastWrite);
  // The time that writes stamp on files.
  void SetNow(int64_t now) { now_ = now; }

  bool Exists(const std::string& path) const;
  std::string Content(const std::string& path) const;
  int64_t LastWrite(const std::string& path) const;
  // Which file a path holds: kept by writes into it, new for a file made or renamed into place.
  int Identity(const std::string& path) const;
  // Every path below `root` (itself excluded), files and folders, in name order.
  std::vector<std::string> PathsBelow(const std::string& root) const;

  // Faults: a file that cannot be opened (read, written or copied from) or a folder that cannot
  // be listed, deleted, or copied;
  // and a drive that takes only `bytes` more bytes before it is full (a file replaced or deleted
  // frees its bytes).
  void FailOpen(const std::string& path) { failOpen_.insert(Key(path)); }
  // The program that held it open lets it go.
  void ReleaseOpen(const std::string& path) { failOpen_.erase(Key(path)); }
  void FailDelete(const std::string& path) { failDelete_.insert(Key(path)); }
  void FailCopy(const std::string& path) { failCopy_.insert(Key(path)); }
  void DiskFullAfter(const std::string& drive, uint64_t bytes) { room_[Key(drive)] = bytes; }

  // Runs before every call of the interface, with the call's name and its (first) path: where a
  // test unplugs a drive or changes a file at an exact step.
  std::function<void(const std::string& call, const std::string& path)> beforeCall;
  int calls = 0;

  uint32_t Attributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool List(const std::string& folder, std::vector<DirEntry>& out) override;
  bool Stat(const std::string& path, DirEntry& out) override;
  // Asks `progress` once for every `copyChunk` bytes (at least once), before anything is written.
  CopyResult Copy(const std::string& source, const std::string& target,
                  const CopyProgress& progress = nullptr) override;
  uint64_t copyChunk = 1 << 16;
  bool SwapInto(const std::string& replacement, const std::string& target) override;
  bool MoveReplace(const std::string& source, const std::string& target) override;
  bool Rename(const std::string& source, const std::string& target) override;
  // With deferMoves, a move begun happens only when its outcome is asked for, as on a platform
  // that waits for the disk on another thread.
  bool deferMoves = false;
  void BeginMoveReplace(const std::string& source, const std::string& target, const std::string& keepAs = {}) override;
  MoveOutcome EndMoveReplace(const std::function<void()>& whileWaiting = nullptr) override;
  bool Delete(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string& content) override;
  bool WriteFile(const std::string& path, const std::string& content) override;
  bool ReadFileEnd(const std::string& path, uint64_t maxBytes, std::string& content, bool& whole) override;
  bool AppendFile(const std::string& path, const std::string& content) override;
  uint32_t DriveMask() override;
  bool IsRemoteDrive(const std::string& drive) override;
  // Held files cannot be opened, deleted or copied; a lock let go deletes its file.
  std::unique_ptr<FileLock> OpenLockFile(const std::string& path, bool& inUse) override;

 private:
  struct Node {
    std::string path;  // as created, case kept
    bool folder = false;
    uint32_t attributes = 0;
    std::string content;
    std::optional<uint64_t> size;
    int64_t lastWrite = 0;
    int id = 0;
  };
  static std::string Key(const std::string& path);
  static DirEntry EntryOf(const Node& node);
  void Call(const char* name, const std::string& path);
  // The node of a path on a plugged drive, or null.
  Node* Find(const std::string& path);
  const Node* Find(const std::string& path) const;
  Node* ParentFolder(const std::string& path);
  bool Readable(const std::string& path) const { return !failOpen_.count(Key(path)) && !held_.count(Key(path)); }
  // Takes `bytes` of the drive's room; false when the disk is full (the room is then used up).
  bool TakeRoom(const std::string& path, uint64_t& bytes);
  // A file replaced or deleted gives its room back.
  void GiveRoom(const Node& node);

  std::map<std::string, Node> nodes_;
  std::map<std::string, bool> drives_;  // key -> remote
  std::set<std::string> unplugged_, failOpen_, failDelete_, failCopy_, held_;
  std::map<std::string, uint64_t> room_;
  int64_t now_ = 0;
  std::vector<std::array<std::string, 3>> deferred_;  // source, target, keepAs
  int nextId_ = 1;
};

}  // namespace vh::test
