#include "app/TomefuseAppDelegate.h"
#include "toc/TableOfContents.h"

namespace tomefuse {

namespace {

std::string directoryOfPath(const std::string& path) {
    auto end = path.find_last_not_of('/');
    if (end == std::string::npos) {
        return path.empty() ? std::string() : std::string("/");
    }
    auto slash = path.find_last_of('/', end);
    if (slash == std::string::npos) {
        return std::string();
    }
    auto last = path.find_last_not_of('/', slash);
    return last == std::string::npos ? std::string("/") : path.substr(0, last + 1);
}

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

}  // namespace

void TomefuseAppDelegate::writeCombinedPDF(const std::string& path) {
    NotificationCenter& center = services_.notificationCenter;
    if (newpdf_) {
        center.removeObserver(this);
    }
    newpdf_ = PDFDocument::init();
    const void* combined = newpdf_.get();
    center.addObserver(this, [this](const Notification& n) { documentBeginWrite(n); },
                       PDFDocumentDidBeginWriteNotification, combined);
    center.addObserver(this, [this](const Notification& n) { documentEndWrite(n); },
                       PDFDocumentDidEndWriteNotification, combined);
    center.addObserver(this, [this](const Notification& n) { documentEndPageWrite(n); },
                       PDFDocumentDidEndPageWriteNotification, combined);

    auto root = PDFOutline::init();
    uint64_t pageOffset = 0;
    size_t namedItems = 0;
    std::vector<std::string> unread;

    for (const PdfEntry& entry : pdfsList_) {
        uint64_t inserted = 0;
        std::vector<TocEntry> toc;
        if (auto source = PDFDocument::initWithURL(entry.path)) {
            bool complete = true;
            for (uint64_t i = 0; i < source->pageCount(); ++i) {
                if (newpdf_->insertPage(source->pageAtIndex(i), pageOffset + inserted)) {
                    ++inserted;
                } else {
                    complete = false;
                }
            }
            if (!complete) {
                unread.push_back(entry.path);
            }
            toc = arrayFromOutline(*source);
        } else {
            unread.push_back(entry.path);
        }

        if (!services_.userDefaults.boolForKey(preserveExistingTOCsKey)) {
            toc.clear();
        }
        if (services_.userDefaults.boolForKey(shouldInsertTOCForFilenamesKey)) {
            root->insertChild(outlineFromArray(*newpdf_, &toc, entry.filename, pageOffset), namedItems++);
        } else {
            LevelBuckets buckets = outlineArrayFromArray(*newpdf_, &toc, pageOffset);
            size_t position = root->numberOfChildren();
            for (auto& item : buckets[1]) {
                root->insertChild(std::move(item), position++);
            }
        }
        pageOffset += inserted;
    }
    newpdf_->setOutlineRoot(root);

    std::optional<std::string> data = newpdf_->dataRepresentation();
    // A write that stopped half-way may not have ended its sheet.
    if (window_ && saveProgressPanel_ && saveProgressPanel_->isVisible()) {
        window_->endSheet(saveProgressPanel_);
    }
    if (!data) {
        reportSaveFailure(services_.system, window_, path, newpdf_->lastError());
        return;
    }
    WriteResult written = services_.system.writeToFileAtomically(*data, path);
    if (!written.ok) {
        reportSaveFailure(services_.system, window_, path, written.error);
        return;
    }

    if (!unread.empty()) {
        std::string list;
        for (const auto& file : unread) {
            services_.system.log("Could not read " + file + "; its pages are missing from " + path);
            list += "\n" + file;
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
