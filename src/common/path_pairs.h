#pragma once
// The list of copies a run makes: pairs of paths that end in the same name (a file and its
// mirror), in the order found. The two folders of a pair are held once for all the files that
// share them, so a list of a million files takes little more than their names.
#include <cstdint>
#include <string>
#include <vector>

namespace vh {

class PathPairs {
 public:
  // What Attributes gives for a pair added without them.
  static constexpr uint32_t kUnknown = 0xFFFFFFFF;

  // Starts a pair of folders for the files added next; returns its number for Add.
  uint32_t AddFolders(std::string first, std::string second);
  // Appends first folder\name and second folder\name, with the first one's attributes and size
  // as found.
  void Add(uint32_t folders, std::string name, uint32_t attributes = kUnknown, uint64_t size = 0);
  // Appends two whole paths, whatever their names.
  void AddPaths(const std::string& first, const std::string& second, uint32_t attributes = kUnknown,
                uint64_t size = 0);

  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  std::string First(size_t i) const;
  std::string Second(size_t i) const;
  uint32_t Attributes(size_t i) const { return items_[i].attributes; }
  uint64_t Size(size_t i) const { return items_[i].size; }

 private:
  struct Folders {
    std::string first, second;
  };
  struct Item {
    uint32_t folders;
    uint32_t attributes;
    uint64_t size;
    std::string name;  // empty: the folders are the whole paths
  };
  static std::string Join(const std::string& folder, const std::string& name);
  std::vector<Folders> folders_;
  std::vector<Item> items_;
};

}  // namespace vh
