#include "combine/SaveSession.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "combine/DocumentOptions.h"
#include "platform/desktop/AtomicFile.h"
#include "platform/desktop/TaskRunner.h"
#include "platform/desktop/Translation.h"

namespace tomefuse {

namespace {

InlineTaskRunner inlineRunner;

// Display names are the user's text: a separator in one must not lead out of the folder.
std::string fileNamePart(std::string name) {
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

// "Field Notes and Star Atlas.pdf", "Field Notes and 3 more.pdf".
std::string nameOfPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string homeDirectory() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

std::string suggestedFileName(const std::vector<PdfEntry>& list) {
    const std::string first = list.front().filename.empty() ? "Combined" : fileNamePart(list.front().filename);
    if (list.size() == 2 && !list[1].filename.empty()) {
        return first + " and " + fileNamePart(list[1].filename) + ".pdf";
    }
    return first + " and " + std::to_string(list.size() - 1) + " more.pdf";
}

}  // namespace

// Brings what the combine reports, on whatever thread it runs, to the main thread, in order; the
// write of the combined document becomes the notifications the sheet observes, posted here only.
class SaveSession::Relay final : public CombineObserver {
  public:
    Relay(SaveSession& session, TaskRunner& runner) : session_(session), runner_(runner) {}

    // The combined document: the object of the notifications.
    void setDocument(const void* document) { document_ = document; }

    void didBeginWrite(uint64_t expectedPageCount) override {
        post(PDFDocumentDidBeginWriteNotification, PDFDocumentPageCountKey, expectedPageCount);
    }
    void didEndPageWrite(uint64_t pageIndex) override {
        post(PDFDocumentDidEndPageWriteNotification, PDFDocumentPageIndexKey, pageIndex);
    }
    void didEndWrite() override { post(PDFDocumentDidEndWriteNotification, nullptr, 0); }
    void willReadFile(size_t index, size_t count, const std::string& name) override {
        runner_.deliver([this, index, count, name] { session_.progress_.willReadFile(index, count, name); });
    }
    void willFinish() override {
        runner_.deliver([this] { session_.progress_.willFinish(); });
    }

  private:
    void post(const char* name, const char* key, uint64_t value) {
        Notification notification{name, document_, {}};
        if (key) {
            notification.userInfo[key] = static_cast<double>(value);
        }
        runner_.deliver([this, notification = std::move(notification)] {
            session_.services_.notificationCenter.postNotification(notification);
        });
    }

    SaveSession& session_;
    TaskRunner& runner_;
    const void* document_ = nullptr;
};

struct SaveSession::Running {
    std::unique_ptr<Relay> relay;
    std::shared_ptr<CombineJob> job;
};

SaveSession::SaveSession(DesktopServices& services, const Outlets& outlets, DocumentList& list,
                         const EntryReader& reader)
    : services_(services), outlets_(outlets), list_(list), reader_(reader), progress_(outlets) {}

SaveSession::~SaveSession() { services_.notificationCenter.removeObserver(this); }

// A save that did not happen is said so, once: sound, log line and an alert naming the reason.
void SaveSession::reportFailure(const std::string& path, std::string reason) {
    if (reason.empty()) {
        reason = "unknown error";
    }
    services_.system.beep();
    services_.system.log("Could not save the combined PDF to " + path + ": " + reason);
    if (outlets_.window) {
        outlets_.window->showAlert(translate("tomefuse::SaveSession", "The combined PDF could not be saved."),
                                   path + ": " + reason);
    }
}

void SaveSession::combiningChanged() {
    if (combiningObserver_) {
        combiningObserver_(true);
        combiningObserver_(false);
    }
}

TaskRunner& SaveSession::runner() const { return services_.taskRunner ? *services_.taskRunner : inlineRunner; }

std::string refusalToReplace(const std::string& target, const std::vector<CombineFile>& files) {
    struct stat targetInfo {};
    if (::stat(target.c_str(), &targetInfo) != 0) {
        return {};
    }
    for (const CombineFile& file : files) {
        struct stat listed {};
        if (::stat(file.path.c_str(), &listed) == 0 && listed.st_dev == targetInfo.st_dev &&
            listed.st_ino == targetInfo.st_ino) {
            return "“" + file.filename + "” is one of the files to combine. Choose another name.";
        }
    }
    return {};
}

std::string folderForDisplay(const std::string& folder, const std::string& home) {
    if (home.empty() || home == "/") {
        return folder;
    }
    if (folder == home) {
        return "~";
    }
    if (folder.size() > home.size() && folder.compare(0, home.size(), home) == 0 && folder[home.size()] == '/') {
        return "~" + folder.substr(home.size());
    }
    return folder;
}

std::string savedMessage(const std::string& path, const std::string& home) {
    return withArguments(translate("tomefuse::SaveSession", "Saved “%1” in %2"),
                         {nameOfPath(path), folderForDisplay(directoryOfPath(path), home)});
}

std::string quickSavePath(const std::string& temporaryDirectory, const std::string& firstName) {
    // The display name is the user's text: a separator in it must not lead out of the folder,
    // a line break would split the path wherever it is printed, and a leading dot would hide
    // the file.
    std::string name = fileNamePart(firstName);
    std::replace_if(
        name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }, ' ');
    name.erase(0, name.find_first_not_of(". "));
    return temporaryDirectory + "/" + name + quickSaveSuffix;
}

// Every listed file, also those that cannot be read: none of them may be written over.
std::string SaveSession::refusalToReplace(const std::string& path) const {
    std::vector<CombineFile> listed;
    for (const PdfEntry& entry : list_.entries()) {
        listed.push_back({entry.path, entry.filename, 0});
        if (entry.partner) {
            listed.push_back({entry.partner->path, entry.filename, 0});
        }
    }
    return tomefuse::refusalToReplace(path, listed);
}

// The files as listed now: the list may change while the file is written. Files known not to
// open were named before the save and are left out: no bookmark of theirs would lead anywhere.
std::vector<CombineFile> SaveSession::filesToCombine() const {
    std::vector<CombineFile> files;
    files.reserve(list_.size());
    for (const PdfEntry& entry : list_.entries()) {
        if (entry.problem.empty()) {
            files.push_back(
                {entry.path, entry.filename, entry.pages.count(entry.pagecount), entry.pages, entry.password});
            files.back().rotation = entry.rotation;
            if (entry.partner) {
                files.back().interleave =
                    InterleavedFile{entry.partner->path, entry.partner->password, entry.partner->reversed};
            }
        }
    }
    return files;
}

void SaveSession::saveToDisk() {
    if (list_.size() < 2 || isCombining()) {
        services_.system.beep();
        return;
    }
    // Read now: by the time the files are checked the key is let go.
    const bool quick = services_.system.currentEventModifierFlags() & NSEventModifierFlagOption;
    whenReadyToSave([this, quick] {
        if (list_.size() < 2) {
            services_.system.beep();
        } else if (quick) {
            quickSave();
        } else {
            runSavePanel();
        }
    });
}

void SaveSession::runSavePanel() {
    auto panel = services_.savePanel ? services_.savePanel() : nullptr;
    if (!panel) {
        services_.system.beep();
        return;
    }
    panel->setTitle(translate("tomefuse::SaveSession", "Save Combined PDF"));
    panel->setAllowedFileTypes({"pdf"});
    panel->setExtensionHidden(false);
    panel->setCanSelectHiddenExtension(true);
    panel->setDirectoryURL(directoryOfPath(list_[0].path));
    panel->setNameFieldStringValue(suggestedFileName(list_.entries()));
    panel->setRefusal([this](const std::string& path) { return refusalToReplace(path); });
    if (panel->runModal() == NSModalResponseOK) {
        writeCombinedPDF(panel->URL());
    }
}

void SaveSession::saveToTemporaryFile() {
    if (list_.size() == 0 || isCombining()) {
        services_.system.beep();
        return;
    }
    whenReadyToSave([this] {
        if (list_.size() == 0) {
            services_.system.beep();
        } else {
            quickSave();
        }
    });
}

void SaveSession::quickSave() {
    const std::string path = quickSavePath(services_.system.temporaryDirectory(), list_[0].filename);
    services_.system.log("write to filepath [" + path + "]");
    writeCombinedPDF(path);
}

void SaveSession::writeCombinedPDF(const std::string& path) {
    if (isCombining()) {
        services_.system.beep();  // one save at a time
        return;
    }
    NotificationCenter& center = services_.notificationCenter;
    if (newpdf_) {
        center.removeObserver(this);
    }
    if (std::string refusal = refusalToReplace(path); !refusal.empty()) {
        reportFailure(path, refusal);
        return;
    }
    std::string error;
    std::unique_ptr<AtomicFile> target = services_.system.createAtomicFile(path, error);
    if (!target) {
        reportFailure(path, error);
        return;
    }

    CombineSettings settings = readCombineSettings(services_.userDefaults, services_.contentsTypesetter);
    settings.leaveOutUnreadable = leavesOutUnreadable_;

    auto running = std::make_shared<Running>();
    running->relay = std::make_unique<Relay>(*this, runner());
    running->job =
        std::make_shared<CombineJob>(filesToCombine(), settings, std::move(target), *running->relay, reader_.parses());
    newpdf_ = running->job->document();
    running->relay->setDocument(newpdf_.get());
    const void* combined = newpdf_.get();
    center.addObserver(
        this, [this](const Notification& n) { progress_.documentBeginWrite(n); }, PDFDocumentDidBeginWriteNotification,
        combined);
    center.addObserver(
        this, [this](const Notification& n) { progress_.documentEndWrite(n); }, PDFDocumentDidEndWriteNotification,
        combined);
    center.addObserver(
        this, [this](const Notification& n) { progress_.documentEndPageWrite(n); },
        PDFDocumentDidEndPageWriteNotification, combined);

    std::shared_ptr<CombineJob> job = running->job;
    if (combiningObserver_) {
        combiningObserver_(true);
    }
    combine_ = std::move(running);
    if (combiningObserver_) {
        combiningObserver_(false);
    }
    runner().run([job] { job->run(); }, [this] { didFinish(); });
}

void SaveSession::cancel() {
    if (checkStop_) {
        *checkStop_ = true;
    }
    if (combine_) {
        combine_->job->cancel();
    }
}

void SaveSession::didFinish() {
    std::shared_ptr<Running> running = std::move(combine_);
    if (!running) {
        return;
    }
    const CombineJob& job = *running->job;
    lastOutcome_ = job.outcome();
    const std::string& path = job.path();
    progress_.endIfShown();
    combiningChanged();

    const CombineOutcome& outcome = job.outcome();
    switch (outcome.status) {
        case CombineOutcome::Status::cancelled:
            services_.system.log("Saving " + path + " was cancelled; nothing was written");
            return;
        case CombineOutcome::Status::unreadable:
            reportFailure(path, "a file cannot be read: " + outcome.error);
            return;
        case CombineOutcome::Status::failed:
            reportFailure(path, outcome.error);
            return;
        case CombineOutcome::Status::written:
            break;
    }
    for (const std::string& line : outcome.logLines(path)) {
        services_.system.log(line);
    }
    if (!outcome.leftOut.empty() && outlets_.window) {
        outlets_.window->showAlert(
            translate("tomefuse::SaveSession", "Some pages are missing from the combined PDF."),
            translate("tomefuse::SaveSession", "These files could not be read:") + outcome.leftOutList());
    }
    if (outlets_.window) {
        outlets_.window->showSaved(
            savedMessage(path, homeDirectory()), [this, path] { openSaved(path); },
            [this, path] { revealSaved(path); });
    }
    if (services_.userDefaults.boolForKey(shouldOpenPDFInDefaultApplicationKey)) {
        openSaved(path);
    } else {
        revealSaved(path);
    }
}

void SaveSession::openSaved(const std::string& path) {
    services_.workspace.openFile(path, [this, path](bool opened) {
        if (opened) {
            return;
        }
        services_.system.log("No application opened " + path);
        if (outlets_.window) {
            outlets_.window->showAlert(
                withArguments(translate("tomefuse::SaveSession", "“%1” could not be opened."), {nameOfPath(path)}),
                withArguments(translate("tomefuse::SaveSession",
                                        "No application on this desktop is set up to open PDF files. "
                                        "The combined PDF is saved in %1."),
                              {folderForDisplay(directoryOfPath(path), homeDirectory())}));
        }
    });
}

void SaveSession::revealSaved(const std::string& path) {
    services_.workspace.selectFile(path, directoryOfPath(path), [this, path](bool shown) {
        if (shown) {
            return;
        }
        services_.system.log("No file manager showed " + path);
        if (outlets_.window) {
            outlets_.window->showStatusMessage(withArguments(
                translate("tomefuse::SaveSession", "No file manager could show “%1”."), {nameOfPath(path)}));
        }
    });
}

}  // namespace tomefuse
