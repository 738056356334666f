#include "store/store_paths.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "platform/system.h"

namespace vh {

std::string FolderSafeName(const std::string& name) {
  std::string safe = name;
  for (char& c : safe) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  }
  for (size_t i = safe.size(); i > 0 && (safe[i - 1] == '.' || safe[i - 1] == ' '); --i) {
    safe[i - 1] = '_';
  }
  std::string upper = safe;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const std::string base = upper.substr(0, upper.find('.'));
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
  bool device = std::find(std::begin(kDevices), std::end(kDevices), base) != std::end(kDevices);
  device = device || (base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) &&
                      base[3] >= '1' && base[3] <= '9');
  if (safe.empty() || device) safe += '_';
  return safe;
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
  std::string rest = sourcePath;
  if (rest.size() >= 2) rest.erase(1, 1);  // the drive colon: C:\Docs -> C\Docs
  return path + '\\' + rest;
}

std::string SourcePathOf(const std::string& backupFolder, const std::string& mirrorPath) {
  const std::string root = MirrorPath(backupFolder, "");
  std::string source = mirrorPath.size() > root.size() ? mirrorPath.substr(root.size() + 1) : "";
  if (!source.empty()) source = source.substr(0, 1) + ":" + source.substr(1);
  return source;
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
