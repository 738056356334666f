#include "fake_file_system.h"

#include <algorithm>
#include <cctype>

#include "store/store_paths.h"

namespace vh::test {

std::string FakeFileSystem::Key(const std::string& path) {
  std::string key = path;
  while (key.size() > 2 && key.back() == '\\') key.pop_back();
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return key;
}

void FakeFileSystem::Call(const char* name, const std::string& path) {
  ++calls;
  if (beforeCall) beforeCall(name, path);
}

void FakeFileSystem::AddDrive(const std::string& drive, bool remote) {
  drives_[Key(drive)] = remote;
  nodes_[Key(drive)] = Node{drive, true, kAttrDirectory, {}, {}, 0};
}

void FakeFileSystem::AddFolder(const std::string& given, uint32_t attributes) {
  std::string path = given;
  while (path.size() > 2 && path.back() == '\\') path.pop_back();
  const std::string parent = FolderOf(path);
  if (!parent.empty() && Key(parent) != Key(path) && !nodes_.count(Key(parent))) AddFolder(parent);
  Node& node = nodes_[Key(path)];
  if (node.path.empty()) node = Node{path, true, attributes | kAttrDirectory, {}, {}, now_};
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content, int64_t lastWrite,
                             uint32_t attributes) {
  const std::string parent = FolderOf(path);
  if (!nodes_.count(Key(parent))) AddFolder(parent);
  nodes_[Key(path)] = Node{path, false, attributes & ~kAttrDirectory, content, {}, lastWrite, nextId_++};
}

void FakeFileSystem::SetSize(const std::string& path, uint64_t size) { nodes_.at(Key(path)).size = size; }
void FakeFileSystem::SetLastWrite(const std::string& path, int64_t t) { nodes_.at(Key(path)).lastWrite = t; }

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) {
  const std::string drive = Key(DrivePart(path));
  if (drive.empty() || !drives_.count(drive) || unplugged_.count(drive)) return nullptr;
  auto it = nodes_.find(Key(path));
  return it == nodes_.end() ? nullptr : &it->second;
}

const FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) const {
  return const_cast<FakeFileSystem*>(this)->Find(path);
}

FakeFileSystem::Node* FakeFileSystem::ParentFolder(const std::string& path) {
  // As the platform: a name of more than 255 characters cannot be made.
  if (path.size() - path.rfind('\\') - 1 > 255) return nullptr;
  std::string parent = FolderOf(path);
  if (parent.empty() || Key(parent) == Key(path)) return nullptr;
  Node* node = Find(parent);
  return node && node->folder ? node : nullptr;
}

bool FakeFileSystem::TakeRoom(const std::string& path, uint64_t& bytes) {
  auto room = room_.find(Key(DrivePart(path)));
  if (room == room_.end()) return true;
  if (bytes <= room->second) {
    room->second -= bytes;
    return true;
  }
  bytes = room->second;
  room->second = 0;
  return false;
}

void FakeFileSystem::GiveRoom(const Node& node) {
  auto room = room_.find(Key(DrivePart(node.path)));
  if (room != room_.end()) room->second += node.size.value_or(node.content.size());
}

bool FakeFileSystem::Exists(const std::string& path) const { return Find(path) != nullptr; }
std::string FakeFileSystem::Content(const std::string& path) const {
  const Node* node = Find(path);
  return node ? node->content : std::string();
}
int64_t FakeFileSystem::LastWrite(const std::string& path) const {
  const Node* node = Find(path);
  return node ? node->lastWrite : -1;
}
int FakeFileSystem::Identity(const std::string& path) const {
  const Node* node = Find(path);
  return node ? node->id : 0;
}

std::vector<std::string> FakeFileSystem::PathsBelow(const std::string& root) const {
  std::vector<std::string> paths;
  const std::string prefix = Key(root) + "\\";
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.rfind(prefix, 0) == 0; ++it) {
    paths.push_back(it->second.path);
  }
  return paths;
}

uint32_t FakeFileSystem::Attributes(const std::string& path) {
  Call("Attributes", path);
  const Node* node = Find(path);
  return node ? node->attributes : kAttrInvalid;
}

bool FakeFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  Call("SetAttributes", path);
  Node* node = Find(path);
  if (!node) return false;
  node->attributes = (attributes & ~kAttrDirectory) | (node->folder ? kAttrDirectory : 0);
  return true;
}

bool FakeFileSystem::List(const std::string& folder, std::vector<DirEntry>& out) {
  Call("List", folder);
  out.clear();
  const Node* dir = Find(folder);
  if (!dir || !dir->folder || !Readable(folder)) return false;
  const std::string prefix = Key(folder) + "\\";
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.rfind(prefix, 0) == 0; ++it) {
    if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
    out.push_back(EntryOf(it->second));
  }
  return true;
}

DirEntry FakeFileSystem::EntryOf(const Node& n) {
  const std::string name = n.path.substr(n.path.rfind('\\') + 1);
  return DirEntry{name, n.attributes, n.folder ? 0 : n.size.value_or(n.content.size()), n.lastWrite};
}

bool FakeFileSystem::Stat(const std::string& path, DirEntry& out) {
  Call("Stat", path);
  const Node* node = Find(path);
  if (!node) return false;
  out = EntryOf(*node);
  return true;
}

bool FakeFileSystem::MoveReplace(const std::string& source, const std::string& target) {
  Call("MoveReplace", source);
  const Node* from = Find(source);
  const Node* to = Find(target);
  if (!from || from->folder || !ParentFolder(target) || Key(DrivePart(source)) != Key(DrivePart(target)) ||
      (to && (to->folder || (to->attributes & kAttrReadOnly)))) {
    return false;
  }
  if (to) GiveRoom(*to);
  Node moved = *from;
  moved.path = target;
  nodes_.erase(Key(source));
  nodes_[Key(target)] = moved;
  return true;
}

bool FakeFileSystem::Rename(const std::string& source, const std::string& target) {
  Call("Rename", source);
  const Node* from = Find(source);
  if (!from || from->folder || !Readable(source) || Find(target) || !ParentFolder(target) ||
      Key(DrivePart(source)) != Key(DrivePart(target))) {
    return false;
  }
  Node moved = *from;
  moved.path = target;
  nodes_.erase(Key(source));
  nodes_[Key(target)] = moved;
  return true;
}

void FakeFileSystem::BeginMoveReplace(const std::string& source, const std::string& target, const std::string& keepAs) {
  if (!deferMoves) return FileSystem::BeginMoveReplace(source, target, keepAs);
  deferred_.push_back({source, target, keepAs});
}

FileSystem::MoveOutcome FakeFileSystem::EndMoveReplace(const std::function<void()>& whileWaiting) {
  if (!deferMoves) return FileSystem::EndMoveReplace(whileWaiting);
  if (deferred_.empty()) return {};
  const auto [source, target, keepAs] = deferred_.front();
  deferred_.erase(deferred_.begin());
  return MoveKeeping(source, target, keepAs);
}

CopyResult FakeFileSystem::Copy(const std::string& source, const std::string& target,
                                const CopyProgress& progress) {
  Call("Copy", source);
  const Node* from = Find(source);
  if (!from || from->folder || !Readable(source) || failCopy_.count(Key(source))) return CopyResult::Failed;
  // A file is never copied onto itself: the platform cannot open it for writing while reading it.
  if (!ParentFolder(target) || !Readable(target) || Key(source) == Key(target)) return CopyResult::Failed;
  if (const Node* to = Find(target);
      to && (to->folder || (to->attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem)))) {
    return CopyResult::Failed;
  }
  const uint64_t size = from->size.value_or(from->content.size());
  for (uint64_t at = 0; progress && (at == 0 || at < size); at += copyChunk) {
    if (!progress()) return CopyResult::Cancelled;
  }
  Node copy = *from;
  copy.path = target;
  copy.id = nextId_++;
  uint64_t bytes = copy.content.size();
  const bool fits = TakeRoom(target, bytes);
  if (!fits) {
    // As the platform's copy does: a truncated target is left behind, with the source's time.
    copy.content.resize(bytes);
    copy.size.reset();
  }
  nodes_[Key(target)] = copy;
  return fits ? CopyResult::Ok : CopyResult::DiskFull;
}

bool FakeFileSystem::SwapInto(const std::string& replacement, const std::string& target) {
  Call("SwapInto", replacement);
  const Node* to = Find(target);
  // A file its program holds open cannot be swapped away.
  return to && !to->folder && Readable(target) && MoveReplace(replacement, target);
}

bool FakeFileSystem::Delete(const std::string& path) {
  Call("Delete", path);
  const Node* node = Find(path);
  if (!node || node->folder || (node->attributes & kAttrReadOnly) || failDelete_.count(Key(path)) ||
      held_.count(Key(path))) {
    return false;
  }
  GiveRoom(*node);
  nodes_.erase(Key(path));
  return true;
}

bool FakeFileSystem::RemoveFolder(const std::string& path) {
  Call("RemoveFolder", path);
  const Node* node = Find(path);
  if (!node || !node->folder || failDelete_.count(Key(path)) || drives_.count(Key(path))) return false;
  // A link goes with the view of its target below it; the target itself is elsewhere.
  const bool link = node->attributes & kAttrReparsePoint;
  if (!link && !PathsBelow(path).empty()) return false;
  for (const std::string& below : PathsBelow(path)) nodes_.erase(Key(below));
  nodes_.erase(Key(path));
  return true;
}

bool FakeFileSystem::CreateFolder(const std::string& path) {
  Call("CreateFolder", path);
  if (Find(path) || !ParentFolder(path)) return false;
  nodes_[Key(path)] = Node{path, true, kAttrDirectory, {}, {}, now_, nextId_++};
  return true;
}

bool FakeFileSystem::ReadFile(const std::string& path, std::string& content) {
  Call("ReadFile", path);
  const Node* node = Find(path);
  if (!node || node->folder || !Readable(path)) return false;
  content = node->content;
  return true;
}

bool FakeFileSystem::WriteFile(const std::string& path, const std::string& content) {
  Call("WriteFile", path);
  const Node* node = Find(path);
  if (!ParentFolder(path) || !Readable(path) || (node && (node->folder || (node->attributes & kAttrReadOnly)))) {
    return false;
  }
  // All or nothing: a write that does not fit keeps the old content and takes no room.
  const auto room = room_.find(Key(DrivePart(path)));
  if (room != room_.end() && content.size() > room->second) return false;
  uint64_t bytes = content.size();
  TakeRoom(path, bytes);
  // As the platform's write: a temporary left by an interrupted one goes, read-only or not.
  if (const Node* stale = Find(path + kTempSuffix)) {
    GiveRoom(*stale);
    nodes_.erase(Key(path + kTempSuffix));
  }
  nodes_[Key(path)] = Node{node ? node->path : path, false, node ? node->attributes : kAttrArchive, content, {}, now_,
                           nextId_++};
  return true;
}

bool FakeFileSystem::ReadFileEnd(const std::string& path, uint64_t maxBytes, std::string& content, bool& whole) {
  Call("ReadFileEnd", path);
  const Node* node = Find(path);
  if (!node || node->folder || !Readable(path)) return false;
  whole = node->content.size() <= maxBytes;
  content = whole ? node->content : node->content.substr(node->content.size() - maxBytes);
  return true;
}

bool FakeFileSystem::AppendFile(const std::string& path, const std::string& content) {
  Call("AppendFile", path);
  Node* node = Find(path);
  if (!node || node->folder || !Readable(path) || (node->attributes & kAttrReadOnly)) return false;
  uint64_t bytes = content.size();
  if (!TakeRoom(path, bytes)) return false;
  node->content += content;
  node->size.reset();
  node->lastWrite = now_;
  return true;
}

uint32_t FakeFileSystem::DriveMask() {
  Call("DriveMask", "");
  uint32_t mask = 0;
  for (const auto& [key, remote] : drives_) {
    if (key.size() == 2 && key[1] == ':' && key[0] >= 'a' && key[0] <= 'z' && !unplugged_.count(key)) {
      mask |= 1u << (key[0] - 'a');
    }
  }
  return mask;
}

bool FakeFileSystem::IsRemoteDrive(const std::string& drive) {
  Call("IsRemoteDrive", drive);
  auto it = drives_.find(Key(DrivePart(drive)));
  return it != drives_.end() && it->second;
}

namespace {
class FakeFileLock : public FileSystem::FileLock {
 public:
  explicit FakeFileLock(std::function<void()> release) : release_(std::move(release)) {}
  ~FakeFileLock() override { release_(); }

 private:
  std::function<void()> release_;
};
}  // namespace

std::unique_ptr<FileSystem::FileLock> FakeFileSystem::OpenLockFile(const std::string& path, bool& inUse) {
  Call("OpenLockFile", path);
  const Node* node = Find(path);
  inUse = node && !Readable(path);
  if (inUse || !ParentFolder(path) || (node && node->folder)) return nullptr;
  if (!node) nodes_[Key(path)] = Node{path, false, kAttrArchive, {}, {}, now_, nextId_++};
  const std::string key = Key(path);
  held_.insert(key);
  return std::make_unique<FakeFileLock>([this, key] {
    held_.erase(key);
    nodes_.erase(key);
  });
}

}  // namespace vh::test
