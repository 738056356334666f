#include "operations/restore_journal.h"

#include <algorithm>

#include "common/text_lines.h"
#include "log/message_log.h"
#include "platform/system.h"
#include "store/drive_checks.h"
#include "store/store_paths.h"

namespace vh {
namespace {

std::string JournalOf(const std::string& backupFolder) {
  const std::string root = MirrorPath(backupFolder, "");
  return root.empty() ? root : JoinPath(root, kRestoreJournalFileName);
}

// What the journal holds is not trusted: a full path of plain names, ending in a temporary's
// name, with no store on its way.
bool MayBeLeftover(const std::string& path) {
  if (!IsStorablePath(path)) return false;
  size_t start = 0;
  for (size_t end; (end = path.find('\\', start)) != std::string::npos; start = end + 1) {
    if (SameText(path.substr(start, end - start), kMarkerFolder)) return false;
  }
  return IsRestoreTempName(path.substr(start));
}

}  // namespace

bool IsRestoreTempName(const std::string& name) {
  constexpr size_t kHead = 3, kTail = 4;  // "~vh", ".tmp"
  if (name.size() <= kHead + kTail || name.compare(0, kHead, "~vh") != 0 ||
      name.compare(name.size() - kTail, kTail, ".tmp") != 0) {
    return false;
  }
  return std::all_of(name.begin() + kHead, name.end() - kTail, [](char c) { return c >= '0' && c <= '9'; });
}

void RestoreJournal::Open(const std::string& backupFolder) {
  file_ = JournalOf(backupFolder);
  named_.clear();
}

void RestoreJournal::Record(const std::string& temp) {
  if (file_.empty() || std::find(named_.begin(), named_.end(), temp) != named_.end()) return;
  named_.push_back(temp);
  // A store that cannot be written (a read-only medium) does not stop the restore.
  const std::string line = temp + "\r\n";
  if (FileExists(file_)) Files().AppendFile(file_, line);
  else Files().WriteFile(file_, line);
}

void RestoreJournal::Close() {
  std::string text;
  if (!file_.empty() && !named_.empty() && Files().ReadFile(file_, text)) {
    auto listed = [](const std::vector<std::string>& paths, const std::string& path) {
      return std::find(paths.begin(), paths.end(), path) != paths.end();
    };
    std::string keep;
    for (const std::string& path : SplitLines(text)) {
      // An earlier restore's leftover on a drive that is away is still to go once the drive is back.
      const bool stays = listed(named_, path) ? listed(left_, path)
                                              : FileExists(path) || !DriveReachable(DrivePart(path));
      if (stays && !path.empty()) keep += path + "\r\n";
    }
    if (keep.empty()) Files().Delete(file_);
    else if (keep != text) Files().WriteFile(file_, keep);
  }
  file_.clear();
  named_.clear();
  left_.clear();
}

void RemoveRestoreLeftovers(const std::string& backupFolder, TMessageLog& log) {
  FileSystem& fs = Files();
  const std::string journal = JournalOf(backupFolder);
  std::string text;
  if (journal.empty() || !fs.ReadFile(journal, text)) return;
  std::string left;  // what cannot go yet
  bool told = false;
  for (const std::string& path : SplitLines(text)) {
    if (!MayBeLeftover(path)) continue;
    const uint32_t attributes = fs.Attributes(path);
    if (attributes == kAttrInvalid) {
      if (!DriveReachable(DrivePart(path))) left += path + "\r\n";
      continue;
    }
    if (!IsFileAttr(attributes) || (attributes & kAttrReparsePoint)) continue;
    fs.SetAttributes(path, kAttrArchive);  // it may carry a read-only backup's attributes
    if (fs.Delete(path)) {
      // A line of its own for each path: a log line is cut at a width a long path may not fit.
      if (!told) log.AddLine("Removed temporary files left by a restore that was cut off:", false);
      log.AddLine(path, false);
      told = true;
    } else {
      fs.SetAttributes(path, attributes);
      left += path + "\r\n";
    }
  }
  if (left.empty()) fs.Delete(journal);
  else if (left != text) fs.WriteFile(journal, left);
}

}  // namespace vh
