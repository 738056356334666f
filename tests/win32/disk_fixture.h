#pragma once
// The real file system, identity and locale with scripted boxes, and a fresh folder per test.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fake_message_boxes.h"
#include "platform/system.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_identity.h"
#include "platform/win32/win32_locale_clock.h"
#include "store/store_paths.h"

namespace vh::test {

// The real file system, counting the copies it makes.
class CountingFileSystem : public win32::Win32FileSystem {
 public:
  CopyResult Copy(const std::string& source, const std::string& target,
                  const CopyProgress& progress = nullptr) override {
    ++copies;
    return Win32FileSystem::Copy(source, target, progress);
  }
  int copies = 0;
};

class DiskTest : public ::testing::Test {
 protected:
  DiskTest() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = win32::Narrow(temp) + "vh-" + std::to_string(GetCurrentProcessId()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    files.CreateFolder(folder);
  }
  ~DiskTest() override { RemoveTree(folder); }

  void RemoveTree(const std::string& path) {
    DirEntry self;
    if (!files.Stat(path, self)) return;
    if ((self.attributes & kAttrDirectory) && !(self.attributes & kAttrReparsePoint)) {
      std::vector<DirEntry> entries;
      files.List(path, entries);
      for (const DirEntry& e : entries) RemoveTree(JoinPath(path, e.name));
    }
    files.SetAttributes(path, kAttrArchive);
    if (!files.Delete(path)) files.RemoveFolder(path);
  }
  void Write(const std::string& path, const std::string& content) {
    ForceFolders(FolderOf(path));
    ASSERT_TRUE(files.WriteFile(path, content)) << path;
  }
  std::string Read(const std::string& path) {
    std::string content;
    files.ReadFile(path, content);
    return content;
  }
  static std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
  }

  CountingFileSystem files;
  win32::Win32Identity identity;
  win32::Win32LocaleClock locale;
  FakeMessageBoxes boxes;
  SystemScope scope{System{&files, &identity, &boxes, &locale}};
  std::string folder;  // removed with everything in it after the test
};

}  // namespace vh::test
