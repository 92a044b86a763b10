// tomefuse-combine: the combine of the application, from a terminal, without a display. The
// arguments make one request (the files, their names, pages and passwords, the settings), the
// combine job writes it, and its outcome becomes the exit status and what is said.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/ContentsModule.h"
#include "cli/JobOptions.h"
#include "cli/ProgressLine.h"
#include "cli/Request.h"
#include "combine/SaveSession.h"
#include "platform/desktop/AtomicFile.h"
#include "platform/terminal/TerminalServices.h"

using namespace tomefuse;

namespace {

using cli::success;
using cli::unreadableInput;
using cli::usageError;
using cli::writeFailed;

// One line: the whole help would push the problem off the screen.
int usage(const std::string& problem) {
    std::cerr << "tomefuse-combine: " << problem << "; see --help\n";
    return usageError;
}

void say(const std::string& line) { std::cerr << "tomefuse-combine: " << line << "\n"; }

// Async-signal-safe: the temporary file is already gone when this runs.
void sayInterrupted(int signal) {
    static const char line[] = "\ntomefuse-combine: interrupted; nothing written\n";
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, line, sizeof line - 1);
    ::_exit(128 + signal);
}

// The combined PDF was not saved: the reason, once, as the application says it.
int notSaved(TerminalSystem& system, const std::string& path, std::string reason, int status) {
    if (reason.empty()) {
        reason = "unknown error";
    }
    system.log("Could not save the combined PDF to " + path + ": " + reason);
    say("The combined PDF could not be saved. " + path + ": " + reason);
    return status;
}

// Says which files cannot be read; the status to end with when the combine cannot go on.
std::optional<int> refuseListing(const cli::Listing& listing, const cli::Options& options) {
    for (const std::string& line : listing.unreadable) {
        say((options.skipUnreadable ? "skipping " : "") + line);
    }
    if (!listing.unreadable.empty() && !options.skipUnreadable) {
        say("nothing written (--skip-unreadable combines the rest)");
        return unreadableInput;
    }
    size_t readable = 0;  // an entry of two files interleaved counts both
    for (const CombineFile& file : listing.files) {
        readable += file.interleave ? 2 : 1;
    }
    if (readable < 2) {
        say("fewer than two readable PDF files; nothing written");
        return unreadableInput;
    }
    if (!listing.problem.empty()) {
        return usage(listing.problem);
    }
    return std::nullopt;
}

// The quick save's path, in the temporary folder after the first file; the status to end with
// when it may not be written.
std::optional<int> quickSaveTarget(TerminalSystem& system, const cli::Options& options, const cli::Listing& listing,
                                   std::string& path) {
    path = quickSavePath(system.temporaryDirectory(), listing.files.front().filename);
    // A quick save listed again as a file: wrong usage, as -o onto one of the files is.
    if (std::string clash = cli::outputAmongFiles(path, options.files); !clash.empty()) {
        return usage(clash);
    }
    system.log("write to filepath [" + path + "]");
    if (std::string refusal = refusalToReplace(path, listing.files); !refusal.empty()) {
        return notSaved(system, path, refusal, writeFailed);
    }
    return std::nullopt;
}

// What is said of a combine that wrote its file: files repaired and files left out, then the
// file opened or shown, and the quick save's path.
void reportWritten(TerminalSystem& system, const cli::Options& options, const CombineOutcome& outcome,
                   const std::string& path) {
    for (const std::string& line : outcome.logLines(path)) {
        system.log(line);
    }
    if (!outcome.leftOut.empty()) {
        say("Some pages are missing from the combined PDF. These files could not be read:" + outcome.leftOutList());
    }
    TerminalWorkspace workspace(options.afterwards);
    if (options.afterwards == TerminalWorkspace::Mode::reveal) {
        workspace.selectFile(path, directoryOfPath(path), {});
    } else {
        workspace.openFile(path, {});
    }
    for (const FileProblem& file : outcome.repaired) {
        say(file.path + " is damaged and was " + file.reason);
    }
    if (options.temp) {
        std::cout << path << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    cli::Parsed parsed = cli::parseCommandLine(argc, argv);
    if (!parsed.options) {
        if (parsed.status == usageError) {
            return usage(parsed.problem);
        }
        if (!parsed.problem.empty()) {
            say(parsed.problem);
        }
        return parsed.status;
    }
    const cli::Options& options = *parsed.options;

    // Qt is loaded for the contents page only, while the files are read.
    std::unique_ptr<ContentsModule> contentsModule;
    if (options.contentsDepth) {
        std::string error;
        contentsModule = ContentsModule::start(error);
        if (!contentsModule) {
            say("cannot make a contents page: " + error + "; nothing written");
            return writeFailed;
        }
    }
    TerminalSystem system;
    system.verbose = options.verbose;

    // The parse of each file, made as it is listed, is the one the combine takes.
    auto parses = std::make_shared<PDFParseCache>();
    cli::Listing listing = cli::listFiles(options, system, parses.get());
    if (const std::optional<int> status = refuseListing(listing, options)) {
        return *status;
    }
    if (options.saveJob) {
        if (std::string error; !cli::saveJob(options, error)) {
            say("the job could not be saved. " + *options.saveJob + ": " + error + "; nothing written");
            return writeFailed;
        }
        system.log("job saved to " + *options.saveJob);
        if (!options.output && !options.temp) {
            return success;
        }
    }
    const CombineSettings settings = cli::settingsFor(options, contentsModule.get());

    std::string path = listing.output;
    if (options.temp) {
        if (const std::optional<int> status = quickSaveTarget(system, options, listing, path)) {
            return *status;
        }
    }
    std::string error;
    std::unique_ptr<AtomicFile> target = AtomicFile::create(path, error);
    if (!target) {
        return notSaved(system, path, error, writeFailed);
    }

    // An interrupted combine leaves no temporary file behind.
    removeTemporaryFilesOnSignals(sayInterrupted);
    cli::waitAtPausePoint("TOMEFUSE_PAUSE_BEFORE_COMBINE");
    cli::ProgressLine progress(!options.quiet && ::isatty(STDERR_FILENO));
    CombineJob job(std::move(listing.files), settings, std::move(target), progress, parses);
    job.run();
    progress.end();

    // std::exit leaves this function's objects as they are: tearing down what the combine
    // leaves object by object would cost time, for memory the system takes back at once.
    const CombineOutcome& outcome = job.outcome();
    switch (outcome.status) {
        case CombineOutcome::Status::cancelled:
            system.log("Saving " + path + " was cancelled; nothing was written");
            std::exit(128 + SIGINT);
        case CombineOutcome::Status::unreadable:
            notSaved(system, path, "a file cannot be read: " + outcome.error, unreadableInput);
            say("nothing written (--skip-unreadable combines the rest)");
            std::exit(unreadableInput);
        case CombineOutcome::Status::failed:
            std::exit(notSaved(system, path, outcome.error, writeFailed));
        case CombineOutcome::Status::written:
            break;
    }
    reportWritten(system, options, outcome, path);
    std::exit(success);
}
