#pragma once
// A run that would replace most of the mirrors it compares: how malware that encrypts files
// shows itself, and the moment the user can still act (the old copies are kept as versions).
#include <string>

namespace vh {

// At least this many mirrors replaced, and more than half of those compared.
constexpr int kMassChangeFiles = 100;

bool IsMassChange(int replacing, int compared);
// The log's WARNING, naming the count and where the earlier versions go.
std::string MassChangeWarning(int replacing, int compared, const std::string& versionsFolder);

}  // namespace vh
