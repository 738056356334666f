#pragma once
// A folder watch driven by the test: it says which roots are refused, queues the events the next
// Take returns, and sets the clock and how long the watch vouches for a tree.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/folder_watch.h"

namespace vh::test {

class FakeFolderWatch : public FolderWatch {
 public:
  std::set<std::string> refused;   // Watch says no to these
  std::set<std::string> watched;   // what is being watched now
  std::vector<std::string> calls;  // "watch <root>" and "unwatch <root>", in order
  std::vector<WatchEvent> events;  // what the next Take returns
  int64_t vouch = 24 * 3600;
  int64_t now = 0;

  bool Watch(const std::string& root) override {
    calls.push_back("watch " + root);
    if (refused.count(root)) return false;
    watched.insert(root);
    return true;
  }
  void Unwatch(const std::string& root) override {
    calls.push_back("unwatch " + root);
    watched.erase(root);
  }
  std::vector<WatchEvent> Take() override { return std::exchange(events, {}); }
  int64_t VouchSeconds() const override { return vouch; }
  int64_t SteadySeconds() const override { return now; }

  void Push(WatchEvent::Kind kind, const std::string& root, const std::string& path) {
    events.push_back({kind, root, path});
  }
};

}  // namespace vh::test
