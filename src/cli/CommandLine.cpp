#include "cli/CommandLine.h"

#include <getopt.h>
#include <sys/stat.h>

#include <fstream>
#include <iostream>

namespace tomefuse::cli {

const char* const usageText =
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
    "Choosing what goes in (N counts the files from 1):\n"
    "      --pages N=RANGES     take only these pages of the N-th file, in this order:\n"
    "                           1-3,7,10-z (z the last page; 9-5 backwards)\n"
    "      --password N=TEXT    the password of the N-th file, if it is protected\n"
    "      --password-file N=PATH  the same, read from the first line of PATH (others\n"
    "                           on this machine cannot read it from the process list)\n"
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
    "Exit status: 0 written; 2 wrong usage (fewer than two files, an unknown option,\n"
    "pages a file lacks, an output that is one of the files);\n"
    "3 a file cannot be read as a PDF (nothing written); 4 the combined PDF could not\n"
    "be written (an existing file at the output path is left untouched).\n";

namespace {

Parsed refuse(std::string problem) { return {std::nullopt, usageError, std::move(problem)}; }

// "3=text" as the file number and the text; number 0 when there is none.
std::pair<size_t, std::string> numbered(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0 || equals > 6 || text.find_first_not_of("0123456789") != equals) {
        return {0, {}};
    }
    return {std::stoul(text.substr(0, equals)), text.substr(equals + 1)};
}

}  // namespace

Parsed parseCommandLine(int argc, char** argv) {
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
        {"pages", required_argument, nullptr, pages},
        {"password", required_argument, nullptr, password},
        {"password-file", required_argument, nullptr, passwordFile},
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
            case 'o':
                options.output = optarg;
                break;
            case temp:
                options.temp = true;
                break;
            case fileBookmarks:
                options.fileBookmarks = true;
                break;
            case noFileBookmarks:
                options.fileBookmarks = false;
                break;
            case keepBookmarks:
                options.keepBookmarks = true;
                break;
            case dropBookmarks:
                options.keepBookmarks = false;
                break;
            case open:
                options.afterwards = TerminalWorkspace::Mode::open;
                break;
            case reveal:
                options.afterwards = TerminalWorkspace::Mode::reveal;
                break;
            case skip:
                options.skipUnreadable = true;
                break;
            case contents: {
                const std::string depth = optarg ? optarg : "0";
                if (depth == "all") {
                    options.contentsDepth = -1;
                } else if (depth.empty() || depth.size() > 3 ||
                           depth.find_first_not_of("0123456789") != std::string::npos) {
                    return refuse("--contents takes the depth of the bookmarks listed: 1, 2 or all: " + depth);
                } else {
                    options.contentsDepth = std::stoi(depth);
                }
                break;
            }
            case duplex:
                options.duplex = true;
                break;
            case titleMeta:
                options.properties.title = optarg;
                break;
            case author:
                options.properties.author = optarg;
                break;
            case subject:
                options.properties.subject = optarg;
                break;
            case keywords:
                options.properties.keywords = optarg;
                break;
            case 'q':
                options.quiet = true;
                break;
            case 'v':
                options.verbose = true;
                break;
            case 'h':
                std::cout << usageText;
                return {std::nullopt, success, {}};
            case 'V':
                std::cout << "tomefuse-combine " TOMEFUSE_VERSION "\n";
                return {std::nullopt, success, {}};
            case title:
            case pages:
            case password:
            case passwordFile: {
                const char* name = c == title      ? "--title"
                                   : c == pages    ? "--pages"
                                   : c == password ? "--password"
                                                   : "--password-file";
                auto [number, value] = numbered(optarg);
                if (number == 0) {
                    // The value may be a password: it is not repeated.
                    return refuse(std::string(name) + " wants N=" +
                                  (c == pages          ? "RANGES"
                                   : c == passwordFile ? "PATH"
                                                       : "TEXT") +
                                  ", N counting the files from 1");
                }
                if (c == passwordFile) {
                    std::ifstream in(value);
                    std::string line;
                    if (!in || !std::getline(in, line)) {
                        return refuse("--password-file " + std::to_string(number) + "=" + value + ": cannot be read");
                    }
                    if (!line.empty() && line.back() == '\r') {
                        line.pop_back();
                    }
                    value = line;
                }
                (c == title ? options.titles : c == pages ? options.pages : options.passwords)[number] = value;
                break;
            }
            default: {
                // A file name starting with "-" reads as options.
                const std::string arg = argv[std::min(at, argc - 1)];
                std::string problem = "unknown or incomplete option: " + arg;
                if (optopt && arg.size() > 2 && arg[1] != '-') {
                    problem += " (put -- before file names that start with -)";
                }
                return refuse(problem);
            }
        }
    }
    for (int i = optind; i < argc; ++i) {
        options.files.push_back(argv[i]);
    }
    if (options.files.size() < 2) {
        return refuse("give at least two PDF files to combine");
    }
    if (options.output.has_value() == options.temp) {
        return refuse("give either -o PATH or --temp");
    }
    for (const auto* numbered : {&options.titles, &options.pages, &options.passwords}) {
        if (!numbered->empty() && numbered->rbegin()->first > options.files.size()) {
            return refuse("file " + std::to_string(numbered->rbegin()->first) +
                          " is named in an option; there are only " + std::to_string(options.files.size()) + " files");
        }
    }
    if (options.output) {
        if (std::string clash = outputAmongFiles(*options.output, options.files); !clash.empty()) {
            return refuse(clash);
        }
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
