#pragma once

#include <QString>
#include <map>
#include <memory>

#include "platform/desktop/UserDefaults.h"

class QSettings;

namespace tomefuse {

// Set values live in QSettings; registered defaults live only in memory, so a default never
// turns into a value the user seems to have chosen.
class QtUserDefaults final : public UserDefaults {
  public:
    // The application's own settings ("Tomefuse"/"Tomefuse").
    QtUserDefaults();
    // The settings in an INI file of its own.
    explicit QtUserDefaults(const QString& iniFile);
    ~QtUserDefaults() override;

    void registerDefaults(const std::map<std::string, bool>& defaults) override;
    bool boolForKey(const std::string& key) const override;
    void setBool(const std::string& key, bool value) override;
    std::string stringForKey(const std::string& key) const override;
    void setString(const std::string& key, const std::string& value) override;

    // The store itself, for what the window keeps beside the settings (its size, its columns).
    QSettings& settings() { return *settings_; }

  private:
    std::unique_ptr<QSettings> settings_;
    std::map<std::string, bool> registered_;
};

}  // namespace tomefuse
