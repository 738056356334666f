#include "list/source_list.h"

#include <algorithm>

#include "common/text_lines.h"
#include "platform/system.h"
#include "store/store_paths.h"

namespace vh {
namespace {
// No path on the platform is longer; a longer line is not a path and its entry is skipped.
constexpr size_t kMaxPathChars = 32767;
}  // namespace

TSource* TSourceList::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[index].get();
}

int TSourceList::Add(std::unique_ptr<TSource> entry) {
  if (!entry || entry->Path.empty()) return -1;
  // Byte order, case-sensitive: the order the file and every walk of the list rely on.
  const auto at = std::lower_bound(items_.begin(), items_.end(), entry->Path,
                                   [](const auto& e, const std::string& p) { return e->Path < p; });
  if (at != items_.end() && (*at)->Path == entry->Path) return -1;
  const auto index = at - items_.begin();
  items_.insert(at, std::move(entry));
  return static_cast<int>(index);
}

int TSourceList::Add(const std::string& path, bool subs, int isFolder) {
  return Add(std::make_unique<TSource>(path, subs, isFolder));
}

void TSourceList::AddAll(std::vector<TSource> entries) {
  for (TSource& entry : entries) {
    if (!entry.Path.empty()) items_.push_back(std::make_unique<TSource>(std::move(entry)));
  }
  // Stable, so of equal paths the one listed or met first stays.
  std::stable_sort(items_.begin(), items_.end(), [](const auto& a, const auto& b) { return a->Path < b->Path; });
  items_.erase(std::unique(items_.begin(), items_.end(), [](const auto& a, const auto& b) { return a->Path == b->Path; }),
               items_.end());
}

int TSourceList::IndexOf(const std::string& path) const {
  const auto at = std::lower_bound(items_.begin(), items_.end(), path,
                                   [](const auto& e, const std::string& p) { return e->Path < p; });
  return at != items_.end() && (*at)->Path == path ? static_cast<int>(at - items_.begin()) : -1;
}

bool TSourceList::Delete(int index) {
  if (!Item(index)) return false;
  items_.erase(items_.begin() + index);
  return true;
}

void TSourceList::ShowInGrid(Grid& grid) const {
  grid.SetColCount(3);
  if (items_.empty()) {
    grid.SetRowCount(2);
    grid.SetCell(0, 1, "");
    grid.SetCell(1, 1, "");
    return;
  }
  grid.SetRowCount(Count() + 1);
  for (int i = 0; i < Count(); ++i) {
    const TSource& entry = *items_[i];
    grid.SetCell(0, i + 1, entry.Path);
    // A path that cannot be read has every attribute bit, so a vanished folder keeps its "Yes".
    const bool folder = (Files().Attributes(entry.Path) & kAttrDirectory) != 0;
    grid.SetCell(1, i + 1, entry.Subs && folder ? "Yes" : "");
  }
}

std::string TSourceList::Text() const {
  std::vector<std::string> lines{"3.0"};
  for (const auto& entry : items_) {
    lines.push_back(entry->Path);
    lines.push_back(entry->Subs ? "1" : "0");
    lines.push_back(entry->IsFolder == 1 ? "1" : "0");
  }
  return JoinLines(lines);
}

bool TSourceList::SaveToFile(const std::string& fileName) const { return Files().WriteFile(fileName, Text()); }

std::vector<TSource> ParseListText(const std::string& bytes, std::string& damage) {
  damage.clear();
  std::vector<TSource> entries;
  // This program never leaves an empty list file (it writes a version line at least): one that is
  // empty was cut short elsewhere, and loading it quietly would back up nothing and say nothing.
  if (bytes.empty()) {
    damage = "it is empty";
    return entries;
  }
  if (bytes.find('\0') != std::string::npos) {
    damage = "it holds binary data";
    return entries;
  }
  const std::vector<std::string> lines = DecodeTextLines(bytes);
  auto lineAt = [&](size_t i) { return i < lines.size() ? lines[i] : std::string(); };
  // Line 0 is the version, never tested: a list edited by hand loads whatever its first line, its
  // last line end or its last flag line. Then three lines an entry, a missing line read as empty
  // and a flag other than "1" as 0.
  for (size_t i = 1; i < lines.size(); i += 3) {
    const std::string& path = lines[i];
    if (CharCount(path) > kMaxPathChars) {
      damage = "it holds a line too long to be a path";
      continue;
    }
    if (!path.empty()) entries.emplace_back(path, lineAt(i + 1) == "1", lineAt(i + 2) == "1" ? 1 : 0);
  }
  return entries;
}

}  // namespace vh
