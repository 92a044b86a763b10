#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/desktop/UserDefaults.h"

class QSettings;

namespace tomefuse {

// The application's own settings store (QSettings, organisation and application "Tomefuse"),
// readable without a display.
class SettingsUserDefaults : public UserDefaults {
  public:
    SettingsUserDefaults();
    ~SettingsUserDefaults() override;
    void registerDefaults(const std::map<std::string, bool>& defaults) override;
    bool boolForKey(const std::string& key) const override;
    void setBool(const std::string& key, bool value) override;

  private:
    std::unique_ptr<QSettings> settings_;
    std::map<std::string, bool> registered_;
};

}  // namespace tomefuse
