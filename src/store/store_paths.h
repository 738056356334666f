#pragma once
// Where the backups live: <backup folder>\$VH_BKS$\<computer name>\<user name> (the store root),
// with one folder per source drive letter below it that repeats the source's folders.
#include <string>

namespace vh {

inline const char* const kMarkerFolder = "$VH_BKS$";
inline const char* const kConfigFileName = "Config.txt";
inline const char* const kLogFileName = "Log.txt";
// Where a damaged "Config.txt" goes when the user's next change replaces it: "Config-damaged.txt",
// then "Config-damaged-2.txt" and on when that is taken.
inline std::string DamagedConfigFileName(int n) {
  return n == 1 ? "Config-damaged.txt" : "Config-damaged-" + std::to_string(n) + ".txt";
}

// Folder of the store root where copies are filled before they take a mirror's place. No mirror
// can live there (mirrors live below one-letter drive folders), so whatever is in it but the lock
// below is a leftover of an unfinished copy and never anyone's file.
inline const char* const kWorkFolder = "$VH_TMP$";
// File in the work folder that a run holds for its whole length, so that a run of another
// session on the same store is refused meanwhile (see StoreLock). Never a copy's name.
inline const char* const kStoreLockName = "run.lock";
// File of the store root naming the temporary files a restore has made beside the user's files.
inline const char* const kRestoreJournalFileName = "Restoring.txt";

// The mirror of a source path; with an empty source path, the store root; with an empty backup
// folder, or a source path that could lead outside the store (see IsStorablePath), empty text.
std::string MirrorPath(const std::string& backupFolder, const std::string& sourcePath);
// The source path whose mirror is `mirrorPath`: the reverse of MirrorPath. Empty text for a path
// that is not below the store root's drive folders or would not map back to a storable path.
std::string SourcePathOf(const std::string& backupFolder, const std::string& mirrorPath);
// A full drive-letter path ("C:", "C:\", "C:\Docs\a.txt") whose every name is a plain one: no
// "." or "..", no empty name, no ":" (a stream), no wildcard or "/". Device names and names ending
// in "." or a blank pass: behind the long-path prefix they are ordinary names. Only such a path
// maps to a place inside the store.
bool IsStorablePath(const std::string& path);
// One plain name of such a path: what a folder of a storable path may hold and still be one.
bool IsStorableName(const std::string& name);
// NUL, CON, PRN, AUX, COM1-9, LPT1-9, with or without an extension, in any case.
bool IsDeviceName(const std::string& name);
// The names as folder names of the store: see FolderSafeName.
std::string LocalComputerName();
std::string LocalUserName();
// X: for a drive-letter path, \\server\share for a network path, else empty.
std::string DrivePart(const std::string& path);
// Creates a folder with every missing parent. Failures show up when the caller writes into it.
void ForceFolders(const std::string& path);

// A name as one folder name: characters a folder name cannot hold become "_", as do trailing
// dots and blanks (the file system would drop them); an empty name or a device name
// (CON, NUL, COM1, ...) gets "_" so it still makes a folder of its own.
std::string FolderSafeName(const std::string& name);

// The folder part of a path, up to and including its last "\" (empty when it has none).
std::string FolderOf(const std::string& path);
// `folder` joined with `name` by one "\".
std::string JoinPath(const std::string& folder, const std::string& name);
bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);
// True when the folder the path would be in lists without it, or is itself known to be absent; a
// path that only could not be looked at (a network hiccup) may well be there. Only a file known to
// be absent may be written without first being read.
bool KnownAbsent(const std::string& path);

}  // namespace vh
