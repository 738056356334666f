#pragma once
// Every fake service, installed for the lifetime of the object: the usual test fixture member.
#include <string>

#include "fake_controls.h"
#include "fake_file_system.h"
#include "fake_locale_clock.h"
#include "fake_message_boxes.h"
#include "platform/identity.h"
#include "platform/system.h"

namespace vh::test {

class FakeIdentity : public Identity {
 public:
  std::string computer = "PC1", user = "joe";
  std::string ComputerName() override { return computer; }
  std::string UserName() override { return user; }
};

struct FakeSystem {
  FakeFileSystem files;
  FakeIdentity identity;
  FakeMessageBoxes boxes;
  FakeLocaleClock locale;
  SystemScope scope{System{&files, &identity, &boxes, &locale}};
};

}  // namespace vh::test
