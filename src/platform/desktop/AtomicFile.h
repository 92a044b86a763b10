#pragma once

#include <string>

#include "platform/desktop/System.h"

namespace tomefuse {

// The atomic write behind System::writeToFileAtomically, shared by every implementation.
WriteResult writeFileAtomically(const std::string& data, const std::string& path);

}  // namespace tomefuse
