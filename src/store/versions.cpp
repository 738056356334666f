#include "store/versions.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/system.h"
#include "store/store_paths.h"

namespace vh {
namespace {

constexpr int64_t kMinutesPerDay = 24 * 60;

// Days from 1970-01-01 of a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int year, int month, int day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

int64_t Minutes(const LocalTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * kMinutesPerDay + t.hour * 60 + t.minute;
}

bool Digits(const std::string& text, size_t at, size_t count, int& value) {
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

std::string VersionsFolderOf(const std::string& backupFolder) {
  const std::string root = MirrorPath(backupFolder, "");
  return root.empty() ? root : JoinPath(root, kVersionsFolder);
}

std::string RunFolderName(const LocalTime& time, bool restore, int n) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d%02d", time.year % 10000, time.month % 100, time.day % 100,
                time.hour % 100, time.minute % 100);
  std::string name = stamp;
  if (restore) name += " restore";
  if (n > 1) {
    // Two digits keep the order of the runs of one minute in the order of their names.
    std::snprintf(stamp, sizeof stamp, " %02d", n);
    name += stamp;
  }
  return name;
}

std::optional<LocalTime> RunFolderTime(const std::string& name) {
  // "YYYY-MM-DD HHMM", then nothing or a blank and more.
  if (name.size() < 15 || (name.size() > 15 && name[15] != ' ') || name[4] != '-' || name[7] != '-' ||
      name[10] != ' ') {
    return std::nullopt;
  }
  LocalTime t;
  if (!Digits(name, 0, 4, t.year) || !Digits(name, 5, 2, t.month) || !Digits(name, 8, 2, t.day) ||
      !Digits(name, 11, 2, t.hour) || !Digits(name, 13, 2, t.minute)) {
    return std::nullopt;
  }
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59) return std::nullopt;
  return t;
}

bool VersionsFolderIsLink(const std::string& backupFolder) {
  const std::string folder = VersionsFolderOf(backupFolder);
  const uint32_t attributes = folder.empty() ? kAttrInvalid : Files().Attributes(folder);
  return attributes != kAttrInvalid && (attributes & kAttrReparsePoint);
}

StringList RunFolders(const std::string& backupFolder) {
  const std::string folder = VersionsFolderOf(backupFolder);
  std::vector<DirEntry> entries;
  if (folder.empty() || VersionsFolderIsLink(backupFolder) || !Files().List(folder, entries)) return {};
  StringList names;
  for (const DirEntry& entry : entries) {
    // A link is never walked into or emptied: what it leads to is not the store's.
    if ((entry.attributes & kAttrDirectory) && !(entry.attributes & kAttrReparsePoint) && RunFolderTime(entry.name)) {
      names.push_back(entry.name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

StringList RunFoldersToDelete(const StringList& names, const LocalTime& now, int keepDays) {
  StringList doomed;
  if (keepDays <= 0) return doomed;
  const int64_t nowMinutes = Minutes(now);
  std::map<std::string, std::string> newestOfDay;  // "YYYY-MM-DD" -> its newest name past the last day
  for (const std::string& name : names) {
    const std::optional<LocalTime> time = RunFolderTime(name);
    if (!time) continue;
    const int64_t age = nowMinutes - Minutes(*time);
    if (age > keepDays * kMinutesPerDay) {
      doomed.push_back(name);
    } else if (age >= kMinutesPerDay) {
      std::string& newest = newestOfDay[name.substr(0, 10)];
      if (newest.empty()) {
        newest = name;
      } else if (name > newest) {
        doomed.push_back(newest);
        newest = name;
      } else {
        doomed.push_back(name);
      }
    }
  }
  return doomed;
}

}  // namespace vh
