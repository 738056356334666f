#include "store/store_paths.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "common/text_lines.h"
#include "platform/system.h"

namespace vh {

namespace {

bool IsBadNameChar(char c) {
  return static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
}

}  // namespace

bool IsDeviceName(const std::string& name) {
  std::string base = name.substr(0, name.find('.'));
  std::transform(base.begin(), base.end(), base.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
  if (std::find(std::begin(kDevices), std::end(kDevices), base) != std::end(kDevices)) return true;
  return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

std::string FolderSafeName(const std::string& name) {
  std::string safe = name;
  for (char& c : safe) {
    if (IsBadNameChar(c)) c = '_';
  }
  for (size_t i = safe.size(); i > 0 && (safe[i - 1] == '.' || safe[i - 1] == ' '); --i) {
    safe[i - 1] = '_';
  }
  if (safe.empty() || IsDeviceName(safe)) safe += '_';
  return safe;
}

bool IsStorablePath(const std::string& path) {
  if (path.size() < 2 || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':') return false;
  if (path.size() == 2) return true;                   // "C:", a whole drive
  if (path[2] != '\\') return false;                 // "C:Docs" is relative to a current folder
  const std::string rest = path.substr(3);
  if (rest.empty()) return true;                      // "C:\"
  size_t begin = 0;
  for (;;) {
    const size_t end = rest.find('\\', begin);
    const std::string name = rest.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    // A trailing "\" after a folder name is how a folder may be given; an empty name elsewhere is not.
    if (name.empty()) return end == std::string::npos && begin > 0;
    if (name == "." || name == "..") return false;
    // Device names and trailing dots or blanks are not refused: every path reaches the system
    // with the long-path prefix, which takes them literally, as a backup of such a file needs.
    if (std::any_of(name.begin(), name.end(), IsBadNameChar)) return false;
    if (end == std::string::npos) return true;
    begin = end + 1;
  }
}

bool IsStorableName(const std::string& name) {
  return !name.empty() && name.find('\\') == std::string::npos && IsStorablePath("C:\\" + name);
}

std::string LocalComputerName() { return FolderSafeName(Ident().ComputerName()); }
std::string LocalUserName() { return FolderSafeName(Ident().UserName()); }

std::string MirrorPath(const std::string& backupFolder, const std::string& sourcePath) {
  if (backupFolder.empty()) return {};
  std::string path = backupFolder;
  if (path.back() != '\\') path += '\\';
  path += kMarkerFolder;
  path += '\\' + LocalComputerName() + '\\' + LocalUserName();
  if (sourcePath.empty()) return path;
  // Text read from disk is not trusted: "C:\..", "Docs", "\\srv\x" would lead elsewhere.
  if (!IsStorablePath(sourcePath)) return {};
  std::string rest = sourcePath;
  rest.erase(1, 1);  // the drive colon: C:\Docs -> C\Docs
  return path + '\\' + rest;
}

std::string SourcePathOf(const std::string& backupFolder, const std::string& mirrorPath) {
  const std::string root = MirrorPath(backupFolder, "");
  if (root.empty() || mirrorPath.size() <= root.size() + 1 || mirrorPath.compare(0, root.size(), root) != 0 ||
      mirrorPath[root.size()] != '\\') {
    return {};
  }
  std::string rest = mirrorPath.substr(root.size() + 1);
  const std::string source = rest.substr(0, 1) + ":" + rest.substr(1);
  return IsStorablePath(source) ? source : std::string();
}

std::string DrivePart(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    const size_t serverEnd = path.find('\\', 2);
    if (serverEnd == std::string::npos) return path;
    const size_t shareEnd = path.find('\\', serverEnd + 1);
    return shareEnd == std::string::npos ? path : path.substr(0, shareEnd);
  }
  return {};
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '\\') return folder + name;
  return folder + '\\' + name;
}

bool FolderExists(const std::string& path) { return IsFolderAttr(Files().Attributes(path)); }
bool FileExists(const std::string& path) { return IsFileAttr(Files().Attributes(path)); }

bool KnownAbsent(const std::string& path) {
  if (Files().Attributes(path) != kAttrInvalid) return false;
  std::string folder = FolderOf(path);
  const std::string name = path.substr(folder.size());
  if (folder.size() < 2 || name.empty()) return false;
  folder.pop_back();  // its final "\"
  std::vector<DirEntry> entries;
  if (!Files().List(folder, entries)) return KnownAbsent(folder);
  return std::none_of(entries.begin(), entries.end(), [&](const DirEntry& e) { return SameText(e.name, name); });
}

void ForceFolders(const std::string& path) {
  if (path.empty()) throw std::invalid_argument("Cannot create a folder with an empty name.");
  std::string folder = path;
  if (folder.back() == '\\') folder.pop_back();
  if (folder.size() <= 2 || FolderExists(folder)) return;
  const std::string parent = FolderOf(folder);
  if (parent == folder) return;
  if (!parent.empty()) ForceFolders(parent);
  Files().CreateFolder(folder);
}

}  // namespace vh
