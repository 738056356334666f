#include "log/message_log.h"

#include <algorithm>
#include <utility>

#include "common/text_lines.h"
#include "platform/system.h"
#include "store/drive_checks.h"
#include "store/store_paths.h"

namespace vh {
namespace {
// Enough for 200 lines of 126 characters of up to 4 bytes each: the end of a file is read, not
// the file, so a huge or damaged one costs no more than a good one.
constexpr uint64_t kLogTailBytes = kMaxLogLines * (kMaxLogLineChars * 4 + 2);

// How long a batch keeps lines from the file at most.
constexpr long long kBatchSeconds = 2;

// Seconds on the local clock; only differences matter, and a wrong one at a month's turn costs
// one write more.
long long SecondsNow() {
  const LocalTime t = Locale().Now();
  return ((static_cast<long long>(t.day) * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
}

// The last lines of a file's end, each within the line limit and free of nulls (which would end
// the page's text early).
std::vector<std::string> LastLines(const std::string& bytes, bool whole) {
  std::vector<std::string> lines = DecodeTextLines(bytes);
  if (!whole && !lines.empty()) lines.erase(lines.begin());  // cut at its start
  if (lines.size() > kMaxLogLines) lines.erase(lines.begin(), lines.end() - kMaxLogLines);
  for (std::string& line : lines) {
    std::replace(line.begin(), line.end(), '\0', ' ');
    line = FirstChars(line, kMaxLogLineChars);
  }
  return lines;
}
}  // namespace

std::string DateTimeStamp() {
  LocaleClock& locale = Locale();
  const LocalTime now = locale.Now();
  std::string stamp = locale.ShortDate(now);
  // At the stroke of midnight the time is left out, as the standard conversion does.
  if (now.hour != 0 || now.minute != 0 || now.second != 0) stamp += ' ' + locale.LongTime(now);
  return stamp;
}

size_t LinesToTrim(const std::vector<std::string>& lines) {
  size_t drop = 0;
  while (lines.size() - drop > kMaxLogLines) {
    while (drop < lines.size() && lines[drop].empty()) ++drop;
    while (drop < lines.size() && !lines[drop].empty()) ++drop;
  }
  return drop;
}

void TMessageLog::SetFileName(const std::string& fileName) {
  fileName_ = fileName;
  fileRead_ = true;
  unsaved_ = page_.Lines().size();
  failureShown_ = false;
}

void TMessageLog::AddLine(const std::string& text, bool heading) {
  if (disabled_) return;
  const std::string line = FirstChars(heading ? DateTimeStamp() + "  " + text : "\t\t" + text, kMaxLogLineChars);
  if (heading) page_.Append("");
  page_.Append(line);
  unsaved_ += heading ? 2 : 1;

  // The page is read once per line: the trim and the save work on the same copy.
  std::vector<std::string> lines = page_.Lines();
  const size_t drop = LinesToTrim(lines);
  if (drop > 0) {
    page_.RemoveFirst(static_cast<int>(drop));
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(drop));
  }
  page_.ScrollToEnd();
  if (batches_ == 0) Save(std::move(lines));
  else FlushIfDue();
}

void TMessageLog::Flush() {
  if (unsaved_ > 0) Save(page_.Lines());
}

void TMessageLog::FlushIfDue() {
  const long long now = SecondsNow();
  if (unsaved_ > 0 && (now - savedAt_ >= kBatchSeconds || now < savedAt_)) Save(page_.Lines());
}

TMessageLog::Batch::~Batch() {
  if (--log_.batches_ > 0 || log_.unsaved_ == 0) return;
  // Nothing may leave a destructor; a save that fails here is caught up by the next one, as any.
  try {
    log_.Save(log_.page_.Lines());
  } catch (...) {
  }
}

void TMessageLog::Attach(const std::string& fileName) {
  fileName_ = fileName;
  unsaved_ = page_.Lines().size();
  failureShown_ = false;
  fileRead_ = MergeFile();
}

bool TMessageLog::MergeFile() {
  std::string bytes;
  bool whole = false;
  if (!Files().ReadFileEnd(fileName_, kLogTailBytes, bytes, whole)) return false;
  std::vector<std::string> lines = LastLines(bytes, whole);
  const std::vector<std::string> own = page_.Lines();
  lines.insert(lines.end(), own.begin(), own.end());
  lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(LinesToTrim(lines)));
  page_.SetLines(lines);
  page_.ScrollToEnd();
  return true;
}

void TMessageLog::Save(std::vector<std::string> lines) {
  if (fileName_.empty()) return;  // detached: the page only
  savedAt_ = SecondsNow();
  if (!FileExists(fileName_)) {
    std::string message;
    // Gone with its drive: the whole page goes to the file when the drive is back.
    if (!CheckBackupDrive(nullptr, fileName_, message, "")) return;
    if (!KnownAbsent(fileName_)) return;  // only not seen for a moment: never written over unread
    const std::string folder = FolderOf(fileName_);
    if (!folder.empty()) ForceFolders(folder);
    fileRead_ = true;  // nothing there to keep
  } else if (!fileRead_) {
    fileRead_ = MergeFile();
    if (fileRead_) lines = page_.Lines();  // the file's lines now stand in front
  }
  unsaved_ = std::min(unsaved_, lines.size());
  if (fileRead_ && Files().WriteFile(fileName_, JoinLines(lines))) {
    unsaved_ = 0;
    failureShown_ = false;
    return;
  }
  // A rewrite needs room for a second copy; the new lines alone may still fit at the end. The
  // file then holds more than 200 lines until the next rewrite.
  if (fileRead_ && FileExists(fileName_) &&
      Files().AppendFile(fileName_, JoinLines({lines.end() - static_cast<std::ptrdiff_t>(unsaved_), lines.end()}))) {
    unsaved_ = 0;
    return;
  }
  // Said once on the page, not per line; the file keeps what it held and catches up later.
  if (failureShown_) return;
  failureShown_ = true;
  page_.Append(kLogNotWritten);
  ++unsaved_;
  page_.ScrollToEnd();
}

void TMessageLog::Clear() {
  std::string message;
  if (fileName_.empty() || !CheckBackupDrive(&Boxes(), fileName_, message, "")) return;
  page_.SetLines({});
  Files().Delete(fileName_);
  fileRead_ = true;
  unsaved_ = 0;
  failureShown_ = false;
}

bool LoadLog(TMessageLog& log, const std::string& backupFolder) {
  const std::string fileName = JoinPath(MirrorPath(backupFolder, ""), kLogFileName);
  if (backupFolder.empty() || !FileExists(fileName)) return false;
  log.Attach(fileName);
  return true;
}

}  // namespace vh
