// The list as a job file holds it, and a job's entries and options taken back.

#include "combine/ListJob.h"

#include <limits>

#include "combine/DocumentOptions.h"
#include "list/EntryReader.h"

namespace tomefuse {

namespace {

// Pages read from a job are checked against the file once it is read, as a file that shrank is.
constexpr uint64_t anyPageCount = std::numeric_limits<uint32_t>::max();

JobEntry jobEntryOf(const PdfEntry& entry) {
    JobEntry job;
    job.path = entry.path;
    job.name = entry.filename;
    job.pages = entry.pages.text();
    job.rotation = entry.rotation.all();
    for (const PageRotation::Part& part : entry.rotation.parts()) {
        job.pageRotations.push_back({part.pages.text(), part.degrees});
    }
    if (entry.partner) {
        job.interleavePath = entry.partner->path;
        job.interleaveReversed = entry.partner->reversed;
    }
    return job;
}

JobOptions jobOptionsOf(const UserDefaults& defaults) {
    JobOptions options;
    options.fileBookmarks = defaults.boolForKey(shouldInsertTOCForFilenamesKey);
    options.keepBookmarks = defaults.boolForKey(preserveExistingTOCsKey);
    if (defaults.boolForKey(shouldAddContentsPageKey)) {
        options.contentsDepth = static_cast<int>(defaults.integerForKey(contentsBookmarkDepthKey));
    }
    options.duplex = defaults.boolForKey(shouldStartFilesOnRightHandPagesKey);
    options.imagePages = imagePageSizeName(imagePageSizeSetting(defaults));
    const PDFDocumentAttributes properties = readDocumentProperties(defaults);
    options.title = properties.title;
    options.author = properties.author;
    options.subject = properties.subject;
    options.keywords = properties.keywords;
    return options;
}

// The pages a job's text names, all of them when the text names none.
PageSelection pagesOf(const std::string& text) {
    PageSelection::Parsed parsed = PageSelection::parse(text, anyPageCount);
    return parsed.selection ? std::move(*parsed.selection) : PageSelection();
}

}  // namespace

Job jobOfList(const std::vector<PdfEntry>& entries, const UserDefaults& defaults) {
    Job job;
    for (const PdfEntry& entry : entries) {
        job.entries.push_back(jobEntryOf(entry));
    }
    job.options = jobOptionsOf(defaults);
    return job;
}

namespace {

PdfEntry entryOfJobEntry(const JobEntry& job) {
    PdfEntry entry;
    entry.path = job.path;
    entry.filename = job.name.empty() ? displayNameForPath(job.path) : job.name;
    if (!job.interleavePath.empty()) {
        entry.partner.emplace();
        entry.partner->path = job.interleavePath;
        entry.partner->reversed = job.interleaveReversed;
    }
    entry.pages = pagesOf(job.pages);
    entry.rotation.turnAll(job.rotation);
    for (const JobPagesTurn& turn : job.pageRotations) {
        entry.rotation.turnPages(pagesOf(turn.pages), turn.rotation);
    }
    return entry;
}

}  // namespace

void applyJobOptions(const JobOptions& options, UserDefaults& defaults) {
    for (auto [value, key] : {std::pair{&options.fileBookmarks, shouldInsertTOCForFilenamesKey},
                              std::pair{&options.keepBookmarks, preserveExistingTOCsKey},
                              std::pair{&options.duplex, shouldStartFilesOnRightHandPagesKey}}) {
        if (*value) {
            defaults.setBool(key, **value);
        }
    }
    if (options.contentsDepth) {
        defaults.setBool(shouldAddContentsPageKey, true);
        defaults.setInteger(contentsBookmarkDepthKey, *options.contentsDepth);
    }
    if (!options.imagePages.empty()) {
        defaults.setString(imagePageSizeKey, options.imagePages);
    }
    PDFDocumentAttributes properties = readDocumentProperties(defaults);
    for (auto [to, from] :
         {std::pair{&properties.title, &options.title}, std::pair{&properties.author, &options.author},
          std::pair{&properties.subject, &options.subject}, std::pair{&properties.keywords, &options.keywords}}) {
        if (!from->empty()) {
            *to = *from;
        }
    }
    storeDocumentProperties(defaults, properties);
}

std::vector<PdfEntry> entriesOfJob(const Job& job, const EntryReader& reader) {
    std::vector<PdfEntry> entries;
    const EntryReader::Batch batch = reader.batch();
    for (const JobEntry& entry : job.entries) {
        entries.push_back(entryOfJobEntry(entry));
        reader.read(entries.back());
    }
    return entries;
}

std::string missingFilesText(const std::vector<std::string>& missing) {
    std::string names;
    for (const std::string& name : missing) {
        names += (names.empty() ? "" : "\n") + name;
    }
    return names;
}

}  // namespace tomefuse
