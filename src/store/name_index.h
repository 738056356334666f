#pragma once
// The entries of one folder's listing found by name the way the file system finds a name: with
// no regard to the letter case of A-Z. A scan looks its other side up here rather than asking the
// file system about each file.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vh {

class NameIndex {
 public:
  // `entries` must outlive the index and stay as they are.
  explicit NameIndex(const std::vector<DirEntry>& entries);
  // The entry of that name: the one spelt the same when there is one, else one that differs
  // only in the case of A-Z; null when none. Names that differ in the case of other letters are
  // not told equal here (see NeedsOwnLookup).
  const DirEntry* Find(const std::string& name) const;
  // Whether a name missing here may still be in the folder under other letter case beyond A-Z,
  // which only the file system can tell.
  bool NeedsOwnLookup(const std::string& name) const;

 private:
  const std::vector<DirEntry>& entries_;
  std::vector<uint32_t> byName_;  // indices of entries_, ordered by name, case of A-Z aside
};

}  // namespace vh
