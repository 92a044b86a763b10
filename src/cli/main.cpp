// tomefuse-combine: the combine of the application, from a terminal, without a display.
#include <getopt.h>
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
#include "cli/ContentsModule.h"
#include "combine/DocumentOptions.h"
#include "platform/desktop/AtomicFile.h"
#include "platform/terminal/SettingsFile.h"
#include "platform/terminal/TerminalServices.h"

using namespace tomefuse;

namespace {

enum Status { success = 0, usageError = 2, unreadableInput = 3, writeFailed = 4 };

const char* usageText =
    "Usage: tomefuse-combine [OPTIONS] FILE FILE...\n"
    "Combine PDF files, in the order given, into one PDF with a merged outline.\n"
    "\n"
    "Output (one is required):\n"
    "  -o, --output PATH        write the combined PDF to PATH (replaced atomically)\n"
    "      --temp               quick save into the temporary folder as\n"
    "                           \"<first file's name> -TOMEFUSE.pdf\"; prints the path\n"
    "\n"
    "Outline (by default as set in the Tomefuse application):\n"
    "      --file-bookmarks     add a bookmark for each file, named after it\n"
    "      --no-file-bookmarks  do not\n"
    "      --keep-bookmarks     keep each file's own bookmarks\n"
    "      --drop-bookmarks     drop them\n"
    "      --title N=TEXT       name the N-th file TEXT (the title of its bookmark)\n"
    "\n"
    "The combined document (none of these unless given):\n"
    "      --contents[=DEPTH]   put a contents page first: each file's name and the page\n"
    "                           it starts on, and its bookmarks DEPTH levels deep below\n"
    "                           it (1, 2 or all; none when DEPTH is left out)\n"
    "      --duplex             start each file on a right-hand page: a blank page after\n"
    "                           each file with an odd number of pages, but the last\n"
    "      --title-meta TEXT    the document's title, which viewers show\n"
    "      --author TEXT        its author\n"
    "      --subject TEXT       its subject\n"
    "      --keywords TEXT      its keywords, separated by commas\n"
    "\n"
    "Afterwards (by default neither):\n"
    "      --open               open the combined PDF in the default viewer\n"
    "      --reveal             show it in the file manager\n"
    "\n"
    "      --skip-unreadable    combine the readable files, naming the others\n"
    "  -q, --quiet              no progress line\n"
    "  -v, --verbose            log lines on standard error\n"
    "  -h, --help               this help\n"
    "  -V, --version            the version\n"
    "\n"
    "Exit status: 0 written; 2 wrong usage (fewer than two files, an unknown option);\n"
    "3 a file cannot be read as a PDF (nothing written); 4 the combined PDF could not\n"
    "be written (an existing file at the output path is left untouched).\n";

struct Options {
    std::optional<std::string> output;
    bool temp = false;
    std::optional<bool> fileBookmarks;
    std::optional<bool> keepBookmarks;
    TerminalWorkspace::Mode afterwards = TerminalWorkspace::Mode::none;
    std::map<size_t, std::string> titles;  // by 1-based file number
    std::optional<int> contentsDepth;      // a contents page, listing bookmarks this deep
    bool duplex = false;
    PDFDocumentAttributes properties;
    bool skipUnreadable = false;
    bool quiet = false;
    bool verbose = false;
    std::vector<std::string> files;
};

int usage(const std::string& problem) {
    std::cerr << "tomefuse-combine: " << problem << "\n\n" << usageText;
    return usageError;
}

// Why a file that did not open as a PDF cannot be read, in the words a user needs.
std::string unreadableReason(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return "no such file";
    }
    if (S_ISDIR(info.st_mode)) {
        return "is a folder";
    }
    if (::access(path.c_str(), R_OK) != 0) {
        return "permission denied";
    }
    return "not a readable PDF (not a PDF, damaged beyond repair, or protected by a password)";
}

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
    enum LongOnly {
        temp = 256,
        fileBookmarks,
        noFileBookmarks,
        keepBookmarks,
        dropBookmarks,
        title,
        open,
        reveal,
        skip,
        contents,
        duplex,
        titleMeta,
        author,
        subject,
        keywords,
    };
    const option longOptions[] = {
        {"output", required_argument, nullptr, 'o'},
        {"temp", no_argument, nullptr, temp},
        {"file-bookmarks", no_argument, nullptr, fileBookmarks},
        {"no-file-bookmarks", no_argument, nullptr, noFileBookmarks},
        {"keep-bookmarks", no_argument, nullptr, keepBookmarks},
        {"drop-bookmarks", no_argument, nullptr, dropBookmarks},
        {"title", required_argument, nullptr, title},
        {"open", no_argument, nullptr, open},
        {"reveal", no_argument, nullptr, reveal},
        {"skip-unreadable", no_argument, nullptr, skip},
        {"contents", optional_argument, nullptr, contents},
        {"duplex", no_argument, nullptr, duplex},
        {"title-meta", required_argument, nullptr, titleMeta},
        {"author", required_argument, nullptr, author},
        {"subject", required_argument, nullptr, subject},
        {"keywords", required_argument, nullptr, keywords},
        {"quiet", no_argument, nullptr, 'q'},
        {"verbose", no_argument, nullptr, 'v'},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {nullptr, 0, nullptr, 0},
    };

    Options options;
    opterr = 0;
    int c = 0;
    int before = optind;
    while ((c = getopt_long(argc, argv, "+o:qvhV", longOptions, nullptr)) != -1) {
        // getopt stays on an argument while letters of it remain: the option came from the
        // argument it stayed on, or else from the one it just passed.
        const int at = optind == before ? optind : optind - 1;
        before = optind;
        switch (c) {
            case 'o': options.output = optarg; break;
            case temp: options.temp = true; break;
            case fileBookmarks: options.fileBookmarks = true; break;
            case noFileBookmarks: options.fileBookmarks = false; break;
            case keepBookmarks: options.keepBookmarks = true; break;
            case dropBookmarks: options.keepBookmarks = false; break;
            case open: options.afterwards = TerminalWorkspace::Mode::open; break;
            case reveal: options.afterwards = TerminalWorkspace::Mode::reveal; break;
            case skip: options.skipUnreadable = true; break;
            case contents: {
                const std::string depth = optarg ? optarg : "0";
                if (depth == "all") {
                    options.contentsDepth = -1;
                } else if (depth.empty() || depth.size() > 3 || depth.find_first_not_of("0123456789") != std::string::npos) {
                    return usage("--contents takes the depth of the bookmarks listed: 1, 2 or all: " + depth);
                } else {
                    options.contentsDepth = std::stoi(depth);
                }
                break;
            }
            case duplex: options.duplex = true; break;
            case titleMeta: options.properties.title = optarg; break;
            case author: options.properties.author = optarg; break;
            case subject: options.properties.subject = optarg; break;
            case keywords: options.properties.keywords = optarg; break;
            case 'q': options.quiet = true; break;
            case 'v': options.verbose = true; break;
            case 'h': std::cout << usageText; return success;
            case 'V': std::cout << "tomefuse-combine " TOMEFUSE_VERSION "\n"; return success;
            case title: {
                const std::string text = optarg;
                const auto equals = text.find('=');
                size_t number = 0;
                try {
                    number = equals == std::string::npos ? 0 : std::stoul(text.substr(0, equals));
                } catch (const std::exception&) {
                }
                if (number == 0) {
                    return usage("--title wants N=TEXT, N counting the files from 1: " + text);
                }
                options.titles[number] = text.substr(equals + 1);
                break;
            }
            default: {
                // A file name starting with "-" reads as options.
                const std::string arg = argv[std::min(at, argc - 1)];
                std::string problem = "unknown or incomplete option: " + arg;
                if (optopt && arg.size() > 2 && arg[1] != '-') {
                    problem += " (put -- before file names that start with -)";
                }
                return usage(problem);
            }
        }
    }
    for (int i = optind; i < argc; ++i) {
        options.files.push_back(argv[i]);
    }
    if (options.files.size() < 2) {
        return usage("give at least two PDF files to combine");
    }
    if (options.output.has_value() == options.temp) {
        return usage("give either -o PATH or --temp");
    }
    for (const auto& [number, text] : options.titles) {
        if (number > options.files.size()) {
            return usage("--title " + std::to_string(number) + "=…: there are only " +
                         std::to_string(options.files.size()) + " files");
        }
    }

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
        defaults, NotificationCenter::defaultCenter(), workspace, system,
        [] { return std::unique_ptr<OpenPanel>(); },
        [output] { return std::make_unique<FixedSavePanel>(output); },
    };
    services.contentsTypesetter = typesetter;
    TomefuseAppDelegate controller(std::move(services));
    controller.setWindow(&progress);
    controller.setSaveProgressPanel(&progress);
    PausingIndicator bar(progress);
    controller.setSaveProgressBar(&bar);
    controller.applicationDidFinishLaunching();

    // The list, as the application would make it; a file that does not open is named.
    std::vector<std::string> unreadable;
    std::map<size_t, int64_t> rowOfFile;
    for (size_t i = 0; i < options.files.size(); ++i) {
        const std::string path = absolute(options.files[i]);
        if (controller.openFile(path)) {
            rowOfFile[i + 1] = controller.numberOfRowsInTableView() - 1;
        } else {
            unreadable.push_back(options.files[i] + ": " + unreadableReason(path));
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
