#include "control/store_search.h"

#include <vector>

#include "platform/system.h"
#include "store/store_paths.h"

namespace vh {

bool HoldsStore(const std::string& folder) {
  const std::string marker = JoinPath(folder, kMarkerFolder);
  const std::string computer = marker + "\\" + LocalComputerName();
  return FolderExists(marker) && FolderExists(computer) && FolderExists(computer + "\\" + LocalUserName());
}

bool FindBackupStore(const std::string& folder, std::string& found, SearchView& view) {
  std::string f = folder;
  if (!f.empty() && f.back() == '\\') f.pop_back();
  view.ShowSearching(folder);
  if (HoldsStore(f)) {
    found = folder;
    return true;
  }
  std::vector<DirEntry> entries;
  Files().List(f, entries);  // a folder that cannot be listed holds no sub-folders
  for (const DirEntry& entry : entries) {
    if (!(entry.attributes & kAttrDirectory)) continue;
    if (view.StopRequested()) {
      found.clear();
      return false;
    }
    // Links are not walked into: they would loop or search other places twice.
    if (entry.attributes & kAttrReparsePoint) continue;
    if (FindBackupStore(f + "\\" + entry.name, found, view)) return true;
  }
  return false;
}

bool SearchDrives(bool allDrives, std::string& found, SearchView& view) {
  const uint32_t mask = Files().DriveMask();
  for (int letter = 25; letter >= 0 && !view.StopRequested(); --letter) {
    if (!(mask & (1u << letter))) continue;
    const std::string root = std::string(1, static_cast<char>('A' + letter)) + ":";
    if (!allDrives && Files().IsRemoteDrive(root)) continue;
    if (FindBackupStore(root, found, view)) {
      if (found.size() == 2) found += "\\";
      return true;
    }
  }
  return false;
}

}  // namespace vh
