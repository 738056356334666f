#pragma once
// Fitting a path to a label.
#include <functional>
#include <string>

namespace vh {

// A path with leading folders left out ("C:\...\report.doc") until its width, as `textWidth`
// measures it, fits `limit` pixels.
std::string ShortenPath(const std::string& path, int limit, const std::function<int(const std::string&)>& textWidth);

}  // namespace vh
