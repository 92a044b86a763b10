// The controller's part in job files: the list and the options of its combine written to a
// ".tomefuse" file, and such a file read back in place of the list.

#include <limits>

#include "app/TomefuseAppDelegate.h"
#include "platform/desktop/Translation.h"

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
    const PDFDocumentAttributes properties = readDocumentProperties(defaults);
    options.title = properties.title;
    options.author = properties.author;
    options.subject = properties.subject;
    options.keywords = properties.keywords;
    return options;
}

// What the job says; what it leaves unsaid stays as the settings have it.
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

// The pages a job's text names, all of them when the text names none.
PageSelection pagesOf(const std::string& text) {
    PageSelection::Parsed parsed = PageSelection::parse(text, anyPageCount);
    return parsed.selection ? std::move(*parsed.selection) : PageSelection();
}

}  // namespace

bool TomefuseAppDelegate::saveJob(const std::string& path) {
    Job job;
    for (const PdfEntry& entry : list_.entries()) {
        job.entries.push_back(jobEntryOf(entry));
    }
    job.options = jobOptionsOf(services_.userDefaults);
    std::string error;
    if (writeJobFile(path, job, error)) {
        return true;
    }
    services_.system.beep();
    if (outlets_.window) {
        outlets_.window->showAlert(
            withArguments(translate("tomefuse::TomefuseAppDelegate", "The list could not be saved as “%1”."),
                          {displayNameForPath(path)}),
            error);
    }
    return false;
}

PdfEntry TomefuseAppDelegate::entryOfJob(const JobEntry& job) const {
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
    // Asks for the passwords again: a job never holds them.
    reader_.read(entry);
    return entry;
}

bool TomefuseAppDelegate::openJob(const std::string& path) {
    const JobReading reading = readJobFile(path);
    if (!reading.job) {
        services_.system.beep();
        if (outlets_.window) {
            outlets_.window->showAlert(
                withArguments(translate("tomefuse::TomefuseAppDelegate", "The list “%1” cannot be opened."),
                              {displayNameForPath(path)}),
                reading.error);
        }
        return false;
    }
    std::vector<PdfEntry> entries;
    {
        const EntryReader::Batch batch = reader_.batch();
        for (const JobEntry& job : reading.job->entries) {
            entries.push_back(entryOfJob(job));
        }
    }
    applyJobOptions(reading.job->options, services_.userDefaults);
    list_.replaceAll(std::move(entries), translate("tomefuse::ListEdit", "Open List"), selectedRowsInList());
    if (!reading.missing.empty() && outlets_.window) {
        std::string names;
        for (const std::string& missing : reading.missing) {
            names += (names.empty() ? "" : "\n") + missing;
        }
        outlets_.window->showAlert(
            translate("tomefuse::TomefuseAppDelegate", "Some files of the list are no longer there."),
            withArguments(translate("tomefuse::TomefuseAppDelegate",
                                    "They stay listed, marked as such; the others are combined without them.\n\n%1"),
                          {names}));
    }
    return true;
}

}  // namespace tomefuse
