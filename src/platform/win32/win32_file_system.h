#pragma once
#include <windows.h>

#include "platform/file_system.h"
#include "platform/win32/move_workers.h"

namespace vh::win32 {

// The file system through the wide-character Win32 API, with long-path prefixes on absolute paths.
class Win32FileSystem : public vh::FileSystem {
 public:
  uint32_t Attributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool List(const std::string& folder, std::vector<DirEntry>& out) override;
  bool AnyEntry(const std::string& folder, const std::function<bool(const DirEntry&)>& wanted) override;
  bool Stat(const std::string& path, DirEntry& out) override;
  CopyResult Copy(const std::string& source, const std::string& target,
                  const CopyProgress& progress = nullptr) override;
  bool SwapInto(const std::string& replacement, const std::string& target) override;
  bool MoveReplace(const std::string& source, const std::string& target) override;
  bool Rename(const std::string& source, const std::string& target) override;
  void BeginMoveReplace(const std::string& source, const std::string& target, const std::string& keepAs = {}) override {
    moves_.Begin(source, target, keepAs);
  }
  MoveOutcome EndMoveReplace(const std::function<void()>& whileWaiting = nullptr) override {
    return moves_.End(whileWaiting);
  }
  bool Delete(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string& content) override;
  bool WriteFile(const std::string& path, const std::string& content) override;
  bool ReadFileEnd(const std::string& path, uint64_t maxBytes, std::string& content, bool& whole) override;
  bool AppendFile(const std::string& path, const std::string& content) override;
  uint32_t DriveMask() override;
  bool IsRemoteDrive(const std::string& drive) override;
  std::unique_ptr<FileLock> OpenLockFile(const std::string& path, bool& inUse) override;

 private:
  MoveWorkers moves_{[this](const std::string& source, const std::string& target, const std::string& keepAs) {
    return MoveKeeping(source, target, keepAs);
  }};
};

}  // namespace vh::win32
