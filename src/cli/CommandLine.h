#pragma once

// The command line of tomefuse-combine: its options and their checks.

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/pdf/PDFDocument.h"
#include "platform/terminal/TerminalServices.h"

namespace tomefuse::cli {

enum Status { success = 0, usageError = 2, unreadableInput = 3, writeFailed = 4 };

extern const char* const usageText;

struct Options {
    std::optional<std::string> output;
    bool temp = false;
    std::optional<bool> fileBookmarks;
    std::optional<bool> keepBookmarks;
    TerminalWorkspace::Mode afterwards = TerminalWorkspace::Mode::none;
    // By 1-based file number: names, pages taken, passwords.
    std::map<size_t, std::string> titles;
    std::map<size_t, std::string> pages;
    std::map<size_t, std::string> passwords;
    // Turns, "DEG" or "DEG:RANGES" as given, in order: they add up. Those a job gave are replaced
    // by the first --rotate for the same file after it.
    std::map<size_t, std::vector<std::string>> rotations;
    std::set<size_t> rotationsFromJob;
    // One entry of two files' pages taken in turn, at the first's place: the first's number to
    // the second's.
    struct Interleave {
        size_t second = 0;
        bool reversed = false;
    };
    std::map<size_t, Interleave> interleaves;
    std::optional<std::string> job;       // --job FILE, replayed
    std::vector<std::string> jobMissing;  // files it names that are not there
    std::optional<std::string> saveJob;   // --save-job FILE
    std::optional<int> contentsDepth;     // a contents page, listing bookmarks this deep
    bool contentsLabels = false;          // numbered by page labels where they are unique
    bool duplex = false;
    std::optional<ImagePageSize> imagePages;  // images at their own size unless given
    PDFDocumentAttributes properties;
    bool skipUnreadable = false;
    bool quiet = false;
    bool verbose = false;
    std::vector<std::string> files;
};

// The options of a command line, or why they are wrong (with the status to exit with: help and
// the version are printed here and end with success; a job file that cannot be replayed is not
// wrong usage, and ends with unreadableInput).
struct Parsed {
    std::optional<Options> options;
    int status = success;
    std::string problem;  // for usage errors
};
Parsed parseCommandLine(int argc, char** argv);

// "3=text" as the file number and the text; number 0 when there is none.
std::pair<size_t, std::string> numbered(const std::string& text);
// Why output may not be written: it is one of the files (the message for exit 2); empty if not.
std::string outputAmongFiles(const std::string& output, const std::vector<std::string>& files);

}  // namespace tomefuse::cli
