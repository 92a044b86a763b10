#pragma once

// The command line's options that arrange pages: --rotate and --interleave, their checks, and
// the turns they ask for once a file's pages are known.

#include <cstdint>
#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "list/PageRotation.h"

namespace tomefuse::cli {

// --rotate N=DEG or N=DEG:RANGES; a problem (one line) when it is neither.
std::string setRotation(const std::string& argument, Options& options);
// --interleave N,M or N,M,reverse; a problem when it is neither, or a file is in two.
std::string setInterleave(const std::string& argument, Options& options);
// A file interleaved into another has no pages, name or turns of its own: a problem when an
// option gives it some. Empty when all is well.
std::string checkInterleaves(const Options& options);

// A turn as given: the degrees, and the pages ("" for all).
struct RotationSpec {
    int degrees = 0;
    std::string ranges;
};
std::optional<RotationSpec> rotationSpec(const std::string& text);

// Adds the turns given for file number to rotation, for an entry of pageCount pages; a problem
// when their pages are not all there.
std::string addRotations(size_t number, const Options& options, uint64_t pageCount, PageRotation& rotation);

}  // namespace tomefuse::cli
