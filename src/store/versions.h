#pragma once
// Earlier versions: what a run displaced from the mirror (or a restore from the user's place) is
// kept below <store root>\$VH_VER$\<run folder>\<drive letter>\<path>. A run folder is named by
// the run's local time, "2026-12-08 2315", so that names sort by time; a restore's carries
// " restore", and a later run of the same minute " 02", " 03" and on.
#include <optional>
#include <string>
#include <vector>

#include "common/string_list.h"
#include "platform/locale_clock.h"

namespace vh {

inline const char* const kVersionsFolder = "$VH_VER$";
constexpr int kDefaultKeepDays = 30;
constexpr int kMaxKeepDays = 3650;

// <store root>\$VH_VER$; empty for an empty backup folder.
std::string VersionsFolderOf(const std::string& backupFolder);
// The name of the n-th run folder (n from 1) of a minute.
std::string RunFolderName(const LocalTime& time, bool restore, int n);
// The minute a run folder's name begins with; none for a name that is no run folder's.
std::optional<LocalTime> RunFolderTime(const std::string& name);
// Whether the versions folder is a link: what it leads to is not the store's, so nothing is kept,
// walked or deleted through it.
bool VersionsFolderIsLink(const std::string& backupFolder);
// The run folders of the versions folder, oldest first; what else is there is not ours to touch.
// None when the versions folder is a link.
StringList RunFolders(const std::string& backupFolder);
// Which run folders go: those older than `keepDays` days; of the rest, those older than a day
// that are not the newest of their calendar day. Nothing when `keepDays` is 0 (versions off), and
// never a name that is no run folder's.
StringList RunFoldersToDelete(const StringList& names, const LocalTime& now, int keepDays);

}  // namespace vh
