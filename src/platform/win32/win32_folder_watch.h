#pragma once
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/folder_watch.h"

namespace vh::win32 {

// Watches each tree with one directory-change read, re-armed as soon as it completes, all on one
// background thread through an I/O completion port. Under Wine a sub-folder that already existed
// is watched only from the moment the program opens it, so a full scan must follow Watch (and
// every Lost), as it does.
class Win32FolderWatch : public vh::FolderWatch {
 public:
  // `bufferBytes` is what one read may hold.
  explicit Win32FolderWatch(size_t bufferBytes = 64 * 1024);
  ~Win32FolderWatch() override;
  Win32FolderWatch(const Win32FolderWatch&) = delete;
  Win32FolderWatch& operator=(const Win32FolderWatch&) = delete;

  bool Watch(const std::string& root) override;
  void Unwatch(const std::string& root) override;
  std::vector<WatchEvent> Take() override;
  int64_t VouchSeconds() const override;
  int64_t SteadySeconds() const override;

 private:
  struct Tree;

  void Run();
  void Finished(Tree* tree, unsigned long error, unsigned long bytes);
  void Parse(Tree* tree);
  bool Open(Tree& tree);
  bool Arm(Tree& tree);
  void Reopen(Tree* tree);
  void Dispose(Tree* tree);
  bool StillThere(const Tree& tree);
  Tree* Find(const std::string& root);
  void Push(Tree& tree, WatchEvent::Kind kind, std::string path);
  void PushLost(Tree& tree);

  const size_t bufferBytes_;
  const bool underWine_;
  std::mutex mutex_;  // guards everything below
  void* port_ = nullptr;
  std::thread worker_;
  bool stopping_ = false;
  std::vector<std::unique_ptr<Tree>> trees_;  // watched, and unwatched ones whose read has not ended
  std::vector<WatchEvent> queue_;
  std::vector<char> scratch_;  // a finished read's records, copied out so the read can go again
};

}  // namespace vh::win32
