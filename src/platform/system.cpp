#include "platform/system.h"

#include <stdexcept>

namespace vh {
namespace {
System installed;

template <typename T>
T& Need(T* service, const char* what) {
  if (!service) throw std::logic_error(std::string("no ") + what + " installed");
  return *service;
}
}  // namespace

System InstallSystem(const System& system) {
  System previous = installed;
  installed = system;
  return previous;
}

FileSystem& Files() { return Need(installed.files, "file system"); }
Identity& Ident() { return Need(installed.identity, "identity"); }
MessageBoxes& Boxes() { return Need(installed.boxes, "message boxes"); }
LocaleClock& Locale() { return Need(installed.locale, "locale"); }

}  // namespace vh
