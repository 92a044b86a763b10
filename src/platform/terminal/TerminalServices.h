#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/System.h"
#include "platform/desktop/UserDefaults.h"
#include "platform/desktop/Workspace.h"

namespace tomefuse {

// Settings for one run: they start as the stored values given, values set later win, and nothing
// is written back.
class OverlayUserDefaults : public UserDefaults {
  public:
    explicit OverlayUserDefaults(std::map<std::string, bool> stored = {}) : values_(std::move(stored)) {}
    void registerDefaults(const std::map<std::string, bool>& defaults) override;
    bool boolForKey(const std::string& key) const override;
    void setBool(const std::string& key, bool value) override { values_[key] = value; }
    std::string stringForKey(const std::string& key) const override;
    void setString(const std::string& key, const std::string& value) override { strings_[key] = value; }

  private:
    std::map<std::string, bool> registered_;
    std::map<std::string, bool> values_;
    std::map<std::string, std::string> strings_;
};

class TerminalSystem : public System {
  public:
    uint64_t currentEventModifierFlags() const override { return modifierFlags; }
    void beep() override { ++beeps; }
    void log(const std::string& line) override;
    std::string temporaryDirectory() const override;
    std::unique_ptr<AtomicFile> createAtomicFile(const std::string& path, std::string& error) override;

    uint64_t modifierFlags = 0;
    bool verbose = false;  // log lines on standard error
    int beeps = 0;
    // The last write asked for.
    std::optional<std::string> writtenPath;
};

// Opens or reveals only when asked to; otherwise answers yes and does nothing.
class TerminalWorkspace : public Workspace {
  public:
    enum class Mode { none, open, reveal };
    explicit TerminalWorkspace(Mode mode = Mode::none) : mode_(mode) {}
    void openFile(const std::string& path, Done done) override;
    void selectFile(const std::string& path, const std::string& rootPath, Done done) override;
    void openURL(const std::string& url, Done done) override;

  private:
    Mode mode_;
};

}  // namespace tomefuse
