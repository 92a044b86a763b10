#include "app/TomefuseAppDelegate.h"

namespace tomefuse {

// Every outlet may be missing: the command-line front end combines without a window.

void TomefuseAppDelegate::documentBeginWrite(const Notification& notification) {
    if (saveProgressBar_) {
        // A document written as it is assembled knows its pages only at the end: it tells how
        // many it expects. The combine writes it on another thread, so it is not asked.
        const auto count = notification.userInfo.find(PDFDocumentPageCountKey);
        saveProgressBar_->setMaxValue(count != notification.userInfo.end() ? count->second : 0);
        saveProgressBar_->setDoubleValue(0);
    }
    if (window_ && saveProgressPanel_) {
        window_->beginSheet(saveProgressPanel_,
                            [this](Panel* sheet, int returnCode) { saveProgressSheetDidEnd(sheet, returnCode); });
    }
}

void TomefuseAppDelegate::documentEndPageWrite(const Notification& notification) {
    double value = 0;
    auto found = notification.userInfo.find(PDFDocumentPageIndexKey);
    if (found != notification.userInfo.end()) {
        value = static_cast<double>(static_cast<float>(found->second));
    }
    if (saveProgressBar_) {
        saveProgressBar_->setDoubleValue(value);
        saveProgressBar_->displayIfNeeded();
    }
}

void TomefuseAppDelegate::documentEndWrite(const Notification&) {
    if (window_ && saveProgressPanel_) {
        window_->endSheet(saveProgressPanel_);
    }
}

void TomefuseAppDelegate::combineWillReadFile(size_t index, size_t count, const std::string& name) {
    if (saveProgressPanel_) {
        saveProgressPanel_->setMessageText("Reading “" + name + "” (file " + std::to_string(index + 1) + " of " +
                                           std::to_string(count) + ")");
    }
}

void TomefuseAppDelegate::combineWillFinish() {
    if (saveProgressPanel_) {
        saveProgressPanel_->setMessageText("Writing bookmarks and links");
    }
}

void TomefuseAppDelegate::saveProgressSheetDidEnd(Panel*, int) {
    if (saveProgressPanel_) {
        saveProgressPanel_->close();
    }
}

}  // namespace tomefuse
