#pragma once
// What a backup run must look at in the trees it need not scan whole: the folders in which
// something changed since the last run.
#include <map>
#include <string>
#include <vector>

namespace vh {

// A path as a key: paths differ only in the letter case of A-Z for the file system, so they are
// compared that way.
std::string PathKey(const std::string& path);
// Whether `path` is `folder` or lies below it, compared as keys.
bool InsideFolder(const std::string& path, const std::string& folder);

// The marks of one tree, each list ordered by key, so that a folder comes before what it holds.
struct TreeMarks {
  std::vector<std::string> folders;   // each listed alone
  std::vector<std::string> subtrees;  // each walked whole; no folder or subtree above lies inside one
};

struct ScanScope {
  // By the list entry's path. An entry not here is scanned whole.
  std::map<std::string, TreeMarks> trees;
  const TreeMarks* Find(const std::string& entryPath) const {
    const auto found = trees.find(PathKey(entryPath));
    return found == trees.end() ? nullptr : &found->second;
  }
};

}  // namespace vh
