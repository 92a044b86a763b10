// The controller's part in job files: the list written to a ".tomefuse" file, and such a file read
// back in place of the list, with what went wrong said in the window.

#include "app/TomefuseAppDelegate.h"
#include "combine/ListJob.h"
#include "platform/desktop/Translation.h"

namespace tomefuse {

bool TomefuseAppDelegate::saveJob(const std::string& path) {
    std::string error;
    if (writeJobFile(path, jobOfList(list_.entries(), services_.userDefaults), error)) {
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
    // The options first: how image files are read into pages is one of them.
    applyJobOptions(reading.job->options, services_.userDefaults);
    std::vector<PdfEntry> entries = entriesOfJob(*reading.job, reader_);
    list_.replaceAll(std::move(entries), translate("tomefuse::ListEdit", "Open List"), selectedRowsInList());
    if (!reading.missing.empty() && outlets_.window) {
        outlets_.window->showAlert(
            translate("tomefuse::TomefuseAppDelegate", "Some files of the list are no longer there."),
            withArguments(translate("tomefuse::TomefuseAppDelegate",
                                    "They stay listed, marked as such; the others are combined without them.\n\n%1"),
                          {missingFilesText(reading.missing)}));
    }
    return true;
}

}  // namespace tomefuse
