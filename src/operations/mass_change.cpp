#include "operations/mass_change.h"

namespace vh {

bool IsMassChange(int replacing, int compared) {
  return replacing >= kMassChangeFiles && static_cast<long long>(replacing) * 2 > compared;
}

std::string MassChangeWarning(int replacing, int compared, const std::string& versionsFolder) {
  return "WARNING: This backup replaces " + std::to_string(replacing) + " of the " + std::to_string(compared) +
         " backed-up files it compared. If you did not change them, they may have been damaged (by malware that "
         "encrypts files, for one); their earlier versions are kept in " +
         versionsFolder;
}

}  // namespace vh
