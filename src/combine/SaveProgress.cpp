#include "combine/SaveProgress.h"

#include "platform/desktop/Translation.h"

namespace tomefuse {

void SaveProgress::documentBeginWrite(const Notification& notification) {
    if (ProgressIndicator* bar = outlets_.saveProgressBar) {
        // A document written as it is assembled knows its pages only at the end: it tells how
        // many it expects. The combine writes it on another thread, so it is not asked.
        const auto count = notification.userInfo.find(PDFDocumentPageCountKey);
        bar->setMaxValue(count != notification.userInfo.end() ? count->second : 0);
        bar->setDoubleValue(0);
    }
    if (outlets_.window && outlets_.saveProgressPanel) {
        outlets_.window->beginSheet(outlets_.saveProgressPanel, [this](Panel*, int) { sheetDidEnd(); });
    }
}

void SaveProgress::documentEndPageWrite(const Notification& notification) {
    double value = 0;
    auto found = notification.userInfo.find(PDFDocumentPageIndexKey);
    if (found != notification.userInfo.end()) {
        value = static_cast<double>(static_cast<float>(found->second));
    }
    if (ProgressIndicator* bar = outlets_.saveProgressBar) {
        bar->setDoubleValue(value);
        bar->displayIfNeeded();
    }
}

void SaveProgress::documentEndWrite(const Notification&) {
    if (outlets_.window && outlets_.saveProgressPanel) {
        outlets_.window->endSheet(outlets_.saveProgressPanel);
    }
}

void SaveProgress::sheetDidEnd() {
    if (outlets_.saveProgressPanel) {
        outlets_.saveProgressPanel->close();
    }
}

void SaveProgress::willReadFile(size_t index, size_t count, const std::string& name) {
    if (outlets_.saveProgressPanel) {
        outlets_.saveProgressPanel->setMessageText(
            withArguments(translate("tomefuse::SaveProgress", "Reading “%1” (file %2 of %3)"),
                          {name, std::to_string(index + 1), std::to_string(count)}));
    }
}

void SaveProgress::willFinish() {
    if (outlets_.saveProgressPanel) {
        outlets_.saveProgressPanel->setMessageText(translate("tomefuse::SaveProgress", "Writing bookmarks and links"));
    }
}

void SaveProgress::endIfShown() {
    if (outlets_.window && outlets_.saveProgressPanel && outlets_.saveProgressPanel->isVisible()) {
        outlets_.window->endSheet(outlets_.saveProgressPanel);
    }
}

}  // namespace tomefuse
