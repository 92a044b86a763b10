#pragma once

// The command line's request: the files given, read as the list reads them, with the names,
// pages and passwords given for them, and the settings of the run.

#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "combine/CombineJob.h"
#include "platform/desktop/ContentsTypesetter.h"
#include "platform/desktop/System.h"

namespace tomefuse::cli {

struct Listing {
    std::vector<CombineFile> files;       // those that can be read, in the order given
    std::vector<std::string> unreadable;  // "FILE: why", for those that cannot
    std::string problem;                  // pages a file lacks: a usage error
    std::string output;                   // -o PATH, made absolute
};

// Reads each file (with its password), as the application lists it, leaving its parse in parses
// when given, for the combine; a name given is logged as a rename is, a blank one passed over.
Listing listFiles(const Options& options, System& system, PDFParseCache* parses = nullptr);

// The application's stored settings for the outline, the flags over them for this run; the
// contents page, right-hand starts and properties from the flags alone.
CombineSettings settingsFor(const Options& options, ContentsTypesetter* typesetter);

}  // namespace tomefuse::cli
