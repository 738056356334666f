#pragma once
// A progress window that records what it was told; each time it is asked whether to stop, the
// test's script runs.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/progress_view.h"

namespace vh::test {

class FakeProgressView : public ProgressView {
 public:
  std::string caption;
  // The first line of each showing, then each item as the window would label it before fitting.
  std::vector<std::string> labels;
  std::vector<uint64_t> done;  // the work done at each item
  uint64_t total = 0;
  bool visible = false;
  bool stop = false;  // what the window answers when asked whether to stop
  int turns = 0;
  // Runs each time the window is asked, with its number counted from 1: where a Cancel click happens.
  std::function<void(int turn)> onTurn;

  void Begin() override { stop = false; }
  void Show(const std::string& c, const std::string& doing) override {
    caption = c;
    labels.push_back(doing);
    visible = true;
  }
  void Item(const std::string& doing, const std::string& path, uint64_t d, uint64_t t) override {
    labels.push_back(doing + path);
    done.push_back(d);
    total = t;
  }
  bool StopAsked() override {
    ++turns;
    if (onTurn) onTurn(turns);
    return stop;
  }
  void Hide() override { visible = false; }
};

}  // namespace vh::test
