#pragma once
// The search of folders and drives for an earlier backup store of this computer and user.
#include <string>

namespace vh {

// What the search shows while it runs, and where the user can stop it.
class SearchView {
 public:
  virtual ~SearchView() = default;
  // Shows the folder being searched and lets pending window messages run.
  virtual void ShowSearching(const std::string& folder) = 0;
  // Set by Stop while the search runs.
  virtual bool StopRequested() = 0;
};

// Whether `folder` holds $VH_BKS$\<computer>\<user>, each level a folder.
bool HoldsStore(const std::string& folder);
// Depth first below `folder`, a folder before its sub-folders, to the first store: `found` is
// that folder (a trailing "\" of `folder` kept). False when none or stopped.
bool FindBackupStore(const std::string& folder, std::string& found, SearchView& view);
// The present drives from Z: down to A:, network drives only when `allDrives`; a store at a
// drive's root is given as the root with its "\".
bool SearchDrives(bool allDrives, std::string& found, SearchView& view);

}  // namespace vh
