#include "common/text_lines.h"

#include "platform/system.h"

namespace vh {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

bool IsValidUtf8(const std::string& text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t more;
    unsigned min;
    unsigned cp;
    if (c < 0x80) { ++i; continue; }
    if ((c & 0xE0) == 0xC0) { more = 1; min = 0x80; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { more = 2; min = 0x800; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { more = 3; min = 0x10000; cp = c & 0x07; }
    else return false;
    for (size_t k = 1; k <= more; ++k) {
      if (i + k >= n) return false;
      const unsigned char d = static_cast<unsigned char>(text[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    // Overlong forms, surrogates and values past the last code point are not UTF-8.
    if (cp < min || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
    i += more + 1;
  }
  return true;
}

std::vector<std::string> DecodeTextLines(const std::string& bytes) {
  const bool bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
  std::vector<std::string> lines = SplitLines(bom ? bytes.substr(3) : bytes);
  for (std::string& line : lines) {
    if (!IsValidUtf8(line)) line = Locale().AnsiToUtf8(line);
  }
  return lines;
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
    const char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

size_t CharCount(const std::string& text) {
  size_t count = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::string FirstChars(const std::string& text, size_t count) {
  size_t seen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (seen == count) return text.substr(0, i);
      ++seen;
    }
  }
  return text;
}

}  // namespace vh
