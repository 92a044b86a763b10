#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/desktop/UserDefaults.h"

namespace tomefuse {

// The application's settings as it stores them, read without Qt: the top-level booleans of its
// INI files. The command line never stores settings, so a value set here lasts for this run only.
class SettingsFileDefaults : public UserDefaults {
  public:
    // The application's own files, in the order they are consulted.
    SettingsFileDefaults() : SettingsFileDefaults(applicationFiles()) {}
    // The first file that has a key decides it; missing or unreadable files are passed over.
    explicit SettingsFileDefaults(const std::vector<std::string>& files);

    // The user's file for the application, then the user's for the organisation, then the
    // system-wide ones: where the application's settings store looks.
    static std::vector<std::string> applicationFiles();

    void registerDefaults(const std::map<std::string, bool>& defaults) override;
    bool boolForKey(const std::string& key) const override;
    void setBool(const std::string& key, bool value) override { stored_[key] = value; }

  private:
    std::map<std::string, bool> stored_;
    std::map<std::string, bool> registered_;
};

}  // namespace tomefuse
