// Peak memory of a backup's scan over a large tree, natively against the in-memory file system:
// what the run's working lists and listings take per file, the file system's own memory left out.
// The tree has no mirror yet, so every file is listed to copy: the largest lists a scan makes.
// Usage: scan_memory [files]   (default 1000000, in folders of 100, 100 folders to a parent)
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "fake_file_system.h"
#include "fake_progress_view.h"
#include "operations/backup.h"
#include "platform/system.h"
#include "store/store_paths.h"

namespace {

size_t current = 0, peak = 0;

void* Take(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  current += malloc_usable_size(p) + sizeof(size_t);  // the allocator's header too
  if (current > peak) peak = current;
  return p;
}

void Give(void* p) {
  if (!p) return;
  current -= malloc_usable_size(p) + sizeof(size_t);
  std::free(p);
}

class BenchIdentity : public vh::Identity {
 public:
  std::string ComputerName() override { return "BENCHPC"; }
  std::string UserName() override { return "user"; }
};

}  // namespace

void* operator new(size_t size) { return Take(size); }
void* operator new[](size_t size) { return Take(size); }
void operator delete(void* p) noexcept { Give(p); }
void operator delete[](void* p) noexcept { Give(p); }
void operator delete(void* p, size_t) noexcept { Give(p); }
void operator delete[](void* p, size_t) noexcept { Give(p); }

int main(int argc, char** argv) {
  using namespace vh;
  const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
  if (count <= 0) return 2;
  test::FakeFileSystem files;
  BenchIdentity identity;
  SystemScope scope(System{&files, &identity, nullptr, nullptr});
  files.AddDrive("C:");
  files.AddDrive("E:");
  const std::string source = "C:\\Users\\someone\\Documents";
  for (int i = 0; i < count; ++i) {
    files.AddFile(source + "\\group" + std::to_string(i / 10000) + "\\folder" + std::to_string(i / 100) + "\\file" +
                      std::to_string(i) + ".txt",
                  "", 1);
  }
  const std::string backupFolder = "E:\\Backups";
  files.AddFolder(MirrorPath(backupFolder, source));

  test::FakeProgressView view;
  TBackup backup(view);
  PathPairs copies;
  const size_t before = current;
  peak = current;
  const auto start = std::chrono::steady_clock::now();
  backup.ScanForBackup(copies, source, MirrorPath(backupFolder, source), true);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const size_t listed = copies.size();
  std::printf("scan of %d files (native, in-memory file system): %zu listed to copy, %.2f s\n", count, listed, seconds);
  std::printf("peak memory of the scan: %.1f MB, %.1f bytes per file (goal 300)\n", (peak - before) / 1e6,
              static_cast<double>(peak - before) / count);
  return 0;
}
