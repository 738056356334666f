#pragma once
// The services the logic reaches: installed once at start-up, swapped by tests.
#include "platform/file_system.h"
#include "platform/identity.h"
#include "platform/locale_clock.h"
#include "platform/message_boxes.h"

namespace vh {

struct System {
  FileSystem* files = nullptr;
  Identity* identity = nullptr;
  MessageBoxes* boxes = nullptr;
  LocaleClock* locale = nullptr;
};

// Installs `system` and returns the one it replaced.
System InstallSystem(const System& system);

FileSystem& Files();
Identity& Ident();
MessageBoxes& Boxes();
LocaleClock& Locale();

// Installs a system for the lifetime of the scope, then puts the previous one back.
class SystemScope {
 public:
  explicit SystemScope(const System& system) : previous_(InstallSystem(system)) {}
  ~SystemScope() { InstallSystem(previous_); }
  SystemScope(const SystemScope&) = delete;
  SystemScope& operator=(const SystemScope&) = delete;

 private:
  System previous_;
};

}  // namespace vh
