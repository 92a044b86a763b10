#include "cli/Request.h"

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <set>

#include "cli/PageOptions.h"
#include "combine/DocumentOptions.h"
#include "list/PdfEntry.h"
#include "platform/terminal/SettingsFile.h"
#include "platform/terminal/TerminalServices.h"

namespace tomefuse::cli {

namespace {

std::string absolute(const std::string& path) {
    std::error_code ignored;
    auto result = std::filesystem::absolute(path, ignored);
    return result.empty() ? path : result.lexically_normal().string();
}

// Why a file that did not open as a PDF cannot be read, in the words a user needs.
std::string unreadableReason(const std::string& path, PDFOpenFailure failure, const std::string* password) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return "no such file";
    }
    if (S_ISDIR(info.st_mode)) {
        return "is a folder";
    }
    if (failure == PDFOpenFailure::needsPassword) {
        return password ? "the password given does not open it" : "needs a password (give it with --password N=…)";
    }
    return describeOpenFailure(failure);
}

}  // namespace

namespace {

// Reads the file numbered from 1: its summary, or, when it cannot be read, why, in listing.
std::optional<PDFFileSummary> readFile(const Options& options, size_t number, PDFParseCache* parses, Listing& listing) {
    const std::string& given = options.files[number - 1];
    const std::string path = absolute(given);
    const auto password = options.passwords.find(number);
    const PDFFileSummary summary =
        PDFDocument::summaryOfFile(path, password == options.passwords.end() ? std::string() : password->second, parses,
                                   options.imagePages.value_or(ImagePageSize::natural));
    if (summary.failure != PDFOpenFailure::none) {
        listing.unreadable.push_back(
            given + ": " +
            unreadableReason(path, summary.failure, password == options.passwords.end() ? nullptr : &password->second));
        return std::nullopt;
    }
    return summary;
}

std::string passwordOf(const Options& options, size_t number) {
    const auto given = options.passwords.find(number);
    return given == options.passwords.end() ? std::string() : given->second;
}

// The pages chosen and the turns given for the entry of file number; a problem when they name
// pages it lacks.
std::string choosePages(const Options& options, size_t number, uint64_t pageCount, CombineFile& file) {
    if (const auto text = options.pages.find(number); text != options.pages.end()) {
        PageSelection::Parsed chosen = PageSelection::parse(text->second, pageCount);
        if (!chosen.selection) {
            return "--pages " + std::to_string(number) + "=" + text->second + ": " + chosen.error;
        }
        file.pages = std::move(*chosen.selection);
    }
    file.expectedPages = file.pages.count(pageCount);
    return addRotations(number, options, pageCount, file.rotation);
}

}  // namespace

Listing listFiles(const Options& options, System& system, PDFParseCache* parses) {
    Listing listing;
    if (options.output) {
        listing.output = absolute(*options.output);
    }
    std::set<size_t> interleaved;
    for (const auto& [first, interleave] : options.interleaves) {
        interleaved.insert(interleave.second);
    }
    for (size_t number = 1; number <= options.files.size(); ++number) {
        if (interleaved.count(number)) {
            continue;  // read with the file it is interleaved into
        }
        const std::optional<PDFFileSummary> summary = readFile(options, number, parses, listing);
        const auto interleave = options.interleaves.find(number);
        std::optional<PDFFileSummary> second;
        if (interleave != options.interleaves.end()) {
            second = readFile(options, interleave->second.second, parses, listing);
        }
        if (!summary) {
            if (second) {
                listing.unreadable.push_back(options.files[interleave->second.second - 1] + ": interleaved with " +
                                             options.files[number - 1] + ", which cannot be read");
            }
            continue;
        }
        const std::string path = absolute(options.files[number - 1]);
        CombineFile file{path, displayNameForPath(path), summary->pageCount, {}, passwordOf(options, number)};
        uint64_t pageCount = summary->pageCount;
        // With its partner unreadable and left out, the file goes in alone.
        if (second) {
            const size_t other = interleave->second.second;
            file.interleave = InterleavedFile{absolute(options.files[other - 1]), passwordOf(options, other),
                                              interleave->second.reversed};
            pageCount += second->pageCount;
        }
        const auto title = options.titles.find(number);
        // A blank name would make a blank bookmark: the file keeps its own.
        if (title != options.titles.end() && title->second.find_first_not_of(" \t\n\r\f\v") != std::string::npos) {
            system.log("PDF filename changed to: " + title->second);
            file.filename = title->second;
        }
        if (std::string problem = choosePages(options, number, pageCount, file);
            !problem.empty() && listing.problem.empty()) {
            listing.problem = std::move(problem);
        }
        listing.files.push_back(std::move(file));
    }
    return listing;
}

CombineSettings settingsFor(const Options& options, ContentsTypesetter* typesetter) {
    OverlayUserDefaults stored(readStoredSettings(applicationSettingsFiles()));
    stored.registerDefaults(settingDefaults());
    CombineSettings settings = readCombineSettings(stored, typesetter);
    settings.fileBookmarks = options.fileBookmarks.value_or(settings.fileBookmarks);
    settings.keepBookmarks = options.keepBookmarks.value_or(settings.keepBookmarks);
    settings.leaveOutUnreadable = options.skipUnreadable;
    // What the application stores for the document itself plays no part here: only the flags.
    settings.contents.add = options.contentsDepth.has_value();
    settings.contents.depth = options.contentsDepth.value_or(0);
    settings.contents.pageLabels = options.contentsLabels;
    settings.startFilesOnRightHandPages = options.duplex;
    settings.properties = options.properties;
    settings.imagePages = options.imagePages.value_or(ImagePageSize::natural);
    return settings;
}

}  // namespace tomefuse::cli
