#pragma once

#include <map>
#include <string>

namespace tomefuse {

// Settings: a value set by the user wins over the registered default; set values persist.
class UserDefaults {
  public:
    virtual ~UserDefaults() = default;
    virtual void registerDefaults(const std::map<std::string, bool>& defaults) = 0;
    // NO for a key with neither a value nor a registered default.
    virtual bool boolForKey(const std::string& key) const = 0;
    virtual void setBool(const std::string& key, bool value) = 0;

    // Text settings, apart from the booleans; "" for a key without a value.
    virtual std::string stringForKey(const std::string& key) const = 0;
    virtual void setString(const std::string& key, const std::string& value) = 0;

    // Whole numbers, kept as text; 0 for a key with neither or a text that is not a number.
    long long integerForKey(const std::string& key) const;
    void setInteger(const std::string& key, long long value) { setString(key, std::to_string(value)); }
};

}  // namespace tomefuse
