#include "control/versions_dialog.h"

#include <vector>

#include "platform/system.h"
#include "store/folder_size.h"
#include "store/store_paths.h"
#include "store/versions.h"

namespace vh {
namespace {

long long FilesBelow(const std::string& folder) {
  long long count = 0;
  std::vector<DirEntry> entries;
  Files().List(folder, entries);  // a folder that vanished meanwhile holds nothing
  for (const DirEntry& entry : entries) {
    if (entry.attributes & kAttrReparsePoint) continue;  // a link's target is not the store's
    count += (entry.attributes & kAttrDirectory) ? FilesBelow(JoinPath(folder, entry.name)) : 1;
  }
  return count;
}

std::string TimeText(const LocalTime& time) { return Locale().ShortDate(time) + " " + Locale().LongTime(time); }

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

VersionsSummary SummariseVersions(const std::string& backupFolder) {
  VersionsSummary summary;
  const StringList runs = RunFolders(backupFolder);
  for (const std::string& run : runs) summary.files += FilesBelow(JoinPath(VersionsFolderOf(backupFolder), run));
  if (!runs.empty()) {
    summary.first = RunFolderTime(runs.front());
    summary.last = RunFolderTime(runs.back());
  }
  summary.bytes = VersionsSize(backupFolder);
  return summary;
}

std::string VersionsSummaryText(const VersionsSummary& summary) {
  if (summary.files == 0 || !summary.first || !summary.last) return "No earlier versions are kept yet.";
  return "Versions kept: " + std::to_string(summary.files) + (summary.files == 1 ? " file" : " files") +
         "\nFrom: " + TimeText(*summary.first) + "\nTo: " + TimeText(*summary.last) +
         "\nRoom they take:" + (summary.bytes < 0 ? "" : " ") + SizeText(summary.bytes);
}

KeepDaysEntry ReadKeepDays(const std::string& typed) {
  const std::string digits = Trimmed(typed);
  // More digits than the largest value has can only be out of range, and would overflow.
  bool number = !digits.empty() && digits.size() <= std::to_string(kMaxKeepDays).size();
  for (const char c : digits) number = number && c >= '0' && c <= '9';
  if (number && std::stoi(digits) <= kMaxKeepDays) return {std::stoi(digits), ""};
  return {std::nullopt, "Type the number of days to keep earlier versions, from 0 (keep none) to " +
                            std::to_string(kMaxKeepDays) + "."};
}

std::string VersionsFolderToOpen(const std::string& backupFolder, std::string& message) {
  const std::string folder = VersionsFolderOf(backupFolder);
  if (!folder.empty() && FolderExists(folder)) return folder;
  message = "No earlier versions have been kept in this backup folder yet, so there is no folder to open.";
  return "";
}

}  // namespace vh
