#pragma once
// Message boxes answered from a script; every box asked is recorded.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_boxes.h"

namespace vh::test {

struct AskedBox {
  std::string text, caption;
  unsigned style = 0;
};

class FakeMessageBoxes : public MessageBoxes {
 public:
  // Queues the answer to the next box; `then` runs while the box is up (a drive comes back...).
  void Answer(int code, std::function<void()> then = {}) { script_.push_back({code, std::move(then)}); }
  int Show(const std::string& text, const std::string& caption, unsigned style) override;
  bool AllAnswered() const { return script_.empty(); }

  std::vector<AskedBox> asked;

 private:
  struct Scripted {
    int code;
    std::function<void()> then;
  };
  std::deque<Scripted> script_;
};

}  // namespace vh::test
