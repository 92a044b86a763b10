#include "platform/qt/QtUserDefaults.h"

#include <QSettings>

namespace tomefuse {

QtUserDefaults::QtUserDefaults() : settings_(std::make_unique<QSettings>("Tomefuse", "Tomefuse")) {}

QtUserDefaults::QtUserDefaults(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

QtUserDefaults::~QtUserDefaults() = default;

void QtUserDefaults::registerDefaults(const std::map<std::string, bool>& defaults) {
    for (const auto& [key, value] : defaults) {
        registered_[key] = value;
    }
}

bool QtUserDefaults::boolForKey(const std::string& key) const {
    const QString name = QString::fromStdString(key);
    if (settings_->contains(name)) {
        return settings_->value(name).toBool();
    }
    auto found = registered_.find(key);
    return found != registered_.end() && found->second;
}

void QtUserDefaults::setBool(const std::string& key, bool value) {
    settings_->setValue(QString::fromStdString(key), value);
    settings_->sync();
}

std::string QtUserDefaults::stringForKey(const std::string& key) const {
    return settings_->value(QString::fromStdString(key)).toString().toStdString();
}

void QtUserDefaults::setString(const std::string& key, const std::string& value) {
    settings_->setValue(QString::fromStdString(key), QString::fromStdString(value));
    settings_->sync();
}

}  // namespace tomefuse
