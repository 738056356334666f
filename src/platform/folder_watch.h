#pragma once
// Watches folder trees for changes between backup runs. What it reports only says where to look:
// the runs decide every file from the listings, as a full scan would.
#include <cstdint>
#include <string>
#include <vector>

namespace vh {

struct WatchEvent {
  enum class Kind {
    Changed,  // a file's or folder's content, size, attributes or times changed
    Named,    // a name appeared, went or was renamed (old and new name each come as one event)
    Lost,     // changes may have been missed (overflow, error, the tree gone or reopened)
  };
  Kind kind = Kind::Changed;
  std::string root;  // the watched tree it belongs to, as given to Watch
  std::string path;  // the full path of the name; the root itself for Lost
};

class FolderWatch {
 public:
  virtual ~FolderWatch() = default;
  // Starts watching `root` and everything below it; a root already watched stays as it is. False
  // when the tree cannot be watched so that every change is seen (not a folder, not on a fixed
  // disk, the platform refused): the caller then scans that tree in full every time.
  virtual bool Watch(const std::string& root) = 0;
  virtual void Unwatch(const std::string& root) = 0;
  // Everything seen since the last call, oldest first. A watch that saw more than it holds
  // reports Lost instead of the events it dropped.
  virtual std::vector<WatchEvent> Take() = 0;
  // How long a watched tree may go without a full scan: notifications can be missed without a
  // word on some platforms, so a watch vouches for a tree only so long.
  virtual int64_t VouchSeconds() const = 0;
  // A clock that only goes forward (seconds), for measuring that time.
  virtual int64_t SteadySeconds() const = 0;
};

}  // namespace vh
