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
};

}  // namespace tomefuse
