#pragma once
// One running copy of the program at a time.

namespace vh::ui {

// Takes the named mutex, held for the life of the process; false when another copy holds it.
bool ClaimSingleCopy(const wchar_t* name);

}  // namespace vh::ui
