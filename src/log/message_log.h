#pragma once
// The operation log: the lines of the Log page, mirrored whole into "Log.txt" after every line.
#include <string>
#include <vector>

#include "platform/text_page.h"

namespace vh {

constexpr size_t kMaxLogLineChars = 126;
constexpr size_t kMaxLogLines = 200;

// Shown on the page, once, when "Log.txt" cannot be written.
inline const char* const kLogNotWritten =
    "\t\tWARNING: Log.txt could not be written; it is brought up to date when it can be.";

class TMessageLog {
 public:
  explicit TMessageLog(TextPage& page) : page_(page) {}

  // Names the file the page is written to from the next line on, replacing what it holds.
  void SetFileName(const std::string& fileName);
  const std::string& FileName() const { return fileName_; }
  // A heading: an empty line, then date and time, two blanks and the text. Otherwise a detail
  // line: two TABs and the text. Does nothing while disabled.
  void AddLine(const std::string& text, bool heading);
  // Attaches the log to an existing file: its last lines come first on the page, then those
  // the page already held. A file that cannot be read now is read before it is first written,
  // and never written over unread.
  void Attach(const std::string& fileName);
  // Empties the page and deletes the file, once the file's drive can be reached.
  void Clear();
  void Disable() { disabled_ = true; }
  void Enable() { disabled_ = false; }
  bool Disabled() const { return disabled_; }
  void ScrollToEnd() { page_.ScrollToEnd(); }
  // Writes what the file does not hold yet, a batch alive or not: the process is about to end.
  void Flush();
  // Writes what a batch has kept from the file for a few seconds: called while a run goes on.
  void FlushIfDue();

  // While one lives, lines reach the page at once and the file when the last one ends, or when a
  // line comes a few seconds after the last write: a run that names thousands of files writes the
  // file once, not once per line, and a run killed part-way loses no more than those seconds.
  class Batch {
   public:
    explicit Batch(TMessageLog& log) : log_(log) { ++log_.batches_; }
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    TMessageLog& log_;
  };

 private:
  // Puts the file's lines in front of the page's; false when the file cannot be read.
  bool MergeFile();
  // Writes `lines`, the page as it stands, to the file.
  void Save(std::vector<std::string> lines);

  std::string fileName_;
  bool disabled_ = false;
  bool fileRead_ = true;   // the page holds all the file holds (or the file is the page's to replace)
  size_t unsaved_ = 0;     // lines at the end of the page that the file does not hold yet
  bool failureShown_ = false;
  int batches_ = 0;        // Batch objects alive: the file waits for the last to end
  long long savedAt_ = 0;  // when the file was last written to, in seconds of the clock
  TextPage& page_;
};

// The current date and time as the user's settings write them: short date, a blank, long time
// (the time left out at the stroke of midnight).
std::string DateTimeStamp();

// How many lines go from the top so that at most 200 stay: whole entries (the empty line, the
// heading and its detail lines) at a time.
size_t LinesToTrim(const std::vector<std::string>& lines);

// Attaches the log to "Log.txt" in the backup folder's store, when that file exists; false (file
// name unchanged) otherwise.
bool LoadLog(TMessageLog& log, const std::string& backupFolder);

}  // namespace vh
