#include "control/shorten_path.h"

namespace vh {
namespace {

// Cuts the first folder of a shortened path's folder part: "\Data\Old\" -> "\...\Old\".
void CutFirstFolder(std::string& dir) {
  if (dir == "\\") {
    dir.clear();
    return;
  }
  const bool rooted = dir[0] == '\\';
  if (rooted) dir.erase(0, 1);
  if (!dir.empty() && dir[0] == '.') dir.erase(0, 4);  // the "...\" of an earlier cut
  const size_t slash = dir.find('\\');
  dir = slash == std::string::npos ? std::string() : "...\\" + dir.substr(slash + 1);
  if (rooted) dir = "\\" + dir;
}

}  // namespace

std::string ShortenPath(const std::string& path, int limit, const std::function<int(const std::string&)>& textWidth) {
  if (textWidth(path) <= limit) return path;
  const size_t cut = path.find_last_of("\\:");
  std::string dir = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  std::string drive;
  if (dir.size() >= 2 && dir[1] == ':') {
    drive = dir.substr(0, 2);
    dir.erase(0, 2);
  }
  while ((!dir.empty() || !drive.empty()) && textWidth(drive + dir + name) > limit) {
    if (dir == "\\...\\") {
      drive.clear();
      dir = "...\\";
    } else if (!dir.empty()) {
      CutFirstFolder(dir);
    } else {
      drive.clear();
    }
  }
  return drive + dir + name;
}

}  // namespace vh
