#pragma once
// The backup list: the files and folders the user selected, sorted by path without duplicates,
// and its file "Config.txt".
#include <memory>
#include <string>
#include <vector>

#include "platform/grid.h"

namespace vh {

struct TSource {
  TSource(std::string path, bool subs, int isFolder) : Path(std::move(path)), Subs(subs), IsFolder(isFolder) {}
  std::string Path;
  bool Subs = false;  // the folder's sub-folders are included
  int IsFolder = 0;   // 1 when added as a folder, 0 when added as a file
};

class TSourceList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // The entry at `index`, or null when out of range.
  TSource* Item(int index) const;
  // Inserts at the sorted place and returns the index; -1 (entry not taken) for an empty or
  // already listed path.
  int Add(std::unique_ptr<TSource> entry);
  int Add(const std::string& path, bool subs, int isFolder);
  // Adds many entries at once, in sorted order, each path once: an entry already listed, or met
  // first, wins. As Add one by one, without its cost for a long list.
  void AddAll(std::vector<TSource> entries);
  bool Delete(int index);
  // The index of the entry with this path; -1 when none has it.
  int IndexOf(const std::string& path) const;
  void Clear() { items_.clear(); }
  void ShowInGrid(Grid& grid) const;
  // The list in the "Config.txt" format.
  std::string Text() const;
  // False when the file could not be written whole; an existing file is then left as it was.
  bool SaveToFile(const std::string& fileName) const;

 private:
  std::vector<std::unique_ptr<TSource>> items_;
};

// The entries of a "Config.txt" text, read as the file has always been read (three lines an entry,
// a flag "1" or not), and why the text cannot be a list: empty for any text list, one edited by
// hand included. A text with nulls in it gives no entries; a line longer than any path is skipped.
std::vector<TSource> ParseListText(const std::string& bytes, std::string& damage);

}  // namespace vh
