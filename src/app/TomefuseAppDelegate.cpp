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
      sorting_(list_, services_.compareNames),
      save_(services_, outlets_, list_, reader_) {
    list_.observe([this](const ListChange& change) { listChanged(change); });
    save_.setCombiningObserver([this](bool prior) { changeValueForKey(isCombiningKey, prior); });
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
    using T = TomefuseAppDelegate;
    const IndexSet shown = outlets_.tableView ? outlets_.tableView->selectedRowIndexes() : IndexSet{};
    const IndexSet rows = list_.rowsInList(shown);
    const uint64_t count = list_.size();
    const bool locked = std::any_of(rows.begin(), rows.end(),
                                    [&](uint64_t row) { return list_[row].failure == PDFOpenFailure::needsPassword; });
    const uint64_t first = rows.empty() ? 0 : *rows.begin();
    const bool interleaves =
        rows.size() == 1 && first + 1 < count && DocumentList::canInterleave(list_[first], list_[first + 1]);
    // One save at a time.
    const std::pair<Action, bool> enabled[] = {
        {&T::removeFromTable, !shown.empty()},
        {&T::saveToDisk, count >= 2 && !isCombining()},
        {&T::saveToTemporaryFile, !isCombining()},
        {&T::cancelCombine, isCombining()},
        {&T::enterPassword, locked},
        {&T::moveUp, canMove(MoveDirection::up, shown, count)},
        {&T::moveToTop, canMove(MoveDirection::up, shown, count)},
        {&T::moveDown, canMove(MoveDirection::down, shown, count)},
        {&T::moveToBottom, canMove(MoveDirection::down, shown, count)},
        {&T::sortByName, count >= 2},
        {&T::sortByDateModified, count >= 2},
        {&T::sortByPages, count >= 2},
        {&T::reverseOrder, count >= 2},
        {&T::renameFile, shown.size() == 1 && *shown.begin() < count},
        {&T::undo, list_.canUndo()},
        {&T::redo, list_.canRedo()},
        {&T::rotateRight, !rows.empty()},
        {&T::rotateLeft, !rows.empty()},
        {&T::interleaveWithNext, interleaves},
        {&T::interleaveWithNextReversed, interleaves},
    };
    for (const auto& [item, state] : enabled) {
        if (item == action) {
            return state;
        }
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
        changeValueForKey("pdfsList", change.prior);
    }
    if (change.prior) {
        return;
    }
    if (sorting_.listChanged(change) && outlets_.tableView) {
        outlets_.tableView->setSortIndicator(std::nullopt);
    }
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

void TomefuseAppDelegate::changeValueForKey(const std::string& key, bool prior) {
    for (const auto& observer : keyValueObservers_) {
        observer(key, prior);
    }
}

}  // namespace tomefuse
