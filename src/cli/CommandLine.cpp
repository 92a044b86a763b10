#include "cli/CommandLine.h"

#include <getopt.h>
#include <sys/stat.h>

#include <fstream>
#include <iostream>

#include "cli/JobOptions.h"
#include "cli/PageOptions.h"
#include "list/EntryReader.h"

namespace tomefuse::cli {

const char* const usageText =
    "Usage: tomefuse-combine [OPTIONS] FILE FILE...\n"
    "       tomefuse-combine --job JOB [OPTIONS] [FILE...]\n"
    "Combine PDF files, in the order given, into one PDF with a merged outline.\n"
    "\n"
    "Output (one is required, unless --save-job is given):\n"
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
    "Choosing what goes in (N counts the files from 1):\n"
    "      --pages N=RANGES     take only these pages of the N-th file, in this order:\n"
    "                           1-3,7,10-z (z the last page; 9-5 backwards)\n"
    "      --rotate N=DEG[:RANGES]  turn every page of the N-th file, or those RANGES\n"
    "                           names, by DEG degrees clockwise (90, 180, 270, -90)\n"
    "      --interleave N,M[,reverse]  one entry of files N and M: N1 M1 N2 M2 ...\n"
    "                           (reverse: M last page first); --title, --pages and\n"
    "                           --rotate N then count in the entry's pages\n"
    "      --image-pages SIZE   each image a page of its own size (natural, the\n"
    "                           default), or fitted to an a4 or letter sheet\n"
    "      --password N=TEXT    the password of the N-th file, if it is protected\n"
    "      --password-file N=PATH  the same, read from the first line of PATH (others\n"
    "                           on this machine cannot read it from the process list)\n"
    "\n"
    "The combined document (none of these unless given):\n"
    "      --contents[=DEPTH]   put a contents page first: each file's name and the page\n"
    "                           it starts on, and its bookmarks DEPTH levels deep below\n"
    "                           it (1, 2 or all; none when DEPTH is left out)\n"
    "      --contents-labels    show the pages' labels there instead of their places,\n"
    "                           where no two pages of the combined PDF share a label\n"
    "      --duplex             start each file on a right-hand page: a blank page after\n"
    "                           each file with an odd number of pages, but the last\n"
    "      --title-meta TEXT    the document's title, which viewers show\n"
    "      --author TEXT        its author\n"
    "      --subject TEXT       its subject\n"
    "      --keywords TEXT      its keywords, separated by commas\n"
    "\n"
    "Job files (.tomefuse):\n"
    "      --job JOB            the files and options of JOB, as if given here; options\n"
    "                           after it override it, files after it follow its own\n"
    "      --save-job JOB       write this command line's job (never its passwords)\n"
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
    "Exit status: 0 written; 2 wrong usage (fewer than two files, an unknown option,\n"
    "pages a file lacks, an output that is one of the files);\n"
    "3 a file cannot be read as a PDF, or a job file cannot be replayed (nothing\n"
    "written); 4 the combined PDF or the job file could not\n"
    "be written (an existing file at the output path is left untouched).\n";

std::pair<size_t, std::string> numbered(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0 || equals > 6 || text.find_first_not_of("0123456789") != equals) {
        return {0, {}};
    }
    return {std::stoul(text.substr(0, equals)), text.substr(equals + 1)};
}

namespace {

Parsed refuse(std::string problem) { return {std::nullopt, usageError, std::move(problem)}; }

enum LongOnly {
    temp = 256,
    fileBookmarks,
    noFileBookmarks,
    keepBookmarks,
    dropBookmarks,
    title,
    pages,
    password,
    passwordFile,
    open,
    reveal,
    skip,
    contents,
    contentsLabels,
    duplex,
    titleMeta,
    author,
    subject,
    keywords,
    rotate,
    interleave,
    job,
    saveJob,
    imagePages,
};

const option longOptions[] = {
    {"output", required_argument, nullptr, 'o'},
    {"temp", no_argument, nullptr, temp},
    {"file-bookmarks", no_argument, nullptr, fileBookmarks},
    {"no-file-bookmarks", no_argument, nullptr, noFileBookmarks},
    {"keep-bookmarks", no_argument, nullptr, keepBookmarks},
    {"drop-bookmarks", no_argument, nullptr, dropBookmarks},
    {"title", required_argument, nullptr, title},
    {"pages", required_argument, nullptr, pages},
    {"password", required_argument, nullptr, password},
    {"password-file", required_argument, nullptr, passwordFile},
    {"open", no_argument, nullptr, open},
    {"reveal", no_argument, nullptr, reveal},
    {"skip-unreadable", no_argument, nullptr, skip},
    {"contents", optional_argument, nullptr, contents},
    {"contents-labels", no_argument, nullptr, contentsLabels},
    {"duplex", no_argument, nullptr, duplex},
    {"title-meta", required_argument, nullptr, titleMeta},
    {"author", required_argument, nullptr, author},
    {"subject", required_argument, nullptr, subject},
    {"keywords", required_argument, nullptr, keywords},
    {"rotate", required_argument, nullptr, rotate},
    {"interleave", required_argument, nullptr, interleave},
    {"job", required_argument, nullptr, job},
    {"save-job", required_argument, nullptr, saveJob},
    {"image-pages", required_argument, nullptr, imagePages},
    {"quiet", no_argument, nullptr, 'q'},
    {"verbose", no_argument, nullptr, 'v'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

// The options that only set what they name; answers whether the option is one of them.
bool setFlag(int option, const char* argument, Options& options) {
    switch (option) {
        case 'o':
            options.output = argument;
            return true;
        case temp:
            options.temp = true;
            return true;
        case fileBookmarks:
        case noFileBookmarks:
            options.fileBookmarks = option == fileBookmarks;
            return true;
        case keepBookmarks:
        case dropBookmarks:
            options.keepBookmarks = option == keepBookmarks;
            return true;
        case open:
            options.afterwards = TerminalWorkspace::Mode::open;
            return true;
        case reveal:
            options.afterwards = TerminalWorkspace::Mode::reveal;
            return true;
        case skip:
            options.skipUnreadable = true;
            return true;
        case duplex:
            options.duplex = true;
            return true;
        case contentsLabels:
            options.contentsLabels = true;
            return true;
        case saveJob:
            options.saveJob = argument;
            return true;
        case 'q':
            options.quiet = true;
            return true;
        case 'v':
            options.verbose = true;
            return true;
        default:
            return false;
    }
}

// The document's properties, each an option of its own.
bool setProperty(int option, const char* argument, PDFDocumentAttributes& properties) {
    std::string* const property = option == titleMeta  ? &properties.title
                                  : option == author   ? &properties.author
                                  : option == subject  ? &properties.subject
                                  : option == keywords ? &properties.keywords
                                                       : nullptr;
    if (property) {
        *property = argument;
    }
    return property != nullptr;
}

// --contents[=DEPTH]: none listed without a depth; a problem when it is none of 1, 2 or all.
std::string setContentsDepth(const char* argument, Options& options) {
    if (!argument) {
        options.contentsDepth = 0;
        return {};
    }
    const std::string depth = argument;
    if (depth != "1" && depth != "2" && depth != "all") {
        return "--contents takes the depth of the bookmarks listed: 1, 2 or all: " + depth;
    }
    options.contentsDepth = depth == "all" ? -1 : std::stoi(depth);
    return {};
}

// The options that say something of the N-th file, as N=VALUE.
struct NumberedOption {
    int code;
    const char* name;
    const char* wants;
    std::map<size_t, std::string> Options::*values;
};

constexpr NumberedOption numberedOptions[] = {
    {title, "--title", "TEXT", &Options::titles},
    {pages, "--pages", "RANGES", &Options::pages},
    {password, "--password", "TEXT", &Options::passwords},
    {passwordFile, "--password-file", "PATH", &Options::passwords},
};

const NumberedOption* numberedOption(int code) {
    for (const NumberedOption& numbered : numberedOptions) {
        if (numbered.code == code) {
            return &numbered;
        }
    }
    return nullptr;
}

// The first line of a password file, without a line end; none when it cannot be read.
std::optional<std::string> firstLineOf(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

// A problem when the value is not N=VALUE, or its password file cannot be read.
std::string setNumbered(const NumberedOption& option, const char* argument, Options& options) {
    auto [number, value] = numbered(argument);
    if (number == 0) {
        // The value may be a password: it is not repeated.
        return std::string(option.name) + " wants N=" + option.wants + ", N counting the files from 1";
    }
    if (option.code == passwordFile) {
        std::optional<std::string> line = firstLineOf(value);
        if (!line) {
            return "--password-file " + std::to_string(number) + "=" + value + ": cannot be read";
        }
        value = std::move(*line);
    }
    (options.*option.values)[number] = value;
    return {};
}

// What getopt did not take: a file name starting with "-" reads as options.
std::string unknownOption(const std::string& argument) {
    std::string problem = "unknown or incomplete option: " + argument;
    if (optopt && argument.size() > 2 && argument[1] != '-') {
        problem += " (put -- before file names that start with -)";
    }
    return problem;
}

// The checks of the whole: enough files, one output, no option for a file not given, and an
// output that is none of the files. Empty when all pass.
std::string checkOptions(const Options& options) {
    if (options.files.size() < 2) {
        return "give at least two PDF files to combine";
    }
    if ((options.output || options.temp || !options.saveJob) && options.output.has_value() == options.temp) {
        return "give either -o PATH or --temp";
    }
    const auto highest = [](const auto& byFile) { return byFile.empty() ? 0 : byFile.rbegin()->first; };
    for (const size_t number :
         {highest(options.titles), highest(options.pages), highest(options.passwords), highest(options.rotations)}) {
        if (number > options.files.size()) {
            return "file " + std::to_string(number) + " is named in an option; there are only " +
                   std::to_string(options.files.size()) + " files";
        }
    }
    if (options.contentsLabels && !options.contentsDepth) {
        return "--contents-labels goes with --contents";
    }
    if (std::string problem = checkInterleaves(options); !problem.empty()) {
        return problem;
    }
    if (options.saveJob && !outputAmongFiles(*options.saveJob, options.files).empty()) {
        return "the job file " + *options.saveJob + " is one of the files to combine";
    }
    return options.output ? outputAmongFiles(*options.output, options.files) : std::string();
}

// A job naming a file that is gone is not replayed, unless the files that cannot be read may
// be left out.
std::string checkJob(const Options& options) {
    if (options.jobMissing.empty() || options.skipUnreadable) {
        return {};
    }
    const size_t more = options.jobMissing.size() - 1;
    return *options.job + " names a file that is no longer there: " + options.jobMissing.front() +
           (more ? " (and " + std::to_string(more) + " more)" : "") +
           "; nothing written (--skip-unreadable combines the rest)";
}

// Sets an option that takes a value; what is wrong with it, or with an option not known, else "".
std::string setValued(int c, const char* value, const char* argument, Options& options) {
    if (c == contents) {
        return setContentsDepth(value, options);
    }
    if (c == rotate) {
        return setRotation(value, options);
    }
    if (c == interleave) {
        return setInterleave(value, options);
    }
    if (c == imagePages) {
        options.imagePages = imagePageSizeNamed(value);
        return options.imagePages ? std::string() : "--image-pages takes natural, a4 or letter: " + std::string(value);
    }
    if (const NumberedOption* byFile = numberedOption(c)) {
        return setNumbered(*byFile, value, options);
    }
    return unknownOption(argument);
}

}  // namespace

Parsed parseCommandLine(int argc, char** argv) {
    Options options;
    opterr = 0;
    int c = 0;
    int before = optind;
    while ((c = getopt_long(argc, argv, "+o:qvhV", longOptions, nullptr)) != -1) {
        // getopt stays on an argument while letters of it remain: the option came from the
        // argument it stayed on, or else from the one it just passed.
        const int at = optind == before ? optind : optind - 1;
        before = optind;
        if (c == 'h' || c == 'V') {
            std::cout << (c == 'h' ? usageText : "tomefuse-combine " TOMEFUSE_VERSION "\n");
            return {std::nullopt, success, {}};
        }
        if (setFlag(c, optarg, options) || setProperty(c, optarg, options.properties)) {
            continue;
        }
        if (c == job && options.job) {
            return refuse("give --job once");
        }
        if (c == job) {
            if (std::string unplayable = applyJob(optarg, options); !unplayable.empty()) {
                return {std::nullopt, unreadableInput, unplayable};
            }
            continue;
        }
        if (std::string problem = setValued(c, optarg, argv[std::min(at, argc - 1)], options); !problem.empty()) {
            return refuse(problem);
        }
    }
    for (int i = optind; i < argc; ++i) {
        options.files.push_back(argv[i]);
    }
    if (std::string problem = checkOptions(options); !problem.empty()) {
        return refuse(problem);
    }
    if (std::string problem = checkJob(options); !problem.empty()) {
        return {std::nullopt, unreadableInput, problem};
    }
    return {std::move(options), success, {}};
}

// The combined file may not replace one of the files it is made of.
std::string outputAmongFiles(const std::string& output, const std::vector<std::string>& files) {
    struct stat target {};
    if (::stat(output.c_str(), &target) == 0) {
        for (const std::string& file : files) {
            struct stat input {};
            if (::stat(file.c_str(), &input) == 0 && input.st_dev == target.st_dev && input.st_ino == target.st_ino) {
                return "the output " + output + " is one of the files to combine: " + file;
            }
        }
    }
    return {};
}

}  // namespace tomefuse::cli
