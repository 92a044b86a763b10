// tomefuse-combine: the combine of the application, from a terminal, without a display.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/TomefuseAppDelegate.h"
#include "cli/CommandLine.h"
#include "cli/ContentsModule.h"
#include "combine/DocumentOptions.h"
#include "platform/desktop/AtomicFile.h"
#include "platform/terminal/SettingsFile.h"
#include "platform/terminal/TerminalServices.h"

using namespace tomefuse;

namespace {

using cli::Options;
using cli::success;
using cli::unreadableInput;
using cli::usageError;
using cli::usageText;
using cli::writeFailed;

int usage(const std::string& problem) {
    std::cerr << "tomefuse-combine: " << problem << "\n\n" << usageText;
    return usageError;
}

// Why a file that did not open as a PDF cannot be read, in the words a user needs.
std::string unreadableReason(const std::string& path, const std::string* password) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return "no such file";
    }
    if (S_ISDIR(info.st_mode)) {
        return "is a folder";
    }
    // The reading the list refused it by.
    const PDFOpenFailure failure = PDFDocument::summaryOfFile(path, password ? *password : std::string()).failure;
    if (failure == PDFOpenFailure::needsPassword) {
        return password ? "the password given does not open it" : "needs a password (give it with --password N=…)";
    }
    return describeOpenFailure(failure);
}

// Answers the password given on the command line for a file, once: a wrong one is not tried again.
class GivenPasswordPanel final : public PasswordPanel {
  public:
    explicit GivenPasswordPanel(const std::map<std::string, std::string>& passwords) : passwords_(passwords) {}
    void setFile(const std::string& path, const std::string&) override { path_ = path; }
    void setPasswordWasWrong(bool wrong) override { wrong_ = wrong; }
    int runModal() override { return !wrong_ && passwords_.count(path_) ? NSModalResponseOK : 0; }
    std::string password() const override {
        auto found = passwords_.find(path_);
        return found == passwords_.end() ? std::string() : found->second;
    }

  private:
    const std::map<std::string, std::string>& passwords_;
    std::string path_;
    bool wrong_ = false;
};

// Async-signal-safe: the temporary file is already gone when this runs.
void sayInterrupted(int signal) {
    static const char line[] = "\ntomefuse-combine: interrupted; nothing written\n";
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, line, sizeof line - 1);
    ::_exit(128 + signal);
}

// Pause points for tests that change files, or send signals, at a given moment of a run without
// racing it: when the variable names a FIFO, the run waits there until someone writes to it.
// TOMEFUSE_PAUSE_BEFORE_COMBINE: after the listing; TOMEFUSE_PAUSE_AFTER_FIRST_PAGE: once the
// first page is written.
void waitAtPausePoint(const char* variable) {
    const char* fifo = std::getenv(variable);
    if (!fifo || !*fifo) {
        return;
    }
    if (FILE* gate = std::fopen(fifo, "r")) {
        std::fgetc(gate);
        std::fclose(gate);
    }
}

// The progress bar, pausing once after the first page written when a test asks for it.
class PausingIndicator final : public ProgressIndicator {
  public:
    explicit PausingIndicator(ProgressIndicator& inner) : inner_(inner) {}
    void setMaxValue(double value) override { inner_.setMaxValue(value); }
    void setDoubleValue(double value) override { inner_.setDoubleValue(value); }
    double maxValue() const override { return inner_.maxValue(); }
    double doubleValue() const override { return inner_.doubleValue(); }
    void displayIfNeeded() override {
        inner_.displayIfNeeded();
        if (!paused_) {
            paused_ = true;
            waitAtPausePoint("TOMEFUSE_PAUSE_AFTER_FIRST_PAGE");
        }
    }

  private:
    ProgressIndicator& inner_;
    bool paused_ = false;
};

std::string absolute(const std::string& path) {
    std::error_code ignored;
    auto result = std::filesystem::absolute(path, ignored);
    return result.empty() ? path : result.lexically_normal().string();
}

}  // namespace

int main(int argc, char** argv) {
    cli::Parsed parsed = cli::parseCommandLine(argc, argv);
    if (!parsed.options) {
        return parsed.problem.empty() ? parsed.status : usage(parsed.problem);
    }
    Options& options = *parsed.options;

    // Qt is loaded for the contents page only, while the files are read.
    std::unique_ptr<ContentsModule> contentsModule;
    if (options.contentsDepth) {
        std::string error;
        contentsModule = ContentsModule::start(error);
        if (!contentsModule) {
            std::cerr << "tomefuse-combine: cannot make a contents page: " << error << "; nothing written\n";
            return writeFailed;
        }
    }
    ContentsTypesetter* typesetter = contentsModule.get();

    OverlayUserDefaults defaults(readStoredSettings(applicationSettingsFiles()));
    TerminalWorkspace workspace(options.afterwards);
    TerminalSystem system;
    system.verbose = options.verbose;
    TerminalProgress progress(!options.quiet && ::isatty(STDERR_FILENO));
    const std::string output = options.output ? absolute(*options.output) : std::string();

    DesktopServices services{
        defaults,
        NotificationCenter::defaultCenter(),
        workspace,
        system,
        [] { return std::unique_ptr<OpenPanel>(); },
        [output] { return std::make_unique<FixedSavePanel>(output); },
    };
    services.contentsTypesetter = typesetter;
    std::map<std::string, std::string> passwords;  // by absolute path
    for (const auto& [number, password] : options.passwords) {
        passwords[absolute(options.files[number - 1])] = password;
    }
    services.passwordPanel = [&passwords] { return std::make_unique<GivenPasswordPanel>(passwords); };
    TomefuseAppDelegate controller(std::move(services));
    controller.setWindow(&progress);
    controller.setSaveProgressPanel(&progress);
    PausingIndicator bar(progress);
    controller.setSaveProgressBar(&bar);
    controller.applicationDidFinishLaunching();

    // The list, as the application makes it from an open request of all the files at once (one
    // edit, not one per file); a file that does not open is passed over, and named here.
    std::vector<std::string> paths;
    for (const std::string& file : options.files) {
        paths.push_back(absolute(file));
    }
    controller.openFiles(paths);
    std::vector<std::string> unreadable;
    std::map<size_t, int64_t> rowOfFile;
    int64_t next = 0;
    for (size_t i = 0; i < options.files.size(); ++i) {
        const std::string& path = paths[i];
        if (next < controller.numberOfRowsInTableView() &&
            controller.pdfsList()[static_cast<size_t>(next)].path == path) {
            rowOfFile[i + 1] = next++;
        } else {
            auto given = options.passwords.find(i + 1);
            unreadable.push_back(options.files[i] + ": " +
                                 unreadableReason(path, given == options.passwords.end() ? nullptr : &given->second));
        }
    }
    if (!unreadable.empty()) {
        for (const std::string& line : unreadable) {
            std::cerr << "tomefuse-combine: " << (options.skipUnreadable ? "skipping " : "") << line << "\n";
        }
        if (!options.skipUnreadable) {
            std::cerr << "tomefuse-combine: nothing written (--skip-unreadable combines the rest)\n";
            return unreadableInput;
        }
    }
    if (controller.numberOfRowsInTableView() < 2) {
        std::cerr << "tomefuse-combine: fewer than two readable PDF files; nothing written\n";
        return unreadableInput;
    }
    for (const auto& [number, text] : options.titles) {
        if (auto row = rowOfFile.find(number); row != rowOfFile.end()) {
            controller.setObjectValue(text, std::string(PdfEntry::filenameKey), row->second);
        }
    }
    for (const auto& [number, text] : options.pages) {
        if (auto row = rowOfFile.find(number); row != rowOfFile.end()) {
            const PdfEntry& entry = controller.pdfsList()[static_cast<size_t>(row->second)];
            const PageSelection::Parsed chosen = PageSelection::parse(text, entry.pagecount);
            if (!chosen.selection) {
                return usage("--pages " + std::to_string(number) + "=" + text + ": " + chosen.error);
            }
            controller.choosePages(row->second, text);
        }
    }

    if (options.fileBookmarks) {
        defaults.setBool(shouldInsertTOCForFilenamesKey, *options.fileBookmarks);
    }
    if (options.keepBookmarks) {
        defaults.setBool(preserveExistingTOCsKey, *options.keepBookmarks);
    }
    defaults.setBool(shouldOpenPDFInDefaultApplicationKey, options.afterwards != TerminalWorkspace::Mode::reveal);
    // What the application stores for the document itself plays no part here: only the flags.
    defaults.setBool(shouldAddContentsPageKey, options.contentsDepth.has_value());
    defaults.setInteger(contentsBookmarkDepthKey, options.contentsDepth.value_or(0));
    defaults.setBool(shouldStartFilesOnRightHandPagesKey, options.duplex);
    defaults.setString(documentTitleKey, options.properties.title);
    defaults.setString(documentAuthorKey, options.properties.author);
    defaults.setString(documentSubjectKey, options.properties.subject);
    defaults.setString(documentKeywordsKey, options.properties.keywords);
    system.modifierFlags = options.temp ? NSEventModifierFlagOption : 0;
    if (options.temp) {
        // A quick save listed again as a file: wrong usage, as -o onto one of the files is.
        if (std::string clash = cli::outputAmongFiles(controller.quickSavePath(), options.files); !clash.empty()) {
            return usage(clash);
        }
    }

    // A file that opened when listed but cannot be read now ends the combine, unless asked to
    // leave such files out; an interrupted combine leaves no temporary file behind.
    controller.setLeavesOutUnreadableFiles(options.skipUnreadable);
    removeTemporaryFilesOnSignals(sayInterrupted);
    waitAtPausePoint("TOMEFUSE_PAUSE_BEFORE_COMBINE");
    controller.saveToDisk(nullptr);

    // std::exit leaves this function's objects as they are: tearing down what the combine
    // leaves object by object would cost time, for memory the system takes back at once.
    const auto& outcome = controller.lastCombineOutcome();
    if (!outcome || outcome->status == CombineOutcome::Status::failed) {
        if (progress.alerts.empty()) {
            std::cerr << "tomefuse-combine: the combined PDF could not be written\n";
        }
        std::exit(writeFailed);
    }
    if (outcome->status == CombineOutcome::Status::unreadable) {
        std::cerr << "tomefuse-combine: nothing written (--skip-unreadable combines the rest)\n";
        std::exit(unreadableInput);
    }
    if (outcome->status == CombineOutcome::Status::cancelled) {
        std::exit(128 + SIGINT);
    }
    for (const FileProblem& file : outcome->repaired) {
        std::cerr << "tomefuse-combine: " << file.path << " is damaged and was " << file.reason << "\n";
    }
    if (options.temp) {
        std::cout << *system.writtenPath << "\n";
    }
    std::exit(success);
}
