#pragma once

#include <optional>
#include <string>

namespace tomefuse {

// A folder inside parent that only this user can reach: made 0700 when missing; when it exists,
// it must be a folder (not a link) owned by this user with no access for others. None when that
// cannot be had, which in a folder every user can write means another user may have taken the
// name first.
std::optional<std::string> privateFolder(const std::string& parent, const std::string& name);

// Whether every user may create files in the folder (as in /tmp): names there can be taken by
// anyone.
bool isSharedFolder(const std::string& path);

// The user's own temporary folder: base itself, or, when every user can write there, a private
// folder in it (base when that cannot be had).
std::string userTemporaryDirectory(const std::string& base);

}  // namespace tomefuse
