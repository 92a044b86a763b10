#pragma once

#include <map>
#include <string>
#include <vector>

namespace tomefuse {

// The application's settings as it stores them, read without Qt.

// The user's file for the application, then the user's for the organisation, then the
// system-wide ones: where the application's settings store looks, in that order.
std::vector<std::string> applicationSettingsFiles();

// The top-level booleans of INI files; the first file that has a key decides it. Missing or
// unreadable files are passed over.
std::map<std::string, bool> readStoredSettings(const std::vector<std::string>& files);

}  // namespace tomefuse
