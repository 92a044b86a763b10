#include "app/TomefuseAppDelegate.h"
#include "combine/CombineJob.h"
#include "combine/DocumentOptions.h"
#include "platform/desktop/TaskRunner.h"

namespace tomefuse {

namespace {

// A save that did not happen is said so, once: sound, log line and an alert naming the reason.
void reportSaveFailure(System& system, Window* window, const std::string& path, std::string reason) {
    if (reason.empty()) {
        reason = "unknown error";
    }
    system.beep();
    system.log("Could not save the combined PDF to " + path + ": " + reason);
    if (window) {
        window->showAlert("The combined PDF could not be saved.", path + ": " + reason);
    }
}

InlineTaskRunner inlineRunner;

}  // namespace

// Brings what the combine reports, on whatever thread it runs, to the controller on the main
// thread, in order.
class TomefuseAppDelegate::CombineRelay final : public CombineObserver {
  public:
    CombineRelay(TomefuseAppDelegate& controller, TaskRunner& runner) : controller_(controller), runner_(runner) {}

    void post(const Notification& notification) override {
        runner_.deliver(
            [this, notification] { controller_.services_.notificationCenter.postNotification(notification); });
    }
    void willReadFile(size_t index, size_t count, const std::string& name) override {
        runner_.deliver([this, index, count, name] { controller_.combineWillReadFile(index, count, name); });
    }
    void willFinish() override {
        runner_.deliver([this] { controller_.combineWillFinish(); });
    }

  private:
    TomefuseAppDelegate& controller_;
    TaskRunner& runner_;
};

struct TomefuseAppDelegate::RunningCombine {
    std::unique_ptr<CombineRelay> relay;
    std::shared_ptr<CombineJob> job;
};

void TomefuseAppDelegate::writeCombinedPDF(const std::string& path) {
    if (combine_) {
        services_.system.beep();  // one save at a time
        return;
    }
    NotificationCenter& center = services_.notificationCenter;
    if (newpdf_) {
        center.removeObserver(this);
    }
    if (std::string refusal = refusalToReplace(path); !refusal.empty()) {
        reportSaveFailure(services_.system, window_, path, refusal);
        return;
    }
    std::string error;
    std::unique_ptr<AtomicFile> target = services_.system.createAtomicFile(path, error);
    if (!target) {
        reportSaveFailure(services_.system, window_, path, error);
        return;
    }

    // The job takes the list as it is now: the list may change while the file is written.
    std::vector<CombineFile> files;
    files.reserve(list_.entries().size());
    for (const PdfEntry& entry : list_.entries()) {
        // Files known not to open were named before the save and are left out: no bookmark of
        // theirs would lead anywhere.
        if (entry.problem.empty()) {
            files.push_back(
                {entry.path, entry.filename, entry.pages.count(entry.pagecount), entry.pages, entry.password});
        }
    }
    CombineSettings settings;
    settings.fileBookmarks = services_.userDefaults.boolForKey(shouldInsertTOCForFilenamesKey);
    settings.keepBookmarks = services_.userDefaults.boolForKey(preserveExistingTOCsKey);
    settings.leaveOutUnreadable = leavesOutUnreadableFiles_;
    readDocumentOptions(services_.userDefaults, services_.contentsTypesetter, settings);

    TaskRunner& runner = services_.taskRunner ? *services_.taskRunner : inlineRunner;
    auto running = std::make_shared<RunningCombine>();
    running->relay = std::make_unique<CombineRelay>(*this, runner);
    running->job = std::make_shared<CombineJob>(std::move(files), settings, std::move(target), *running->relay);
    newpdf_ = running->job->document();
    const void* combined = newpdf_.get();
    center.addObserver(
        this, [this](const Notification& n) { documentBeginWrite(n); }, PDFDocumentDidBeginWriteNotification, combined);
    center.addObserver(
        this, [this](const Notification& n) { documentEndWrite(n); }, PDFDocumentDidEndWriteNotification, combined);
    center.addObserver(
        this, [this](const Notification& n) { documentEndPageWrite(n); }, PDFDocumentDidEndPageWriteNotification,
        combined);

    std::shared_ptr<CombineJob> job = running->job;
    willChangeValueForKey(isCombiningKey);
    combine_ = std::move(running);
    didChangeValueForKey(isCombiningKey);
    runner.run([job] { job->run(); }, [this] { combineDidFinish(); });
}

void TomefuseAppDelegate::cancelCombine(Sender*) {
    if (combine_) {
        combine_->job->cancel();
    }
}

void TomefuseAppDelegate::combineDidFinish() {
    std::shared_ptr<RunningCombine> running = std::move(combine_);
    if (!running) {
        return;
    }
    const CombineJob& job = *running->job;
    lastCombineOutcome_ = job.outcome();
    const std::string& path = job.path();
    // A write that stopped half-way may not have ended its sheet.
    if (window_ && saveProgressPanel_ && saveProgressPanel_->isVisible()) {
        window_->endSheet(saveProgressPanel_);
    }
    willChangeValueForKey(isCombiningKey);
    didChangeValueForKey(isCombiningKey);

    const CombineOutcome& outcome = job.outcome();
    switch (outcome.status) {
        case CombineOutcome::Status::cancelled:
            services_.system.log("Saving " + path + " was cancelled; nothing was written");
            return;
        case CombineOutcome::Status::unreadable:
            reportSaveFailure(services_.system, window_, path, "a file cannot be read: " + outcome.error);
            return;
        case CombineOutcome::Status::failed:
            reportSaveFailure(services_.system, window_, path, outcome.error);
            return;
        case CombineOutcome::Status::written:
            break;
    }
    for (const FileProblem& file : outcome.repaired) {
        services_.system.log(file.path + " is damaged and was " + file.reason);
    }
    if (!outcome.leftOut.empty()) {
        std::string list;
        for (const FileProblem& file : outcome.leftOut) {
            services_.system.log("Could not read " + file.path + " (" + file.reason + "); its pages are missing from " +
                                 path);
            list += "\n" + file.path + ": " + file.reason;
        }
        if (window_) {
            window_->showAlert("Some pages are missing from the combined PDF.",
                               "These files could not be read:" + list);
        }
    }
    if (services_.userDefaults.boolForKey(shouldOpenPDFInDefaultApplicationKey)) {
        services_.workspace.openFile(path);
    } else {
        services_.workspace.selectFile(path, directoryOfPath(path));
    }
}

}  // namespace tomefuse
