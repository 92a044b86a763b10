#include "platform/terminal/SettingsFile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>

namespace tomefuse {

namespace {

std::string trimmed(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

// How the settings store turns a stored text into a boolean: empty, "0" and "false" (in any case)
// are false, anything else true.
bool truth(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    std::transform(value.begin(), value.end(), value.begin(), [](unsigned char c) { return std::tolower(c); });
    return !(value.empty() || value == "0" || value == "false");
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::map<std::string, bool> readStoredSettings(const std::vector<std::string>& files) {
    std::map<std::string, bool> stored;
    for (const std::string& file : files) {
        std::ifstream in(file);
        std::string section;
        std::string line;
        while (std::getline(in, line)) {
            line = trimmed(line);
            if (line.empty() || line[0] == ';' || line[0] == '#') {
                continue;
            }
            if (line.front() == '[' && line.back() == ']') {
                section = line.substr(1, line.size() - 2);
                continue;
            }
            // Top-level keys are kept under [General]; other sections are groups of their own.
            const auto equals = line.find('=');
            if (section != "General" || equals == std::string::npos) {
                continue;
            }
            stored.emplace(trimmed(line.substr(0, equals)), truth(trimmed(line.substr(equals + 1))));
        }
    }
    return stored;
}

std::vector<std::string> applicationSettingsFiles() {
    std::string user = environment("XDG_CONFIG_HOME");
    if (user.empty() || user.front() != '/') {
        user = environment("HOME") + "/.config";
    }
    return {user + "/Tomefuse/Tomefuse.conf", user + "/Tomefuse.conf", "/etc/xdg/Tomefuse/Tomefuse.conf",
            "/etc/xdg/Tomefuse.conf"};
}

}  // namespace tomefuse
