#include "platform/win32/win32_folder_watch.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "platform/win32/wide.h"

namespace vh::win32 {
namespace {

constexpr DWORD kFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                          FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                          FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Events kept between two Take calls; past it a tree's events give way to one Lost.
constexpr size_t kQueueCap = 10000;
constexpr size_t kRecordHead = offsetof(FILE_NOTIFY_INFORMATION, FileName);
// Folder renames inside a tree that Wine's names are mended for; past that the tree is scanned in
// full every run.
constexpr size_t kMaxRenames = 8;
// How long the destructor waits for cancelled reads to end. A read the system never ends may
// still write into its buffer, so after that the buffer is left allocated rather than freed.
constexpr DWORD kStopWaitMs = 5000;

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Network and removable drives are scanned in full every time, and an open handle would keep a
// removable drive from being taken away.
bool OnFixedDisk(const std::string& root) {
  if (root.size() < 2 || root[1] != ':') return false;
  const std::wstring drive = Widen(root.substr(0, 2)) + L"\\";
  return GetDriveTypeW(drive.c_str()) == DRIVE_FIXED;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Join(const std::string& root, const std::string& name) {
  if (!root.empty() && (root.back() == '\\' || root.back() == '/')) return root + name;
  return root + "\\" + name;
}

using Renames = std::vector<std::pair<std::string, std::string>>;

// Wine goes on naming what lies below a renamed folder by the folder's old name. A name it gives
// may so stand for any name the renames since lead to: all of them are looked at.
std::vector<std::string> Unstale(const Renames& renames, const std::string& name) {
  std::vector<std::string> names{name};
  for (size_t i = 0; i < names.size(); ++i) {
    for (const auto& [from, to] : renames) {
      const std::string& n = names[i];
      if (n.compare(0, from.size(), from) != 0 || (n.size() > from.size() && n[from.size()] != '\\')) continue;
      std::string moved = to + n.substr(from.size());
      if (std::find(names.begin(), names.end(), moved) == names.end()) names.push_back(std::move(moved));
    }
  }
  return names;
}

}  // namespace

struct Win32FolderWatch::Tree {
  Tree(std::string path, size_t bytes) : root(std::move(path)), buffer((bytes + 3) / 4) {}
  std::string root;
  HANDLE dir = INVALID_HANDLE_VALUE;
  OVERLAPPED overlapped{};
  std::vector<DWORD> buffer;  // the records must be DWORD-aligned
  DWORD volume = 0, indexHigh = 0, indexLow = 0;  // which folder the handle holds
  bool reading = false;  // a read is out: the buffer and `overlapped` are the system's until it ends
  bool closing = false;  // unwatched or replaced: freed when its read ends
  Renames renames;       // under Wine: folders renamed in the tree, as Wine names them
  bool lost = false;     // a Lost for it is queued: its other events add nothing until Take

  void CloseDir() {
    if (dir != INVALID_HANDLE_VALUE) CloseHandle(dir);
    dir = INVALID_HANDLE_VALUE;
  }
};

Win32FolderWatch::Win32FolderWatch(size_t bufferBytes)
    : bufferBytes_(std::max<size_t>(bufferBytes, sizeof(DWORD))), underWine_(UnderWine()) {}

Win32FolderWatch::~Win32FolderWatch() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!worker_.joinable()) return;
    stopping_ = true;
    std::vector<Tree*> open;
    for (const auto& tree : trees_)
      if (!tree->closing) open.push_back(tree.get());
    for (Tree* tree : open) Dispose(tree);
    PostQueuedCompletionStatus(port_, 0, 0, nullptr);  // wakes the thread to see it may end
  }
  worker_.join();
  CloseHandle(port_);
}

bool Win32FolderWatch::Watch(const std::string& root) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Find(root)) return true;
  if (!OnFixedDisk(root)) return false;
  if (!port_) {
    port_ = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    if (!port_) return false;
    worker_ = std::thread(&Win32FolderWatch::Run, this);
  }
  auto tree = std::make_unique<Tree>(root, bufferBytes_);
  if (!Open(*tree)) return false;
  trees_.push_back(std::move(tree));
  return true;
}

void Win32FolderWatch::Unwatch(const std::string& root) {
  std::lock_guard<std::mutex> lock(mutex_);
  Tree* tree = Find(root);
  if (!tree) return;
  std::erase_if(queue_, [&](const WatchEvent& e) { return e.root == root; });
  Dispose(tree);
}

std::vector<WatchEvent> Win32FolderWatch::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<Tree*> open;
  for (const auto& tree : trees_)
    if (!tree->closing) open.push_back(tree.get());
  for (Tree* tree : open) {
    if (!tree->reading) {
      // Closed after an error, or not there when last tried: tried again once a run, so that a
      // lasting error cannot keep the thread busy.
      PushLost(*tree);
      Open(*tree);
    } else if (!StillThere(*tree)) {
      Reopen(tree);
    } else if (tree->renames.size() > kMaxRenames) {
      PushLost(*tree);
    }
  }
  for (const auto& tree : trees_) tree->lost = false;
  return std::exchange(queue_, {});
}

int64_t Win32FolderWatch::VouchSeconds() const {
  // Wine drops an overflow of its own queue, and a sub-folder it could not watch, without a word.
  return underWine_ ? 3600 : 24 * 3600;
}

int64_t Win32FolderWatch::SteadySeconds() const { return static_cast<int64_t>(GetTickCount64() / 1000); }

void Win32FolderWatch::Run() {
  for (;;) {
    DWORD wait = INFINITE;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_ && trees_.empty()) return;
      if (stopping_) wait = kStopWaitMs;
    }
    DWORD bytes = 0;
    ULONG_PTR key = 0;
    OVERLAPPED* overlapped = nullptr;
    const BOOL ok = GetQueuedCompletionStatus(port_, &bytes, &key, &overlapped, wait);
    const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    std::lock_guard<std::mutex> lock(mutex_);
    if (overlapped) {
      Finished(reinterpret_cast<Tree*>(key), error, bytes);
    } else if (!ok && stopping_) {
      for (auto& tree : trees_) (void)tree.release();  // see kStopWaitMs
      trees_.clear();
      return;
    }
  }
}

void Win32FolderWatch::Finished(Tree* tree, unsigned long error, unsigned long bytes) {
  tree->reading = false;
  if (tree->closing) {
    std::erase_if(trees_, [&](const auto& t) { return t.get() == tree; });
    return;
  }
  if (error == ERROR_SUCCESS && bytes > 0 && bytes <= bufferBytes_) {
    const char* data = reinterpret_cast<const char*>(tree->buffer.data());
    scratch_.assign(data, data + bytes);
    if (!Arm(*tree)) {
      PushLost(*tree);
      tree->CloseDir();
      return;
    }
    Parse(tree);
    return;
  }
  // No bytes (more changed than the buffer holds), ERROR_NOTIFY_ENUM_DIR, or an error.
  PushLost(*tree);
  if ((error == ERROR_SUCCESS || error == ERROR_NOTIFY_ENUM_DIR) && Arm(*tree)) return;
  tree->CloseDir();  // Take opens it again
}

void Win32FolderWatch::Parse(Tree* tree) {
  std::string renamedFrom;  // a rename's old name, until its new name comes
  size_t offset = 0;
  for (;;) {
    FILE_NOTIFY_INFORMATION record;
    if (offset + kRecordHead > scratch_.size()) {  // a record that runs past the end: not trusted
      PushLost(*tree);
      break;
    }
    std::memcpy(&record, scratch_.data() + offset, kRecordHead);  // Wine packs records 2-aligned
    const size_t nameAt = offset + kRecordHead;
    if (record.FileNameLength > scratch_.size() - nameAt) {
      PushLost(*tree);
      break;
    }
    std::wstring wide(record.FileNameLength / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), scratch_.data() + nameAt, wide.size() * sizeof(wchar_t));
    const std::string name = Narrow(wide);
    const std::vector<std::string> names = underWine_ ? Unstale(tree->renames, name) : std::vector{name};
    if (underWine_ && record.Action == FILE_ACTION_RENAMED_OLD_NAME) renamedFrom = name;
    if (underWine_ && record.Action == FILE_ACTION_RENAMED_NEW_NAME && !renamedFrom.empty() &&
        tree->renames.size() <= kMaxRenames &&
        std::any_of(names.begin(), names.end(), [&](const std::string& n) { return IsFolder(Join(tree->root, n)); }))
      tree->renames.emplace_back(std::exchange(renamedFrom, {}), name);
    const auto kind = record.Action == FILE_ACTION_MODIFIED ? WatchEvent::Kind::Changed : WatchEvent::Kind::Named;
    for (const std::string& n : names) Push(*tree, kind, Join(tree->root, n));
    if (record.NextEntryOffset == 0) break;
    offset += record.NextEntryOffset;
  }
}

bool Win32FolderWatch::Open(Tree& tree) {
  tree.dir = CreateFileW(LongPath(tree.root).c_str(), FILE_LIST_DIRECTORY, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  if (tree.dir == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(tree.dir, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      !CreateIoCompletionPort(tree.dir, port_, reinterpret_cast<ULONG_PTR>(&tree), 0) || !Arm(tree)) {
    tree.CloseDir();
    return false;
  }
  tree.volume = info.dwVolumeSerialNumber;
  tree.indexHigh = info.nFileIndexHigh;
  tree.indexLow = info.nFileIndexLow;
  return true;
}

bool Win32FolderWatch::Arm(Tree& tree) {
  tree.overlapped = {};
  tree.reading = ReadDirectoryChangesW(tree.dir, tree.buffer.data(), static_cast<DWORD>(bufferBytes_), TRUE,
                                       kFilter, nullptr, &tree.overlapped, nullptr) != FALSE;
  return tree.reading;
}

void Win32FolderWatch::Reopen(Tree* tree) {
  PushLost(*tree);
  auto fresh = std::make_unique<Tree>(tree->root, bufferBytes_);
  fresh->lost = true;
  Dispose(tree);
  Open(*fresh);  // if the folder is not there now, each Take tries again
  trees_.push_back(std::move(fresh));
}

void Win32FolderWatch::Dispose(Tree* tree) {
  if (tree->reading) {
    tree->closing = true;
    CancelIoEx(tree->dir, &tree->overlapped);
    tree->CloseDir();  // the read still ends, through the port, before its buffer is freed
  } else {
    tree->CloseDir();
    std::erase_if(trees_, [&](const auto& t) { return t.get() == tree; });
  }
}

// The handle still holds the folder the path names: not removed, renamed or replaced since.
bool Win32FolderWatch::StillThere(const Tree& tree) {
  const HANDLE now = CreateFileW(LongPath(tree.root).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (now == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool same = GetFileInformationByHandle(now, &info) && info.dwVolumeSerialNumber == tree.volume &&
                    info.nFileIndexHigh == tree.indexHigh && info.nFileIndexLow == tree.indexLow;
  CloseHandle(now);
  return same;
}

Win32FolderWatch::Tree* Win32FolderWatch::Find(const std::string& root) {
  for (const auto& tree : trees_)
    if (!tree->closing && tree->root == root) return tree.get();
  return nullptr;
}

void Win32FolderWatch::Push(Tree& tree, WatchEvent::Kind kind, std::string path) {
  if (tree.lost) return;
  if (queue_.size() >= kQueueCap) {  // memory stays bounded however much changes on disk
    std::erase_if(queue_, [&](const WatchEvent& e) { return e.root == tree.root; });
    PushLost(tree);
    return;
  }
  queue_.push_back({kind, tree.root, std::move(path)});
}

void Win32FolderWatch::PushLost(Tree& tree) {
  if (tree.lost) return;
  tree.lost = true;
  queue_.push_back({WatchEvent::Kind::Lost, tree.root, tree.root});
}

}  // namespace vh::win32
