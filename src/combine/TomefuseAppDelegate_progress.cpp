#include "app/TomefuseAppDelegate.h"

namespace tomefuse {

// Every outlet may be missing: the command-line front end combines without a window.

void TomefuseAppDelegate::documentBeginWrite(const Notification&) {
    if (saveProgressBar_) {
        saveProgressBar_->setMaxValue(newpdf_ ? static_cast<double>(newpdf_->pageCount()) : 0.0);
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

void TomefuseAppDelegate::saveProgressSheetDidEnd(Panel*, int) {
    if (saveProgressPanel_) {
        saveProgressPanel_->close();
    }
}

}  // namespace tomefuse
