#include "app/TomefuseAppDelegate.h"

namespace tomefuse {

ListSnapshot TomefuseAppDelegate::listSnapshot() const { return {pdfsList_, selectedRowsInList()}; }

IndexSet TomefuseAppDelegate::selectedRowsInList() const {
    IndexSet rows = tableView_ ? tableView_->selectedRowIndexes() : IndexSet{};
    std::erase_if(rows, [this](uint64_t row) { return row >= pdfsList_.size(); });
    return rows;
}

void TomefuseAppDelegate::commitListEdit(std::string name, ListSnapshot before, const IndexSet& selection,
                                         const IndexSet& shown) {
    if (before.entries != pdfsList_) {
        undoStack_.push(ListEdit(std::move(name), std::move(before)));
    }
    reloadTable();
    if (!tableView_) {
        return;
    }
    if (!selection.empty()) {
        tableView_->selectRowIndexes(selection, false);
    }
    if (!shown.empty()) {
        // The first row last, so that it is in view when the rows are more than the table shows.
        tableView_->scrollRowToVisible(static_cast<int64_t>(*shown.rbegin()));
        tableView_->scrollRowToVisible(static_cast<int64_t>(*shown.begin()));
    }
}

size_t TomefuseAppDelegate::insertEntries(std::vector<PdfEntry> entries, uint64_t row) {
    if (entries.empty()) {
        reloadTable();
        return 0;
    }
    ListSnapshot before = listSnapshot();
    const uint64_t at = std::min<uint64_t>(row, pdfsList_.size());
    const size_t count = entries.size();
    pdfsList_.insert(pdfsList_.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(entries.begin()),
                     std::make_move_iterator(entries.end()));
    IndexSet added;
    for (size_t i = 0; i < count; ++i) {
        added.insert(at + i);
    }
    // Rows below the new ones moved down; a selection kept by row number would now name others.
    IndexSet selection;
    for (uint64_t row : before.selection) {
        selection.insert(row < at ? row : row + count);
    }
    commitListEdit(editName("Add", count), std::move(before), selection, added);
    return count;
}

void TomefuseAppDelegate::rearrangeList(Arrangement arrangement, std::string name) {
    willChangeValueForKey("pdfsList");
    ListSnapshot before = listSnapshot();
    pdfsList_ = std::move(arrangement.entries);
    didChangeValueForKey("pdfsList");
    commitListEdit(std::move(name), std::move(before), arrangement.selection, arrangement.selection);
}

// Undo may reorder the list as much as any move does, so observers hear of it the same way.
// The callers have made sure there is an edit to take back or make again.
void TomefuseAppDelegate::restoreListSnapshot(bool redoing) {
    ListSnapshot snapshot = listSnapshot();
    willChangeValueForKey("pdfsList");
    if (redoing) {
        undoStack_.redo(snapshot);
    } else {
        undoStack_.undo(snapshot);
    }
    pdfsList_ = std::move(snapshot.entries);
    didChangeValueForKey("pdfsList");
    reloadTable();
    if (tableView_) {
        tableView_->selectRowIndexes(snapshot.selection, false);
        if (!snapshot.selection.empty()) {
            tableView_->scrollRowToVisible(static_cast<int64_t>(*snapshot.selection.begin()));
        }
    }
}

void TomefuseAppDelegate::undo(Sender*) {
    if (!undoStack_.canUndo()) {
        services_.system.beep();
        return;
    }
    restoreListSnapshot(false);
}

void TomefuseAppDelegate::redo(Sender*) {
    if (!undoStack_.canRedo()) {
        services_.system.beep();
        return;
    }
    restoreListSnapshot(true);
}

}  // namespace tomefuse
