#include "app/TomefuseAppDelegate.h"

#include <algorithm>

#include "combine/DocumentOptions.h"
#include "platform/desktop/FileURL.h"
#include "platform/desktop/Translation.h"

namespace tomefuse {

namespace {

inline constexpr const char* helpPageURL = "https://tomefuse.org/help";

}  // namespace

TomefuseAppDelegate::TomefuseAppDelegate(DesktopServices services)
    : services_(std::move(services)),
      reader_(services_.passwordPanel, std::make_shared<PDFParseCache>(), &services_.userDefaults),
      intake_(reader_, services_),
      save_(services_, outlets_, list_, reader_) {
    list_.observe([this](const ListChange& change) { listChanged(change); });
    save_.setCombiningObserver([this](bool prior) {
        if (prior) {
            willChangeValueForKey(isCombiningKey);
        } else {
            didChangeValueForKey(isCombiningKey);
        }
    });
}

void TomefuseAppDelegate::addKeyValueObserver(KeyValueObserver observer) {
    keyValueObservers_.push_back(std::move(observer));
}

void TomefuseAppDelegate::applicationDidFinishLaunching() {
    services_.userDefaults.registerDefaults(settingDefaults());
    // The list was made at construction: files the desktop asked us to open before launch ended
    // are already in it and stay there.
    if (outlets_.tableView) {
        outlets_.tableView->registerForDraggedTypes({kUTTypeFileURL, MultiplePDFContentType});
        outlets_.tableView->setDoubleAction([this] { tableViewDoubleClicked(nullptr); });
    }
}

bool TomefuseAppDelegate::validateUserInterfaceItem(Action action) const {
    if (action == &TomefuseAppDelegate::removeFromTable) {
        return outlets_.tableView && !outlets_.tableView->selectedRowIndexes().empty();
    }
    // One save at a time.
    if (action == &TomefuseAppDelegate::saveToDisk) {
        return list_.size() >= 2 && !isCombining();
    }
    if (action == &TomefuseAppDelegate::saveToTemporaryFile) {
        return !isCombining();
    }
    if (action == &TomefuseAppDelegate::cancelCombine) {
        return isCombining();
    }
    if (action == &TomefuseAppDelegate::enterPassword) {
        const auto& list = list_.entries();
        const IndexSet rows = selectedRowsInList();
        return std::any_of(rows.begin(), rows.end(),
                           [&](uint64_t row) { return list[row].failure == PDFOpenFailure::needsPassword; });
    }
    if (auto arranging = validateArrangingItem(action)) {
        return *arranging;
    }
    if (auto pages = validatePagesItem(action)) {
        return *pages;
    }
    return true;
}

void TomefuseAppDelegate::showHelp(Sender*) {
    const std::string url = helpPagePath_.empty() ? std::string(helpPageURL) : fileURLForPath(helpPagePath_);
    services_.workspace.openURL(url, [this, url](bool opened) {
        if (opened) {
            return;
        }
        services_.system.log("No application opened " + url);
        if (outlets_.window) {
            outlets_.window->showAlert(
                translate("tomefuse::TomefuseAppDelegate", "The help could not be opened."),
                withArguments(translate("tomefuse::TomefuseAppDelegate",
                                        "No web browser is set up on this desktop. The help is at %1."),
                              {url}));
        }
    });
}

void TomefuseAppDelegate::reloadTable() {
    if (outlets_.tableView) {
        outlets_.tableView->reloadData();
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
    keepSortIndicator(change);
    reloadTable();
    if (!outlets_.tableView) {
        return;
    }
    if (change.selection) {
        outlets_.tableView->selectRowIndexes(*change.selection, false);
    }
    if (!change.shown.empty()) {
        // The first row last, so that it is in view when the rows are more than the table shows.
        outlets_.tableView->scrollRowToVisible(static_cast<int64_t>(*change.shown.rbegin()));
        outlets_.tableView->scrollRowToVisible(static_cast<int64_t>(*change.shown.begin()));
    }
}

IndexSet TomefuseAppDelegate::selectedRowsInList() const {
    return outlets_.tableView ? list_.rowsInList(outlets_.tableView->selectedRowIndexes()) : IndexSet{};
}

void TomefuseAppDelegate::showStatusMessage(const std::string& message) {
    if (outlets_.window) {
        outlets_.window->showStatusMessage(message);
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
