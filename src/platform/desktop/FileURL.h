#pragma once

#include <string>

namespace tomefuse {

// A file URL for an absolute local path: everything but unreserved characters and "/"
// percent-encoded, so a path with spaces or non-ASCII letters still makes a valid URL.
std::string fileURLForPath(const std::string& path);

}  // namespace tomefuse
