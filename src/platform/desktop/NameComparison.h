#pragma once

#include <functional>
#include <string>

namespace tomefuse {

// Compares two UTF-8 names as the desktop sorts them: negative, zero or positive.
using NameComparison = std::function<int(const std::string& a, const std::string& b)>;

}  // namespace tomefuse
