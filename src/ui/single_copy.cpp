#include "ui/single_copy.h"

#include <windows.h>

namespace vh::ui {

bool ClaimSingleCopy(const wchar_t* name) {
  // The handle stays open on purpose: the mutex lives as long as this copy does.
  CreateMutexW(nullptr, TRUE, name);
  return GetLastError() == ERROR_SUCCESS;
}

}  // namespace vh::ui
