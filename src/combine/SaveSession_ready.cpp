// Before a save: the files are read again where they changed, their pages are copied to nowhere
// as the combine would, beside the window, and the user is asked about those that cannot be read.

#include <atomic>

#include "combine/SaveSession.h"
#include "platform/desktop/TaskRunner.h"
#include "platform/desktop/Translation.h"

namespace tomefuse {

void SaveSession::whenReadyToSave(std::function<void()> then) {
    list_.refresh([this](PdfEntry& entry) { return reader_.readIfChanged(entry); });
    auto checked = std::make_shared<std::vector<PdfEntry>>();
    for (const PdfEntry& entry : list_.entries()) {
        if (EntryReader::needsCopyCheck(entry)) {
            checked->push_back(entry);
        }
    }
    if (checked->empty()) {
        if (askAboutUnreadable()) {
            then();
        }
        return;
    }
    // Copying every page to nowhere takes a while for big files: it runs beside the window, on
    // copies of the entries, and the verdicts go to the rows that are still as they were.
    if (outlets_.window) {
        const int count = static_cast<int>(checked->size());
        outlets_.window->showStatusMessage(
            count == 1 ? translate("tomefuse::SaveSession", "Checking 1 file before saving…")
                       : translate("tomefuse::SaveSession", "Checking %n files before saving…", nullptr, count));
    }
    auto stop = std::make_shared<std::atomic<bool>>(false);
    checkStop_ = stop;
    combiningChanged();
    auto losses = std::make_shared<std::vector<std::string>>(checked->size());
    runner().run(
        [checked, losses, stop] {
            for (size_t i = 0; i < checked->size() && !*stop; ++i) {
                (*losses)[i] = EntryReader::lossOfCopy((*checked)[i]);
            }
        },
        [this, checked, losses, stop, then = std::move(then)]() mutable {
            checkStop_.reset();
            if (outlets_.window) {
                outlets_.window->showStatusMessage({});
            }
            combiningChanged();
            if (*stop) {
                return;
            }
            list_.refresh([&](PdfEntry& entry) {
                bool changed = false;
                for (size_t i = 0; i < checked->size(); ++i) {
                    changed = EntryReader::takeCopyCheck(entry, (*checked)[i], (*losses)[i]) || changed;
                }
                return changed;
            });
            whenReadyToSave(std::move(then));
        });
}

bool SaveSession::askAboutUnreadable() {
    std::vector<const PdfEntry*> unreadable;
    for (const PdfEntry& entry : list_.entries()) {
        if (!entry.problem.empty()) {
            unreadable.push_back(&entry);
        }
    }
    if (unreadable.empty()) {
        return true;
    }
    Window* window = outlets_.window;
    if (!leavesOutUnreadable_) {
        // Where nothing may be left out, nothing is written.
        const PdfEntry& first = *unreadable.front();
        lastOutcome_ =
            CombineOutcome{CombineOutcome::Status::unreadable, first.path + ": " + first.problem, {}, {}, {}};
        services_.system.beep();
        if (window) {
            window->showAlert(
                translate("tomefuse::SaveSession", "The combined PDF was not saved."),
                withArguments(translate("tomefuse::SaveSession", "A file cannot be read: %1"), {lastOutcome_->error}));
        }
        return false;
    }
    if (unreadable.size() == list_.size()) {
        services_.system.beep();
        if (window) {
            window->showAlert(translate("tomefuse::SaveSession", "None of the files can be read."),
                              translate("tomefuse::SaveSession", "Nothing is combined."));
        }
        return false;
    }
    std::string names;
    for (const PdfEntry* entry : unreadable) {
        names += entry->path + ": " + entry->problem + "\n";
    }
    const int count = static_cast<int>(unreadable.size());
    const std::string message =
        count == 1
            ? translate("tomefuse::SaveSession", "1 file cannot be read and will be left out.")
            : translate("tomefuse::SaveSession", "%n files cannot be read and will be left out.", nullptr, count);
    return !window || window->askToProceed(message, names + translate("tomefuse::SaveSession", "Combine the others?"),
                                           translate("tomefuse::SaveSession", "Combine the Others"));
}

}  // namespace tomefuse
