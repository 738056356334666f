#pragma once
#include <string>
#include <vector>

namespace vh {

// An ordered list of texts: every working list of paths, drives and failures.
using StringList = std::vector<std::string>;

}  // namespace vh
