#pragma once
// Where the backups live: <backup folder>\$VH_BKS$\<computer name>\<user name> (the store root),
// with one folder per source drive letter below it that repeats the source's folders.
#include <string>

namespace vh {

inline const char* const kMarkerFolder = "$VH_BKS$";
inline const char* const kConfigFileName = "Config.txt";
inline const char* const kLogFileName = "Log.txt";

// The mirror of a source path; with an empty source path, the store root; with an empty backup
// folder, empty text.
std::string MirrorPath(const std::string& backupFolder, const std::string& sourcePath);
// The source path whose mirror is `mirrorPath`: the reverse of MirrorPath.
std::string SourcePathOf(const std::string& backupFolder, const std::string& mirrorPath);
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

}  // namespace vh
