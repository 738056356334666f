#pragma once
#include <string>
#include <vector>

namespace vh {

// A read-only page of text lines, as the log shows it; the page owns the lines.
class TextPage {
 public:
  virtual ~TextPage() = default;
  virtual std::vector<std::string> Lines() const = 0;
  virtual void SetLines(const std::vector<std::string>& lines) = 0;
  virtual void Append(const std::string& line) = 0;
  virtual void RemoveFirst(int count) = 0;
  // Caret to the end and the newest line into view.
  virtual void ScrollToEnd() = 0;
};

}  // namespace vh
