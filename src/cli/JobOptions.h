#pragma once

// Job files on the command line: --job replays one as the files and flags it stands for, at the
// place it is given, so that flags after it override it; --save-job writes the command line's.

#include <string>

#include "cli/CommandLine.h"
#include "list/JobFile.h"

namespace tomefuse::cli {

// Puts the job file's files, names, pages, turns, interleaves and options into options; empty,
// or why the job cannot be replayed (one line, naming the file).
std::string applyJob(const std::string& path, Options& options);

// The job the command line stands for: its files (paths absolute), names, pages, turns,
// interleaves and the options of the combine; never a password, nor where the output goes.
Job jobOf(const Options& options);

// Writes jobOf(options) to options.saveJob; false, with why, when it cannot be written.
bool saveJob(const Options& options, std::string& error);

}  // namespace tomefuse::cli
