#include "cli/JobOptions.h"

#include <filesystem>

#include "cli/PageOptions.h"
#include "list/EntryReader.h"
#include "list/PageRotation.h"
#include "list/PdfEntry.h"

namespace tomefuse::cli {

namespace {

std::string absolute(const std::string& path) {
    std::error_code ignored;
    auto result = std::filesystem::absolute(path, ignored);
    return result.empty() ? path : result.lexically_normal().string();
}

// The file numbered from 1 in options, its name as listed, pages and turns from the entry.
void addEntry(size_t number, const JobEntry& entry, Options& options) {
    options.titles.erase(number);
    options.pages.erase(number);
    options.rotations.erase(number);
    if (entry.name != displayNameForPath(entry.path)) {
        options.titles[number] = entry.name;
    }
    if (entry.pages != "all") {
        options.pages[number] = entry.pages;
    }
    std::vector<std::string> turns;
    if (entry.rotation != 0) {
        turns.push_back(std::to_string(entry.rotation));
    }
    for (const JobPagesTurn& turn : entry.pageRotations) {
        turns.push_back(std::to_string(turn.rotation) + ":" + turn.pages);
    }
    if (!turns.empty()) {
        options.rotations[number] = std::move(turns);
        options.rotationsFromJob.insert(number);
    }
}

void addOptions(const JobOptions& job, Options& options) {
    options.fileBookmarks = job.fileBookmarks ? job.fileBookmarks : options.fileBookmarks;
    options.keepBookmarks = job.keepBookmarks ? job.keepBookmarks : options.keepBookmarks;
    options.contentsDepth = job.contentsDepth ? job.contentsDepth : options.contentsDepth;
    options.duplex = job.duplex.value_or(options.duplex);
    if (const auto imagePages = imagePageSizeNamed(job.imagePages)) {
        options.imagePages = imagePages;
    }
    PDFDocumentAttributes& properties = options.properties;
    for (auto [to, from] :
         {std::pair{&properties.title, &job.title}, std::pair{&properties.author, &job.author},
          std::pair{&properties.subject, &job.subject}, std::pair{&properties.keywords, &job.keywords}}) {
        if (!from->empty()) {
            *to = *from;
        }
    }
}

}  // namespace

std::string applyJob(const std::string& path, Options& options) {
    const JobReading reading = readJobFile(path);
    if (!reading.job) {
        return path + ": " + reading.error + "; nothing written";
    }
    options.job = path;
    for (const JobEntry& entry : reading.job->entries) {
        options.files.push_back(entry.path);
        const size_t number = options.files.size();
        addEntry(number, entry, options);
        if (!entry.interleavePath.empty()) {
            options.files.push_back(entry.interleavePath);
            options.interleaves[number] = {options.files.size(), entry.interleaveReversed};
        }
    }
    addOptions(reading.job->options, options);
    options.jobMissing = reading.missing;
    return {};
}

Job jobOf(const Options& options) {
    std::set<size_t> interleaved;
    for (const auto& [first, interleave] : options.interleaves) {
        interleaved.insert(interleave.second);
    }
    Job job;
    for (size_t number = 1; number <= options.files.size(); ++number) {
        if (interleaved.count(number)) {
            continue;
        }
        JobEntry entry;
        entry.path = absolute(options.files[number - 1]);
        const auto title = options.titles.find(number);
        const bool named =
            title != options.titles.end() && title->second.find_first_not_of(" \t\n\r\f\v") != std::string::npos;
        entry.name = named ? title->second : displayNameForPath(entry.path);
        if (const auto pages = options.pages.find(number); pages != options.pages.end()) {
            entry.pages = pages->second;
        }
        if (const auto turns = options.rotations.find(number); turns != options.rotations.end()) {
            for (const std::string& text : turns->second) {
                const std::optional<RotationSpec> spec = rotationSpec(text);
                if (spec && spec->ranges.empty()) {
                    entry.rotation = PageRotation::normalised(entry.rotation + spec->degrees);
                } else if (spec && spec->degrees != 0) {
                    entry.pageRotations.push_back({spec->ranges, spec->degrees});
                }
            }
        }
        if (const auto interleave = options.interleaves.find(number); interleave != options.interleaves.end()) {
            entry.interleavePath = absolute(options.files[interleave->second.second - 1]);
            entry.interleaveReversed = interleave->second.reversed;
        }
        job.entries.push_back(std::move(entry));
    }
    JobOptions& o = job.options;
    o.fileBookmarks = options.fileBookmarks;
    o.keepBookmarks = options.keepBookmarks;
    o.contentsDepth = options.contentsDepth;
    if (options.duplex) {
        o.duplex = true;
    }
    if (options.imagePages) {
        o.imagePages = imagePageSizeName(*options.imagePages);
    }
    o.title = options.properties.title;
    o.author = options.properties.author;
    o.subject = options.properties.subject;
    o.keywords = options.properties.keywords;
    return job;
}

bool saveJob(const Options& options, std::string& error) {
    return options.saveJob && writeJobFile(*options.saveJob, jobOf(options), error);
}

}  // namespace tomefuse::cli
