#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/Panels.h"
#include "platform/desktop/ProgressSheet.h"
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
    bool openFile(const std::string& path) override;
    bool selectFile(const std::string& path, const std::string& rootPath) override;
    bool openURL(const std::string& url) override;

  private:
    Mode mode_;
};

// The save panel of a command line: answers with the path it was given.
class FixedSavePanel : public SavePanel {
  public:
    explicit FixedSavePanel(std::string path) : path_(std::move(path)) {}
    void setTitle(const std::string&) override {}
    void setAllowedFileTypes(const std::vector<std::string>&) override {}
    void setExtensionHidden(bool) override {}
    void setCanSelectHiddenExtension(bool) override {}
    int runModal() override { return NSModalResponseOK; }
    std::string URL() const override { return path_; }

  private:
    std::string path_;
};

// The progress sheet as one line on standard error, redrawn in place; alerts as messages there.
class TerminalProgress : public Window, public Panel, public ProgressIndicator {
  public:
    explicit TerminalProgress(bool showProgress) : showProgress_(showProgress) {}

    void beginSheet(Panel* sheet, SheetDidEnd didEnd) override;
    void endSheet(Panel* sheet) override;
    void showAlert(const std::string& message, const std::string& informativeText) override;
    // Says what it would ask, and goes on: a command line has asked its questions up front.
    bool askToProceed(const std::string& message, const std::string& informativeText, const std::string&) override {
        showAlert(message, informativeText);
        return true;
    }

    void close() override { visible_ = false; }
    bool isVisible() const override { return visible_; }
    void setMessageText(const std::string& text) override;

    void setMaxValue(double value) override { max_ = value; }
    void setDoubleValue(double value) override { value_ = value; }
    double maxValue() const override { return max_; }
    double doubleValue() const override { return value_; }
    void displayIfNeeded() override;

    std::vector<std::string> alerts;

  private:
    void show(const std::string& line);
    bool showProgress_;
    bool shown_ = false;  // a progress line stands on the terminal
    bool visible_ = false;
    double max_ = 0;
    double value_ = 0;
    int lastShown_ = -1;
    SheetDidEnd didEnd_;
};

}  // namespace tomefuse
