#pragma once
// The operation log: the lines of the Log page, mirrored whole into "Log.txt" after every line.
#include <string>
#include <vector>

#include "platform/text_page.h"

namespace vh {

constexpr size_t kMaxLogLineChars = 126;
constexpr size_t kMaxLogLines = 200;

class TMessageLog {
 public:
  explicit TMessageLog(TextPage& page) : page_(page) {}

  void SetFileName(const std::string& fileName) { fileName_ = fileName; }
  const std::string& FileName() const { return fileName_; }
  // A heading: an empty line, then date and time, two blanks and the text. Otherwise a detail
  // line: two TABs and the text. Does nothing while disabled.
  void AddLine(const std::string& text, bool heading);
  // Replaces the page by the file's lines when the file can be read.
  void Load();
  // Empties the page and deletes the file, once the file's drive can be reached.
  void Clear();
  void Disable() { disabled_ = true; }
  void Enable() { disabled_ = false; }
  bool Disabled() const { return disabled_; }
  void ScrollToEnd() { page_.ScrollToEnd(); }

 private:
  void Save(const std::vector<std::string>& lines);

  std::string fileName_;
  bool disabled_ = false;
  TextPage& page_;
};

// The current date and time as the user's settings write them: short date, a blank, long time
// (the time left out at the stroke of midnight).
std::string DateTimeStamp();

// Attaches the log to "Log.txt" in the backup folder's store and loads it, when that file
// exists; false (file name unchanged) otherwise.
bool LoadLog(TMessageLog& log, const std::string& backupFolder);

}  // namespace vh
