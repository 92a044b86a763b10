#pragma once

// A job file (".tomefuse", JSON): a list of files and the options of its combine, kept to be
// combined again next month. It never holds passwords; they are asked for again on opening.
// Paths inside the job file's folder are stored relative to it, so a folder moves with its job.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomefuse {

inline constexpr int jobFormatVersion = 1;
inline constexpr const char* jobFileExtension = "tomefuse";

// Whether a path names a list kept in a file (by its extension), to be opened as a list.
inline bool isJobFilePath(const std::string& path) {
    const std::string suffix = std::string(".") + jobFileExtension;
    return path.size() > suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Some of an entry's pages turned: the pages as the Pages cell writes them, and the degrees.
struct JobPagesTurn {
    std::string pages;
    int rotation = 0;  // 90, 180 or 270
    bool operator==(const JobPagesTurn&) const = default;
};

struct JobEntry {
    std::string path;  // absolute
    std::string name;  // as listed
    std::string pages = "all";
    int rotation = 0;  // degrees added to every page: 0, 90, 180 or 270
    // A second file whose pages alternate with this one's (a duplex scan's backs), and whether
    // they are taken last page first.
    std::string interleavePath;
    bool interleaveReversed = false;
    // Turns of some pages (counted in the entry's pages), on top of rotation, in order.
    std::vector<JobPagesTurn> pageRotations = {};
    bool operator==(const JobEntry&) const = default;
};

// What the job says of its combine; what it leaves unsaid comes from the settings.
struct JobOptions {
    std::optional<bool> fileBookmarks;
    std::optional<bool> keepBookmarks;
    std::optional<int> contentsDepth;  // a contents page listing bookmarks this deep (0: none listed)
    std::optional<bool> duplex;
    std::string imagePages;  // "natural", "a4" or "letter"; empty when unsaid
    std::string title, author, subject, keywords;
    bool operator==(const JobOptions&) const = default;
};

struct Job {
    std::vector<JobEntry> entries;
    JobOptions options;
    bool operator==(const Job&) const = default;
};

// The job as the text of a job file kept in folder.
std::string jobText(const Job& job, const std::string& folder);

struct JobReading {
    std::optional<Job> job;
    std::string error;                 // why there is no job, in the user's words
    std::vector<std::string> missing;  // files the job names that are not there (still listed)
};
// A job file's text, its relative paths taken from folder.
JobReading readJobText(std::string_view text, const std::string& folder);

// The same through files; writing replaces the file only once the new one is whole.
JobReading readJobFile(const std::string& path);
bool writeJobFile(const std::string& path, const Job& job, std::string& error);

}  // namespace tomefuse
