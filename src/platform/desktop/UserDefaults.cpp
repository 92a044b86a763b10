#include "platform/desktop/UserDefaults.h"

#include <charconv>

namespace tomefuse {

long long UserDefaults::integerForKey(const std::string& key) const {
    const std::string text = stringForKey(key);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

}  // namespace tomefuse
