#include "cli/PageOptions.h"

#include <algorithm>

namespace tomefuse::cli {

namespace {

// A whole number of at most a few digits, as file numbers and degrees are written.
std::optional<long> smallNumber(const std::string& text, bool mayBeNegative) {
    const size_t digits = mayBeNegative && !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() <= digits || text.size() - digits > 6 ||
        text.find_first_not_of("0123456789", digits) != std::string::npos) {
        return std::nullopt;
    }
    return std::stol(text);
}

}  // namespace

std::optional<RotationSpec> rotationSpec(const std::string& text) {
    const size_t colon = text.find(':');
    const std::optional<long> degrees = smallNumber(text.substr(0, colon), true);
    if (!degrees || *degrees % 90 != 0) {
        return std::nullopt;
    }
    RotationSpec spec;
    spec.degrees = PageRotation::normalised(static_cast<int>(*degrees));
    if (colon != std::string::npos) {
        spec.ranges = text.substr(colon + 1);
    }
    return spec;
}

std::string setRotation(const std::string& argument, Options& options) {
    const auto [number, value] = numbered(argument);
    if (number == 0) {
        return "--rotate wants N=DEG or N=DEG:RANGES, N counting the files from 1: " + argument;
    }
    const std::optional<RotationSpec> spec = rotationSpec(value);
    if (!spec) {
        return "--rotate " + argument + ": DEG is a multiple of 90, such as 90, 180, 270 or -90";
    }
    if (!value.empty() && value.back() == ':') {
        return "--rotate " + argument + ": give the pages after the colon, such as 1-3,7";
    }
    // A turn after a job replaces the job's turns of that file.
    if (options.rotationsFromJob.erase(number)) {
        options.rotations.erase(number);
    }
    options.rotations[number].push_back(value);
    return {};
}

std::string setInterleave(const std::string& argument, Options& options) {
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        const size_t comma = argument.find(',', start);
        parts.push_back(argument.substr(start, comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    const std::optional<long> first = parts.size() >= 2 ? smallNumber(parts[0], false) : std::nullopt;
    const std::optional<long> second = parts.size() >= 2 ? smallNumber(parts[1], false) : std::nullopt;
    const bool reversed = parts.size() == 3 && parts[2] == "reverse";
    if (!first || !second || *first == 0 || *second == 0 || *first == *second || (parts.size() != 2 && !reversed)) {
        return "--interleave wants N,M or N,M,reverse, two different file numbers from 1: " + argument;
    }
    const size_t a = static_cast<size_t>(*first);
    const size_t b = static_cast<size_t>(*second);
    for (const auto& [one, other] : options.interleaves) {
        for (size_t taken : {one, other.second}) {
            if ((taken == a || taken == b) && !(one == a && other.second == b)) {
                return "--interleave " + argument + ": file " + std::to_string(taken) +
                       " is already interleaved with another";
            }
        }
    }
    options.interleaves[a] = {b, reversed};
    return {};
}

std::string checkInterleaves(const Options& options) {
    for (const auto& [first, interleave] : options.interleaves) {
        const size_t most = std::max(first, interleave.second);
        if (most > options.files.size()) {
            return "--interleave names file " + std::to_string(most) + "; there are only " +
                   std::to_string(options.files.size()) + " files";
        }
        const size_t second = interleave.second;
        if (options.titles.count(second) || options.pages.count(second) || options.rotations.count(second)) {
            return "file " + std::to_string(second) + " is interleaved into file " + std::to_string(first) +
                   ": give the entry's --title, --pages and --rotate as file " + std::to_string(first) + "'s";
        }
    }
    return {};
}

std::string addRotations(size_t number, const Options& options, uint64_t pageCount, PageRotation& rotation) {
    const auto given = options.rotations.find(number);
    if (given == options.rotations.end()) {
        return {};
    }
    for (const std::string& text : given->second) {
        const std::optional<RotationSpec> spec = rotationSpec(text);
        if (!spec) {
            return "--rotate " + std::to_string(number) + "=" + text + ": DEG is a multiple of 90";
        }
        if (spec->ranges.empty()) {
            rotation.turnAll(spec->degrees);
            continue;
        }
        PageSelection::Parsed pages = PageSelection::parse(spec->ranges, pageCount);
        if (!pages.selection) {
            return "--rotate " + std::to_string(number) + "=" + text + ": " + pages.error;
        }
        rotation.turnPages(*pages.selection, spec->degrees);
    }
    return {};
}

}  // namespace tomefuse::cli
