#include "platform/win32/win32_file_system.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "platform/win32/wide.h"

namespace vh::win32 {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (valid()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  // Closes now and tells whether the close worked (a late write error can show up here).
  bool Close() {
    if (!valid()) return true;
    const BOOL ok = CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok != FALSE;
  }

 private:
  HANDLE h_;
};

class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// The attributes SetFileAttributesW accepts; the others (directory, ...) are the system's to set.
constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                            FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;

// Largest piece handed to one ReadFile/WriteFile call.
constexpr DWORD kChunk = 1u << 20;

int64_t ToInt64(const FILETIME& t) {
  return static_cast<int64_t>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

std::string ChildPattern(const std::string& folder) {
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  return pattern + "*";
}

// Writes all of it, going on after a short write; false leaves the reason in GetLastError.
bool WriteAll(HANDLE file, const char* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const DWORD part = static_cast<DWORD>(std::min<size_t>(size - done, kChunk));
    DWORD written = 0;
    if (!::WriteFile(file, data + done, part, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    done += written;
  }
  return true;
}

bool WriteAll(HANDLE file, const std::string& content) { return WriteAll(file, content.data(), content.size()); }

bool IsDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

}  // namespace

uint32_t Win32FileSystem::Attributes(const std::string& path) {
  return GetFileAttributesW(LongPath(path).c_str());
}

bool Win32FileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  DWORD value = attributes & kSettable;
  if (value == 0) value = FILE_ATTRIBUTE_NORMAL;  // "no attributes" has a name of its own
  return SetFileAttributesW(LongPath(path).c_str(), value) != FALSE;
}

namespace {

enum class Walk { Ended, Stopped, Failed };

// Hands each entry of a folder but "." and ".." to `take` until it says stop. A large fetch suits
// a whole listing; a probe that stops at its first entry fetches little.
Walk EachEntry(const std::string& folder, DWORD fetch, const std::function<bool(DirEntry&&)>& take) {
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileExW(LongPath(ChildPattern(folder)).c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, fetch));
  if (!find.valid()) {
    // A drive's empty root has no "." entry, so nothing matches; that is an empty listing.
    const bool empty = GetLastError() == ERROR_FILE_NOT_FOUND && IsFolderAttr(GetFileAttributesW(LongPath(folder).c_str()));
    return empty ? Walk::Ended : Walk::Failed;
  }
  do {
    const std::wstring_view name(data.cFileName);
    if (name == L"." || name == L"..") continue;
    DirEntry entry;
    entry.name = Narrow(name);
    entry.attributes = data.dwFileAttributes;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.lastWrite = ToInt64(data.ftLastWriteTime);
    if (!take(std::move(entry))) return Walk::Stopped;
  } while (FindNextFileW(find.get(), &data));
  return GetLastError() == ERROR_NO_MORE_FILES ? Walk::Ended : Walk::Failed;
}

}  // namespace

bool Win32FileSystem::List(const std::string& folder, std::vector<DirEntry>& out) {
  out.clear();
  Walk walk = Walk::Failed;
  try {
    walk = EachEntry(folder, FIND_FIRST_EX_LARGE_FETCH, [&](DirEntry&& entry) {
      out.push_back(std::move(entry));
      return true;
    });
  } catch (const std::bad_alloc&) {
  }
  if (walk != Walk::Ended) out.clear();
  return walk == Walk::Ended;
}

bool Win32FileSystem::AnyEntry(const std::string& folder, const std::function<bool(const DirEntry&)>& wanted) {
  return EachEntry(folder, 0, [&](DirEntry&& entry) { return !wanted(entry); }) == Walk::Stopped;
}

bool Win32FileSystem::Stat(const std::string& path, DirEntry& out) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) return false;
  const size_t slash = path.find_last_of("\\/", path.size() > 1 ? path.size() - 2 : 0);
  out.name = slash == std::string::npos ? path : path.substr(slash + 1);
  out.attributes = data.dwFileAttributes;
  out.size = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY
                 ? 0
                 : (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  out.lastWrite = ToInt64(data.ftLastWriteTime);
  return true;
}

namespace {

bool SetAttributesOf(HANDLE file, DWORD attributes) {
  FILE_BASIC_INFO info{};  // times of zero are left as they are
  info.FileAttributes = attributes;
  return SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info) != FALSE;
}

// Opens a file to flush and rename it. A read-only file is opened all the same and keeps the
// attribute, set again through the handle: it binds only later opens.
HANDLE OpenToMove(const std::wstring& path) {
  const auto open = [&] {
    return CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  };
  HANDLE file = open();
  if (file != INVALID_HANDLE_VALUE) return file;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY) ||
      !SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
    return INVALID_HANDLE_VALUE;
  }
  file = open();
  if (file != INVALID_HANDLE_VALUE && SetAttributesOf(file, attributes)) return file;
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  SetFileAttributesW(path.c_str(), attributes);
  return INVALID_HANDLE_VALUE;
}

bool RenameTo(HANDLE file, const std::wstring& target) {
  // The structure's own one-character name holds the terminator.
  std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
  std::copy(target.begin(), target.end(), info->FileName);
  return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size())) != FALSE;
}

}  // namespace

bool Win32FileSystem::MoveReplace(const std::string& source, const std::string& target) {
  // The content reaches the disk before the new name does: after a power loss the target is the
  // old file or the whole new one, never a file of the right size and time holding nothing.
  // Flushed and renamed through one handle: a single open. The second flush is what a
  // write-through move does: the rename reaches the disk before the move is told done.
  Handle file(OpenToMove(LongPath(source)));
  return file.valid() && FlushFileBuffers(file.get()) && RenameTo(file.get(), LongPath(target)) &&
         FlushFileBuffers(file.get());
}

bool Win32FileSystem::Rename(const std::string& source, const std::string& target) {
  return MoveFileExW(LongPath(source).c_str(), LongPath(target).c_str(), 0) != FALSE;
}

namespace {

// Copies the content chunk by chunk, asking `progress` after each one. A small file takes a
// buffer of its own size (and one byte to see its end), not a whole chunk.
CopyResult CopyContent(HANDLE from, HANDLE to, uint64_t size, const CopyProgress& progress) {
  const DWORD want = size < kChunk ? static_cast<DWORD>(size + 1) : kChunk;
  std::string chunk(want, '\0');
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(from, chunk.data(), want, &got, nullptr)) return CopyResult::Failed;
    if (got == 0) return CopyResult::Ok;
    if (!WriteAll(to, chunk.data(), got)) return IsDiskFull(GetLastError()) ? CopyResult::DiskFull : CopyResult::Failed;
    if (progress && !progress()) return CopyResult::Cancelled;
  }
}

// Deletes a copy left unfinished, on every way out (an exception of the progress call too).
struct Unfinished {
  const std::wstring& path;
  bool done = false;
  ~Unfinished() {
    if (!done) DeleteFileW(path.c_str());
  }
};

}  // namespace

// A copy of our own rather than the system's: the system's copy asks no progress under Wine, and
// a large file must not keep the window from answering.
CopyResult Win32FileSystem::Copy(const std::string& source, const std::string& target,
                                 const CopyProgress& progress) {
  const std::wstring to = LongPath(target);
  Handle from(CreateFileW(LongPath(source).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!from.valid() || !GetFileInformationByHandle(from.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return CopyResult::Failed;
  }
  const DWORD attributes = info.dwFileAttributes & kSettable;
  // Made writable; a read-only source's attribute is set once the content is in.
  const DWORD made = attributes & ~FILE_ATTRIBUTE_READONLY;
  Unfinished unfinished{to};
  CopyResult result;
  {
    Handle file(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            made ? made : FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      unfinished.done = true;  // nothing was made, and what is there is not ours
      return IsDiskFull(GetLastError()) ? CopyResult::DiskFull : CopyResult::Failed;
    }
    const uint64_t size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    result = CopyContent(from.get(), file.get(), size, progress);
    if (result == CopyResult::Ok && !SetFileTime(file.get(), nullptr, nullptr, &info.ftLastWriteTime)) {
      result = CopyResult::Failed;
    }
    if (!file.Close() && result == CopyResult::Ok) {
      result = IsDiskFull(GetLastError()) ? CopyResult::DiskFull : CopyResult::Failed;
    }
  }
  if (result != CopyResult::Ok) return result;
  if ((attributes & FILE_ATTRIBUTE_READONLY) && !SetFileAttributesW(to.c_str(), attributes)) return CopyResult::Failed;
  unfinished.done = true;
  return CopyResult::Ok;
}

bool Win32FileSystem::SwapInto(const std::string& replacement, const std::string& target) {
  const std::wstring from = LongPath(replacement), to = LongPath(target);
  {
    Handle file(CreateFileW(from.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid() || !FlushFileBuffers(file.get())) return false;
  }
  // Without a backup name a failed swap leaves the target under its own name, as it was.
  if (!ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    return false;
  }
  // What a write-through swap does: the new name and entry reach the disk before the swap is told done.
  // Shared with whoever opened the new file since (an indexer, a scanner): the swap is done.
  Handle swapped(CreateFileW(to.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, 0, nullptr));
  return swapped.valid() && FlushFileBuffers(swapped.get());
}

bool Win32FileSystem::Delete(const std::string& path) {
  const std::wstring wide = LongPath(path);
  // Wine removes the file only when it closes it, and a refusal then (a read-only drive) is not
  // told: a file still there was not deleted, whatever the call said.
  return DeleteFileW(wide.c_str()) != FALSE && GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
  return RemoveDirectoryW(LongPath(path).c_str()) != FALSE;
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
  return CreateDirectoryW(LongPath(path).c_str(), nullptr) != FALSE;
}

namespace {

// Opens a file to read while others may hold it open (the log being written, a backup running).
HANDLE OpenToRead(const std::string& path) {
  return CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

bool SizeOf(HANDLE file, uint64_t& size) {
  LARGE_INTEGER value;
  if (!GetFileSizeEx(file, &value) || value.QuadPart < 0) return false;
  size = static_cast<uint64_t>(value.QuadPart);
  return true;
}

}  // namespace

bool Win32FileSystem::ReadFile(const std::string& path, std::string& content) {
  Handle file(OpenToRead(path));
  uint64_t size = 0;
  if (!file.valid() || !SizeOf(file.get(), size)) return false;
  std::string data;
  try {
    if (size >= data.max_size()) return false;
    data.reserve(static_cast<size_t>(size));
    // Read to the end rather than to the size seen above: the file may grow meanwhile.
    const DWORD chunkSize = static_cast<DWORD>(std::min<uint64_t>(kChunk, size + 4096));
    std::string chunk(chunkSize, '\0');
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(file.get(), chunk.data(), chunkSize, &got, nullptr)) return false;
      if (got == 0) break;
      data.append(chunk.data(), got);
    }
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  content.swap(data);
  return true;
}

bool Win32FileSystem::WriteFile(const std::string& path, const std::string& content) {
  const std::wstring target = LongPath(path);
  const std::wstring temp = LongPath(path + kTempSuffix);
  // A temporary left read-only by an earlier failed run must not block this one.
  SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
  bool ok;
  {
    Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    ok = WriteAll(file.get(), content) && FlushFileBuffers(file.get());
    ok = file.Close() && ok;
  }
  ok = ok && MoveFileExW(temp.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

bool Win32FileSystem::ReadFileEnd(const std::string& path, uint64_t maxBytes, std::string& content, bool& whole) {
  Handle file(OpenToRead(path));
  uint64_t total = 0;
  if (!file.valid() || !SizeOf(file.get(), total)) return false;
  const uint64_t start = total > maxBytes ? total - maxBytes : 0;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(start);
  if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) return false;
  std::string data;
  try {
    data.resize(static_cast<size_t>(std::min<uint64_t>(total - start, maxBytes)));
  } catch (const std::bad_alloc&) {
    return false;
  }
  size_t done = 0;
  while (done < data.size()) {
    const DWORD part = static_cast<DWORD>(std::min<size_t>(data.size() - done, kChunk));
    DWORD got = 0;
    if (!::ReadFile(file.get(), data.data() + done, part, &got, nullptr)) return false;
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  data.resize(done);
  content.swap(data);
  whole = start == 0;
  return true;
}

bool Win32FileSystem::AppendFile(const std::string& path, const std::string& content) {
  // Others may read the file meanwhile; a writer that shares nothing makes this fail.
  Handle file(CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  LARGE_INTEGER end;
  const LARGE_INTEGER zero{};
  if (!SetFilePointerEx(file.get(), zero, &end, FILE_END)) return false;
  if (WriteAll(file.get(), content) && FlushFileBuffers(file.get())) return file.Close();
  // A part written before the disk filled goes again: the file keeps what it held, no less.
  SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
  SetEndOfFile(file.get());
  return false;
}

uint32_t Win32FileSystem::DriveMask() {
  uint32_t mask = GetLogicalDrives();
  // Wine's drive list is fixed when its mount manager starts, so a drive that appears later is
  // missing from it although its root resolves. Asking each missing letter is cheap (no media is
  // touched) and changes nothing on Windows, whose list is complete.
  wchar_t root[] = L"A:\\";
  for (int letter = 0; letter < 26; ++letter) {
    if (mask & (1u << letter)) continue;
    root[0] = static_cast<wchar_t>(L'A' + letter);
    if (GetDriveTypeW(root) > DRIVE_NO_ROOT_DIR) mask |= 1u << letter;
  }
  return mask;
}

bool Win32FileSystem::IsRemoteDrive(const std::string& drive) {
  std::wstring root = Widen(drive);
  if (root.empty()) return false;
  if (root.back() != L'\\') root += L'\\';
  return GetDriveTypeW(root.c_str()) == DRIVE_REMOTE;
}

namespace {

class Win32FileLock : public FileSystem::FileLock {
 public:
  // Shared with no one; the system deletes the file when the handle closes, also the handle of
  // a process that ended without closing it.
  explicit Win32FileLock(const std::wstring& path)
      : file_(CreateFileW(path.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr)),
        error_(GetLastError()) {}
  bool Held() const { return file_.valid(); }
  DWORD Error() const { return error_; }

 private:
  Handle file_;
  DWORD error_;
};

}  // namespace

std::unique_ptr<FileSystem::FileLock> Win32FileSystem::OpenLockFile(const std::string& path, bool& inUse) {
  auto lock = std::make_unique<Win32FileLock>(LongPath(path));
  inUse = !lock->Held() && lock->Error() == ERROR_SHARING_VIOLATION;
  if (!lock->Held()) return nullptr;
  return lock;
}

}  // namespace vh::win32
