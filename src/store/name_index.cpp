#include "store/name_index.h"

#include <algorithm>

namespace vh {
namespace {

unsigned char Folded(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

// -1, 0 or 1 as a is before, the same as, or after b, case of A-Z aside.
int CompareFolded(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = Folded(a[i]), y = Folded(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

NameIndex::NameIndex(const std::vector<DirEntry>& entries) : entries_(entries) {
  byName_.resize(entries.size());
  for (uint32_t i = 0; i < byName_.size(); ++i) byName_[i] = i;
  std::sort(byName_.begin(), byName_.end(),
            [&](uint32_t a, uint32_t b) { return CompareFolded(entries_[a].name, entries_[b].name) < 0; });
}

const DirEntry* NameIndex::Find(const std::string& name) const {
  auto it = std::lower_bound(byName_.begin(), byName_.end(), name, [&](uint32_t i, const std::string& n) {
    return CompareFolded(entries_[i].name, n) < 0;
  });
  const DirEntry* found = nullptr;
  for (; it != byName_.end() && CompareFolded(entries_[*it].name, name) == 0; ++it) {
    if (entries_[*it].name == name) return &entries_[*it];
    if (!found) found = &entries_[*it];
  }
  return found;
}

bool NameIndex::NeedsOwnLookup(const std::string& name) const {
  return !entries_.empty() &&
         std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace vh
