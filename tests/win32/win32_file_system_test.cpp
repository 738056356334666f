// The real file system layer against Wine's (or Windows') file system: the contract every file
// system keeps, and what only the real one can show.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "file_system_contract.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"

namespace vh::test {
namespace {

using win32::LongPath;

// Removes a tree with the raw API, so cleaning up does not depend on the code under test.
void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(child);
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A fresh folder of this test's own in the temporary folder (and one on the small drive, when
// the run has one); the drive that comes and goes is the one scripts/with-wine maps.
struct Win32Backend {
  Win32Backend() {
    static int counter = 0;
    const std::string name = "vh_fs_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    root = win32::Narrow(std::wstring_view(temp, n)) + name;
    CreateDirectoryW(LongPath(root).c_str(), nullptr);
    if (!Env("VH_SMALL_DRIVE").empty()) {
      smallFolder = Env("VH_SMALL_DRIVE") + "\\" + name;
      CreateDirectoryW(LongPath(smallFolder).c_str(), nullptr);
    }
  }
  ~Win32Backend() {
    RemoveTree(LongPath(root));
    if (!smallFolder.empty()) RemoveTree(LongPath(smallFolder));
  }
  bool SetLastWrite(const std::string& path, int64_t time) {
    HANDLE file = CreateFileW(LongPath(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME ft{static_cast<DWORD>(time), static_cast<DWORD>(static_cast<uint64_t>(time) >> 32)};
    const BOOL ok = SetFileTime(file, nullptr, nullptr, &ft);
    CloseHandle(file);
    return ok != FALSE;
  }
  // Extending without writing leaves a sparse file on the host, so this costs no disk space.
  bool MakeSized(const std::string& path, uint64_t size) {
    HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    const bool ok = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
  }
  // The drive is there while its target folder is.
  bool Plug() { return CreateDirectoryW(LongPath(plugDir).c_str(), nullptr) != FALSE; }
  bool Unplug() { return RemoveDirectoryW(LongPath(plugDir).c_str()) != FALSE; }

  win32::Win32FileSystem fs;
  std::string root, smallFolder;
  const std::string plugDrive = Env("VH_PLUG_DRIVE"), plugDir = Env("VH_PLUG_DIR");
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FileSystemContract, Win32Backend);

// Another program holding a file open for writing (as a log writer does) does not stop a read.
TEST(Win32FileSystemTest, ReadFileSharesWithWriters) {
  Win32Backend backend;
  const std::string file = backend.root + "\\log.txt";
  HANDLE writer = CreateFileW(LongPath(file).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  const bool wrote = ::WriteFile(writer, "line\r\n", 6, &written, nullptr) && written == 6;
  std::string content;
  const bool read = backend.fs.ReadFile(file, content);
  CloseHandle(writer);
  ASSERT_TRUE(wrote);
  ASSERT_TRUE(read);
  EXPECT_EQ(content, "line\r\n");
}

}  // namespace
}  // namespace vh::test
