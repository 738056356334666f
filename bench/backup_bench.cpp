// Times backups of a tree of many small files on the real file system: the first run, which
// copies everything, and a run with nothing changed, which is what the timer repeats all day.
// Usage: backup_bench [files]   (default 10000, in folders of 100)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "fake_controls.h"
#include "log/message_log.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_system.h"
#include "store/store_paths.h"
#include "ui/operation_windows.h"

namespace {

using namespace vh;

void RemoveTree(FileSystem& fs, const std::string& path) {
  std::vector<DirEntry> entries;
  fs.List(path, entries);
  for (const DirEntry& e : entries) {
    const std::string child = JoinPath(path, e.name);
    if (e.attributes & kAttrDirectory) RemoveTree(fs, child);
    else fs.Delete(child);
  }
  fs.RemoveFolder(path);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  win32::Win32System system;
  FileSystem& files = system.files;

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::string root = win32::Narrow(temp) + "vh-bench";
  RemoveTree(files, root);
  const std::string source = root + "\\source";
  for (int i = 0; i < count; ++i) {
    const std::string file = source + "\\d" + std::to_string(i / 100) + "\\f" + std::to_string(i) + ".txt";
    if (i % 100 == 0) ForceFolders(FolderOf(file));
    files.WriteFile(file, std::string(100, 'x'));
  }
  TSourceList list;
  list.Add(source, true, 1);
  test::FakeTextPage page;
  TMessageLog log(page);
  ui::OperationWindows windows;

  auto time = [&](const char* what, bool quiet, const char* backupFolder) {
    const auto start = std::chrono::steady_clock::now();
    const int result = windows.Backup->RunBackup(list, root + backupFolder, quiet, false, log);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-34s %6d files  %7.2f s  %8.1f us/file  result %d\n", what, count, seconds, seconds * 1e6 / count,
                result);
  };
  time("first backup (window shown)", false, "\\shown");
  time("no-change backup (window shown)", false, "\\shown");
  time("first backup (quiet)", true, "\\quiet");
  time("no-change backup (quiet)", true, "\\quiet");
  RemoveTree(files, root);
  return 0;
}
