#include "platform/terminal/SettingsUserDefaults.h"

#include <QSettings>

namespace tomefuse {

SettingsUserDefaults::SettingsUserDefaults() : settings_(std::make_unique<QSettings>("Tomefuse", "Tomefuse")) {}

SettingsUserDefaults::~SettingsUserDefaults() = default;

void SettingsUserDefaults::registerDefaults(const std::map<std::string, bool>& defaults) {
    for (const auto& [key, value] : defaults) {
        registered_[key] = value;
    }
}

bool SettingsUserDefaults::boolForKey(const std::string& key) const {
    const QString name = QString::fromStdString(key);
    if (settings_->contains(name)) {
        return settings_->value(name).toBool();
    }
    auto it = registered_.find(key);
    return it != registered_.end() && it->second;
}

void SettingsUserDefaults::setBool(const std::string& key, bool value) {
    settings_->setValue(QString::fromStdString(key), value);
}

}  // namespace tomefuse
