#include "app/TomefuseAppDelegate.h"

#include "combine/DocumentOptions.h"
#include "platform/desktop/FileURL.h"

namespace tomefuse {

namespace {

inline constexpr const char* helpPageURL = "https://tomefuse.org/help";

}  // namespace

TomefuseAppDelegate::TomefuseAppDelegate(DesktopServices services)
    : services_(std::move(services)), reader_(services_.passwordPanel), intake_(reader_, services_) {
    list_.observe([this](const ListChange& change) { listChanged(change); });
}

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
        return list_.size() >= 2 && !combine_;
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

// Every edit of the list ends here: observers hear of a new order, and the table shows the list
// again with the rows the edit selects.
void TomefuseAppDelegate::listChanged(const ListChange& change) {
    if (change.reorders) {
        if (change.prior) {
            willChangeValueForKey("pdfsList");
        } else {
            didChangeValueForKey("pdfsList");
        }
    }
    if (change.prior) {
        return;
    }
    reloadTable();
    if (!tableView_) {
        return;
    }
    if (change.selection) {
        tableView_->selectRowIndexes(*change.selection, false);
    }
    if (!change.shown.empty()) {
        // The first row last, so that it is in view when the rows are more than the table shows.
        tableView_->scrollRowToVisible(static_cast<int64_t>(*change.shown.rbegin()));
        tableView_->scrollRowToVisible(static_cast<int64_t>(*change.shown.begin()));
    }
}

IndexSet TomefuseAppDelegate::selectedRowsInList() const {
    return tableView_ ? list_.rowsInList(tableView_->selectedRowIndexes()) : IndexSet{};
}

void TomefuseAppDelegate::showStatusMessage(const std::string& message) {
    if (window_) {
        window_->showStatusMessage(message);
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
