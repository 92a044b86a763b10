#include "app/TomefuseAppDelegate.h"

#include "combine/DocumentOptions.h"
#include "platform/desktop/FileURL.h"

namespace tomefuse {

namespace {

inline constexpr const char* helpPageURL = "https://tomefuse.org/help";

}  // namespace

TomefuseAppDelegate::TomefuseAppDelegate(DesktopServices services) : services_(std::move(services)) {}

TomefuseAppDelegate::~TomefuseAppDelegate() {
    // The observations of the last combined document name this object; none may outlive it.
    services_.notificationCenter.removeObserver(this);
}

void TomefuseAppDelegate::addKeyValueObserver(KeyValueObserver observer) {
    keyValueObservers_.push_back(std::move(observer));
}

void TomefuseAppDelegate::applicationDidFinishLaunching() {
    services_.userDefaults.registerDefaults({
        {shouldInsertTOCForFilenamesKey, true},
        {preserveExistingTOCsKey, true},
        {shouldOpenPDFInDefaultApplicationKey, true},
        {shouldAddContentsPageKey, false},
        {shouldStartFilesOnRightHandPagesKey, false},
    });
    // The list was made at construction: files the desktop asked us to open before launch ended
    // are already in it and stay there.
    if (tableView_) {
        tableView_->registerForDraggedTypes({kUTTypeFileURL, MultiplePDFContentType});
        tableView_->setDoubleAction([this] { tableViewDoubleClicked(nullptr); });
    }
}

bool TomefuseAppDelegate::validateUserInterfaceItem(Action action) const {
    if (action == &TomefuseAppDelegate::removeFromTable) {
        return tableView_ && !tableView_->selectedRowIndexes().empty();
    }
    // One save at a time.
    if (action == &TomefuseAppDelegate::saveToDisk) {
        return pdfsList_.size() >= 2 && !combine_;
    }
    if (action == &TomefuseAppDelegate::saveToTemporaryFile) {
        return !combine_;
    }
    if (action == &TomefuseAppDelegate::cancelCombine) {
        return combine_ != nullptr;
    }
    if (auto arranging = validateArrangingItem(action)) {
        return *arranging;
    }
    return true;
}

void TomefuseAppDelegate::showHelp(Sender*) {
    services_.workspace.openURL(helpPagePath_.empty() ? std::string(helpPageURL) : fileURLForPath(helpPagePath_));
}

void TomefuseAppDelegate::reloadTable() {
    if (tableView_) {
        tableView_->reloadData();
    }
}

void TomefuseAppDelegate::willChangeValueForKey(const std::string& key) {
    for (const auto& observer : keyValueObservers_) {
        observer(key, true);
    }
}

void TomefuseAppDelegate::didChangeValueForKey(const std::string& key) {
    for (const auto& observer : keyValueObservers_) {
        observer(key, false);
    }
}

}  // namespace tomefuse
