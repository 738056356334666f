#include "log/message_log.h"

#include <vector>

#include "common/text_lines.h"
#include "platform/system.h"
#include "store/drive_checks.h"
#include "store/store_paths.h"

namespace vh {

std::string DateTimeStamp() {
  LocaleClock& locale = Locale();
  const LocalTime now = locale.Now();
  std::string stamp = locale.ShortDate(now);
  // At the stroke of midnight the time is left out, as the standard conversion does.
  if (now.hour != 0 || now.minute != 0 || now.second != 0) stamp += ' ' + locale.LongTime(now);
  return stamp;
}

void TMessageLog::AddLine(const std::string& text, bool heading) {
  if (disabled_) return;
  const std::string line = FirstChars(heading ? DateTimeStamp() + "  " + text : "\t\t" + text, kMaxLogLineChars);
  if (heading) page_.Append("");
  page_.Append(line);

  // Whole entries go from the top: the empty line, the heading and its detail lines.
  std::vector<std::string> lines = page_.Lines();
  size_t drop = 0;
  while (lines.size() - drop > kMaxLogLines) {
    while (drop < lines.size() && lines[drop].empty()) ++drop;
    while (drop < lines.size() && !lines[drop].empty()) ++drop;
  }
  if (drop > 0) {
    page_.RemoveFirst(static_cast<int>(drop));
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(drop));
  }
  page_.ScrollToEnd();
  Save(lines);
}

void TMessageLog::Save(const std::vector<std::string>& lines) {
  if (!FileExists(fileName_)) {
    std::string message;
    if (fileName_.empty() || !CheckBackupDrive(false, fileName_, message, "")) return;
    const std::string folder = FolderOf(fileName_);
    if (!folder.empty()) ForceFolders(folder);
  }
  // A file that cannot be written keeps its last good copy; the next line catches it up.
  Files().WriteFile(fileName_, JoinLines(lines));
}

void TMessageLog::Load() {
  std::string bytes;
  if (FileExists(fileName_) && Files().ReadFile(fileName_, bytes)) page_.SetLines(DecodeTextLines(bytes));
}

void TMessageLog::Clear() {
  std::string message;
  if (fileName_.empty() || !CheckBackupDrive(true, fileName_, message, "")) return;
  page_.SetLines({});
  Files().Delete(fileName_);
}

bool LoadLog(TMessageLog& log, const std::string& backupFolder) {
  const std::string fileName = JoinPath(MirrorPath(backupFolder, ""), kLogFileName);
  if (backupFolder.empty() || !FileExists(fileName)) return false;
  log.SetFileName(fileName);
  log.Load();
  return true;
}

}  // namespace vh
