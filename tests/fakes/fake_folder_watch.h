#pragma once
// A folder watch driven by the test: it takes what it is not told to refuse, and reports the
// events the test queues.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/folder_watch.h"

namespace vh::test {

class FakeFolderWatch : public FolderWatch {
 public:
  bool Watch(const std::string& root) override {
    if (refused.count(root)) return false;
    watched.insert(root);
    return true;
  }
  void Unwatch(const std::string& root) override { watched.erase(root); }
  std::vector<WatchEvent> Take() override { return std::exchange(events, {}); }
  int64_t VouchSeconds() const override { return vouchSeconds; }
  int64_t SteadySeconds() const override { return now; }

  std::set<std::string> refused, watched;
  std::vector<WatchEvent> events;
  int64_t vouchSeconds = 3600, now = 0;
};

}  // namespace vh::test
