#pragma once

// Fakes of the desktop services. Each records what it was asked, and the ones whose order
// matters also write to a shared journal, so a test can check the order across services.

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/TomefuseAppDelegate.h"
#include "combine/DocumentOptions.h"
#include "list/JobFile.h"
#include "platform/desktop/AtomicFile.h"
#include "platform/desktop/DesktopServices.h"
#include "platform/desktop/Dragging.h"
#include "platform/desktop/NotificationCenter.h"
#include "platform/desktop/Panels.h"
#include "platform/desktop/ProgressSheet.h"
#include "platform/desktop/System.h"
#include "platform/desktop/TableView.h"
#include "platform/desktop/TaskRunner.h"
#include "platform/desktop/UserDefaults.h"
#include "platform/desktop/Workspace.h"

namespace tomefuse::test {

using Journal = std::vector<std::string>;

class FakeUserDefaults : public UserDefaults {
  public:
    void registerDefaults(const std::map<std::string, bool>& defaults) override {
        registerCalls.push_back(defaults);
        if (journal) {
            journal->push_back("registerDefaults");
        }
        for (const auto& [key, value] : defaults) {
            defaults_[key] = value;
        }
    }
    bool boolForKey(const std::string& key) const override {
        if (auto it = values_.find(key); it != values_.end()) {
            return it->second;
        }
        auto it = defaults_.find(key);
        return it != defaults_.end() && it->second;
    }
    void setBool(const std::string& key, bool value) override { values_[key] = value; }
    std::string stringForKey(const std::string& key) const override {
        auto it = strings_.find(key);
        return it != strings_.end() ? it->second : std::string();
    }
    void setString(const std::string& key, const std::string& value) override { strings_[key] = value; }

    std::vector<std::map<std::string, bool>> registerCalls;
    Journal* journal = nullptr;

  private:
    std::map<std::string, bool> defaults_;
    std::map<std::string, bool> values_;
    std::map<std::string, std::string> strings_;
};

class FakeWorkspace : public Workspace {
  public:
    explicit FakeWorkspace(Journal& journal) : journal_(journal) {}
    // Answers at once, as the desktop's fastest would.
    void openFile(const std::string& path, Done done) override {
        opened.push_back(path);
        journal_.push_back("open " + path);
        answer(done);
    }
    void selectFile(const std::string& path, const std::string& rootPath, Done done) override {
        selected.emplace_back(path, rootPath);
        journal_.push_back("reveal " + path);
        answer(done);
    }
    void openURL(const std::string& url, Done done) override {
        urls.push_back(url);
        answer(done);
    }

    bool hasApplications = true;  // false: a desktop with nothing to open files or show them

    std::vector<std::string> opened;
    std::vector<std::pair<std::string, std::string>> selected;
    std::vector<std::string> urls;

  private:
    void answer(const Done& done) const {
        if (done) {
            done(hasApplications);
        }
    }

    Journal& journal_;
};

class FakeSystem : public System {
  public:
    FakeSystem(Journal& journal, std::string temporaryDirectory)
        : journal_(journal), temporaryDirectory_(std::move(temporaryDirectory)) {}
    uint64_t currentEventModifierFlags() const override { return modifierFlags; }
    void beep() override {
        ++beeps;
        journal_.push_back("beep");
    }
    void log(const std::string& line) override {
        logLines.push_back(line);
        journal_.push_back("log " + line);
    }
    std::string temporaryDirectory() const override { return temporaryDirectory_; }
    std::unique_ptr<AtomicFile> createAtomicFile(const std::string& path, std::string& error) override {
        writes.push_back(path);
        journal_.push_back("write " + path);
        return AtomicFile::create(path, error);
    }

    uint64_t modifierFlags = 0;
    int beeps = 0;
    std::vector<std::string> logLines;
    std::vector<std::string> writes;

  private:
    Journal& journal_;
    std::string temporaryDirectory_;
};

// What the next panel answers, and how the panels were set up.
struct OpenPanelScript {
    int result = NSModalResponseOK;
    std::vector<std::string> urls;
    int runs = 0;
    std::optional<bool> canChooseDirectories;
    std::optional<bool> allowsMultipleSelection;
    std::vector<std::string> allowedFileTypes;
};

class FakeOpenPanel : public OpenPanel {
  public:
    explicit FakeOpenPanel(OpenPanelScript& script) : script_(script) {}
    void setCanChooseDirectories(bool flag) override { script_.canChooseDirectories = flag; }
    void setAllowsMultipleSelection(bool flag) override { script_.allowsMultipleSelection = flag; }
    void setAllowedFileTypes(const std::vector<std::string>& types) override { script_.allowedFileTypes = types; }
    int runModal() override {
        ++script_.runs;
        return script_.result;
    }
    std::vector<std::string> URLs() const override { return script_.urls; }

  private:
    OpenPanelScript& script_;
};

struct SavePanelScript {
    int result = NSModalResponseOK;
    std::string url;
    int runs = 0;
    std::vector<std::string> setup;  // every setter call, in order
};

class FakeSavePanel : public SavePanel {
  public:
    explicit FakeSavePanel(SavePanelScript& script) : script_(script) {}
    void setTitle(const std::string& title) override { script_.setup.push_back("title " + title); }
    void setAllowedFileTypes(const std::vector<std::string>& types) override {
        std::string text = "types";
        for (const auto& type : types) {
            text += " " + type;
        }
        script_.setup.push_back(text);
    }
    void setExtensionHidden(bool flag) override { script_.setup.push_back(flag ? "hidden YES" : "hidden NO"); }
    void setCanSelectHiddenExtension(bool flag) override {
        script_.setup.push_back(flag ? "canSelectHidden YES" : "canSelectHidden NO");
    }
    void setDirectoryURL(const std::string& path) override { script_.setup.push_back("directory " + path); }
    void setNameFieldStringValue(const std::string& name) override { script_.setup.push_back("name " + name); }
    int runModal() override {
        ++script_.runs;
        return script_.result;
    }
    std::string URL() const override { return script_.url; }

  private:
    SavePanelScript& script_;
};

class FakeTableView : public TableView {
  public:
    // Rows the table would show, asked on reload to drop a selection that fell out of range.
    std::function<int64_t()> rowCount;

    void reloadData() override {
        ++reloads;
        if (rowCount) {
            std::erase_if(selection, [this](uint64_t row) { return static_cast<int64_t>(row) >= rowCount(); });
        }
    }
    int64_t selectedRow() const override { return selection.empty() ? -1 : static_cast<int64_t>(*selection.begin()); }
    IndexSet selectedRowIndexes() const override { return selection; }
    void selectRowIndexes(const IndexSet& indexes, bool byExtendingSelection) override {
        selectCalls.emplace_back(indexes, byExtendingSelection);
        if (!byExtendingSelection) {
            selection.clear();
        }
        selection.insert(indexes.begin(), indexes.end());
    }
    void registerForDraggedTypes(const std::vector<std::string>& types) override {
        registeredTypes = types;
        if (journal) {
            journal->push_back("registerForDraggedTypes");
        }
    }
    void setDoubleAction(std::function<void()> action) override {
        doubleAction = std::move(action);
        if (journal) {
            journal->push_back("setDoubleAction");
        }
    }
    void scrollRowToVisible(int64_t row) override { scrolledTo = row; }
    void editColumn(const std::string&, int64_t) override {}
    void setSortIndicator(const std::optional<SortIndicator>& indicator) override { sortIndicator = indicator; }

    IndexSet selection;
    std::optional<SortIndicator> sortIndicator;
    int reloads = 0;
    std::vector<std::pair<IndexSet, bool>> selectCalls;
    std::vector<std::string> registeredTypes;
    std::function<void()> doubleAction;
    int64_t scrolledTo = -1;
    Journal* journal = nullptr;
};

class FakePanel : public Panel {
  public:
    explicit FakePanel(Journal& journal) : journal_(journal) {}
    void close() override {
        ++closes;
        visible = false;
        journal_.push_back("close panel");
    }
    bool isVisible() const override { return visible; }

    bool visible = false;
    int closes = 0;

  private:
    Journal& journal_;
};

class FakeWindow : public Window {
  public:
    explicit FakeWindow(Journal& journal) : journal_(journal) {}
    void beginSheet(Panel* sheet, SheetDidEnd didEnd) override {
        journal_.push_back("begin sheet");
        sheets_[sheet] = std::move(didEnd);
        if (auto* fake = dynamic_cast<FakePanel*>(sheet)) {
            fake->visible = true;
        }
    }
    void endSheet(Panel* sheet) override {
        journal_.push_back("end sheet");
        auto it = sheets_.find(sheet);
        if (it == sheets_.end()) {
            return;
        }
        SheetDidEnd didEnd = std::move(it->second);
        sheets_.erase(it);
        didEnd(sheet, 0);
    }
    void showAlert(const std::string& message, const std::string& informativeText) override {
        alerts.emplace_back(message, informativeText);
        journal_.push_back("alert " + message);
    }
    void showStatusMessage(const std::string& message) override { statusMessages.push_back(message); }
    void showSaved(const std::string& message, const std::function<void()>& open,
                   const std::function<void()>& reveal) override {
        saved = {message, open, reveal};
        journal_.push_back("saved " + message);
    }
    bool askToProceed(const std::string& message, const std::string& informativeText, const std::string&) override {
        questions.emplace_back(message, informativeText);
        return proceed;
    }

    std::vector<std::pair<std::string, std::string>> alerts;
    std::vector<std::pair<std::string, std::string>> questions;
    bool proceed = true;
    std::vector<std::string> statusMessages;
    struct Saved {
        std::string message;
        std::function<void()> open, reveal;
    } saved;

  private:
    Journal& journal_;
    std::map<Panel*, SheetDidEnd> sheets_;
};

class FakeProgressIndicator : public ProgressIndicator {
  public:
    void setMaxValue(double value) override {
        max = value;
        maxValues.push_back(value);
    }
    void setDoubleValue(double value) override {
        current = value;
        values.push_back(value);
    }
    double maxValue() const override { return max; }
    double doubleValue() const override { return current; }
    void displayIfNeeded() override { ++displays; }

    double max = 0;
    double current = 0;
    std::vector<double> maxValues;
    std::vector<double> values;
    int displays = 0;
};

// An item on a pasteboard: a file URL, or not, whose contents the type database takes for a PDF,
// or not; or a folder.
struct PasteboardItem {
    std::string path;
    bool isFileURL = true;
    bool conformsToPDF = true;
    bool isFolder = false;
};

class FakePasteboard : public Pasteboard {
  public:
    void declareTypes(const std::vector<std::string>& types) override { declared = types; }
    bool setPropertyList(const std::vector<Record>& list, const std::string& type) override {
        data[type] = list;
        return true;
    }
    std::vector<std::string> readFileURLs(const URLReadingOptions& options) const override {
        ++reads;
        const auto& types = options.contentsConformToTypes;
        auto asked = [&types](const char* type) { return std::find(types.begin(), types.end(), type) != types.end(); };
        std::vector<std::string> paths;
        for (const auto& item : items) {
            if (options.fileURLsOnly && !item.isFileURL) {
                continue;
            }
            const bool conforms =
                item.isFolder ? asked(kUTTypeFolder) || asked(kUTTypeItem)
                              : types.empty() || asked(kUTTypeItem) || (asked(kUTTypePDF) && item.conformsToPDF);
            if (conforms) {
                paths.push_back(item.path);
            }
        }
        return paths;
    }

    std::vector<PasteboardItem> items;
    std::vector<std::string> declared;
    std::map<std::string, std::vector<Record>> data;
    mutable int reads = 0;
};

class FakeDraggingInfo : public DraggingInfo {
  public:
    const void* draggingSource() const override { return source; }
    Pasteboard& draggingPasteboard() override { return pasteboard; }

    const void* source = nullptr;
    FakePasteboard pasteboard;
};

// Runs tasks in place, as the command line does, and lets a test act after each delivery (to
// cancel a save at a chosen point).
class FakeTaskRunner : public TaskRunner {
  public:
    void run(std::function<void()> work, std::function<void()> done) override {
        if (hold) {
            held.emplace_back(std::move(work), std::move(done));
            return;
        }
        work();
        done();
    }
    // With hold, a task waits for finish(), as one on a thread of its own would.
    bool hold = false;
    std::vector<std::pair<std::function<void()>, std::function<void()>>> held;
    void finish() {
        auto [work, done] = std::move(held.front());
        held.erase(held.begin());
        work();
        done();
    }
    void deliver(std::function<void()> f) override {
        f();
        ++deliveries;
        if (afterDelivery) {
            afterDelivery(deliveries);
        }
    }

    int deliveries = 0;
    std::function<void(int)> afterDelivery;
};

// A controller wired to a full set of fakes, its outlets set as the main interface would.
struct Harness {
    explicit Harness(std::string temporaryDirectory = "/tmp", bool launch = true)
        : workspace(journal),
          system(journal, std::move(temporaryDirectory)),
          window(journal),
          panel(journal),
          controller(DesktopServices{defaults, NotificationCenter::defaultCenter(), workspace, system,
                                     [this] { return std::make_unique<FakeOpenPanel>(openScript); },
                                     [this] { return std::make_unique<FakeSavePanel>(saveScript); }, &runner}) {
        table.rowCount = [this] { return controller.numberOfRowsInTableView(); };
        table.journal = &journal;
        defaults.journal = &journal;
        controller.setWindow(&window);
        controller.setTableView(&table);
        controller.setSaveProgressPanel(&panel);
        controller.setSaveProgressBar(&bar);
        if (launch) {
            controller.applicationDidFinishLaunching();
        }
    }

    std::vector<std::string> filenames() const {
        std::vector<std::string> names;
        for (const auto& entry : controller.pdfsList()) {
            names.push_back(entry.filename);
        }
        return names;
    }

    // Appends through the desktop's open request; the file must open.
    void add(const std::string& path) {
        if (!controller.openFile(path)) {
            throw std::runtime_error("fixture did not open: " + path);
        }
    }

    Journal journal;
    FakeUserDefaults defaults;
    FakeWorkspace workspace;
    FakeSystem system;
    OpenPanelScript openScript;
    SavePanelScript saveScript;
    FakeTableView table;
    FakeWindow window;
    FakePanel panel;
    FakeProgressIndicator bar;
    FakeTaskRunner runner;
    TomefuseAppDelegate controller;
};

}  // namespace tomefuse::test
