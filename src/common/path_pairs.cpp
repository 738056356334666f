#include "common/path_pairs.h"

namespace vh {

uint32_t PathPairs::AddFolders(std::string first, std::string second) {
  folders_.push_back({std::move(first), std::move(second)});
  return static_cast<uint32_t>(folders_.size() - 1);
}

void PathPairs::Add(uint32_t folders, std::string name, uint32_t attributes, uint64_t size) {
  items_.push_back({folders, attributes, size, std::move(name)});
}

void PathPairs::AddPaths(const std::string& first, const std::string& second, uint32_t attributes, uint64_t size) {
  const size_t a = first.rfind('\\'), b = second.rfind('\\');
  if (a != std::string::npos && b != std::string::npos && first.compare(a, std::string::npos, second, b) == 0 &&
      a + 1 < first.size()) {
    // The same name: the folders may already be the last pair's.
    if (folders_.empty() || folders_.back().first.compare(0, std::string::npos, first, 0, a) != 0 ||
        folders_.back().second.compare(0, std::string::npos, second, 0, b) != 0) {
      AddFolders(first.substr(0, a), second.substr(0, b));
    }
    Add(static_cast<uint32_t>(folders_.size() - 1), first.substr(a + 1), attributes, size);
  } else {
    Add(AddFolders(first, second), {}, attributes, size);
  }
}

std::string PathPairs::Join(const std::string& folder, const std::string& name) {
  if (name.empty()) return folder;
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder);
  if (!folder.empty() && folder.back() != '\\') path += '\\';
  return path.append(name);
}

std::string PathPairs::First(size_t i) const { return Join(folders_[items_[i].folders].first, items_[i].name); }
std::string PathPairs::Second(size_t i) const { return Join(folders_[items_[i].folders].second, items_[i].name); }

}  // namespace vh
