#include "store/folder_size.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/system.h"
#include "store/store_paths.h"
#include "store/versions.h"

namespace vh {
namespace {

// Digits of a whole number, grouped by threes with `separator` when it is not empty.
std::string Group(const std::string& digits, const std::string& separator) {
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

// `value` rounded to `decimals` places (halves away from zero), shown without leading zeros,
// without trailing zeros after the separator and without a separator when no decimals remain.
std::string Format(double value, int decimals, bool thousands) {
  const double scale = std::pow(10.0, decimals);
  const long long scaled = std::llround(value * scale);
  const long long whole = scaled / static_cast<long long>(scale);
  long long fraction = scaled % static_cast<long long>(scale);
  std::string text = whole == 0 ? "" : Group(std::to_string(whole), thousands ? Locale().ThousandsSeparator() : "");
  std::string decimalsText;
  for (int d = 0; d < decimals; ++d) {
    decimalsText.insert(decimalsText.begin(), static_cast<char>('0' + fraction % 10));
    fraction /= 10;
  }
  while (!decimalsText.empty() && decimalsText.back() == '0') decimalsText.pop_back();
  if (!decimalsText.empty()) text += Locale().DecimalSeparator() + decimalsText;
  return text;
}

// The files below a folder that is there: one listing a folder, nothing asked file by file.
double SizeBelow(const std::string& folder) {
  double total = 0;
  std::vector<DirEntry> entries;
  Files().List(folder, entries);  // a sub-folder that vanished meanwhile counts nothing
  for (const DirEntry& entry : entries) {
    if (entry.attributes & kAttrReparsePoint) continue;  // a link's target is not the store's
    total += (entry.attributes & kAttrDirectory) ? SizeBelow(JoinPath(folder, entry.name))
                                                 : static_cast<double>(entry.size);
  }
  return total;
}

}  // namespace

double FolderSize(const std::string& folder) { return FolderExists(folder) ? SizeBelow(folder) : -1; }

double VersionsSize(const std::string& backupFolder) {
  const std::string versions = VersionsFolderOf(backupFolder);
  return versions.empty() ? -1 : FolderSize(versions);
}

std::string SizeText(double size) {
  constexpr double kKB = 1024.0, kMB = 1048576.0, kGB = 1073741824.0;
  if (size == -1) return " Unknown";
  const std::string bytes = size == 0 ? "0" : Format(size, 0, true);
  auto scaled = [&](double unit, const char* name) {
    // The scaled value goes through single precision, as the report has always shown it.
    const float value = static_cast<float>(size / unit);
    return Format(value, 2, false) + name + " (" + bytes + " bytes)";
  };
  if (size >= kGB) return scaled(kGB, " GB");
  if (size >= kMB) return scaled(kMB, " MB");
  if (size >= kKB) return scaled(kKB, " KB");
  return bytes + " bytes";
}

std::string BackupFolderSizeReport(const std::string& backupFolder) {
  if (backupFolder.empty()) return "";
  std::string report = "Backup folder: " + backupFolder + "\n\nSize :" + SizeText(FolderSize(MirrorPath(backupFolder, "")));
  // The total holds the earlier versions; their part is told beside it once there are any.
  if (const double versions = VersionsSize(backupFolder); versions >= 0) {
    report += "\nOf which earlier versions :" + SizeText(versions);
  }
  return report;
}

}  // namespace vh
