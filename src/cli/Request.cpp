#include "cli/Request.h"

#include <sys/stat.h>

#include <filesystem>

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

Listing listFiles(const Options& options, System& system, PDFParseCache* parses) {
    Listing listing;
    if (options.output) {
        listing.output = absolute(*options.output);
    }
    std::vector<uint64_t> pageCounts;
    std::map<size_t, size_t> fileOfNumber;  // 1-based file number to its place in files
    for (size_t i = 0; i < options.files.size(); ++i) {
        const std::string path = absolute(options.files[i]);
        const auto given = options.passwords.find(i + 1);
        const std::string password = given == options.passwords.end() ? std::string() : given->second;
        const PDFFileSummary summary = PDFDocument::summaryOfFile(path, password, parses);
        if (summary.failure != PDFOpenFailure::none) {
            listing.unreadable.push_back(
                options.files[i] + ": " +
                unreadableReason(path, summary.failure, given == options.passwords.end() ? nullptr : &given->second));
            continue;
        }
        fileOfNumber[i + 1] = listing.files.size();
        listing.files.push_back({path, displayNameForPath(path), summary.pageCount, {}, password});
        pageCounts.push_back(summary.pageCount);
    }
    for (const auto& [number, text] : options.titles) {
        const auto file = fileOfNumber.find(number);
        // A blank name would make a blank bookmark: the file keeps its own.
        if (file != fileOfNumber.end() && text.find_first_not_of(" \t\n\r\f\v") != std::string::npos) {
            system.log("PDF filename changed to: " + text);
            listing.files[file->second].filename = text;
        }
    }
    for (const auto& [number, text] : options.pages) {
        const auto file = fileOfNumber.find(number);
        if (file == fileOfNumber.end()) {
            continue;
        }
        CombineFile& combined = listing.files[file->second];
        PageSelection::Parsed chosen = PageSelection::parse(text, pageCounts[file->second]);
        if (!chosen.selection) {
            listing.problem = "--pages " + std::to_string(number) + "=" + text + ": " + chosen.error;
            break;
        }
        combined.pages = std::move(*chosen.selection);
        combined.expectedPages = combined.pages.count(pageCounts[file->second]);
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
    settings.startFilesOnRightHandPages = options.duplex;
    settings.properties = options.properties;
    return settings;
}

}  // namespace tomefuse::cli
