#include "fake_message_boxes.h"

#include <gtest/gtest.h>

namespace vh::test {

int FakeMessageBoxes::Show(const std::string& text, const std::string& caption, unsigned style) {
  asked.push_back({text, caption, style});
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected box: " << text;
    return kIdCancel;
  }
  Scripted next = std::move(script_.front());
  script_.pop_front();
  if (next.then) next.then();
  return next.code;
}

}  // namespace vh::test
