// The controller's part in the list: the commands that change it, the table's data source and
// delegate, and the drag-and-drop calls, each handed to the document list or to the intake.

#include "app/TomefuseAppDelegate.h"
#include "list/NaturalOrder.h"
#include "platform/desktop/Translation.h"

namespace tomefuse {

namespace {

bool isBlank(const std::string& name) { return name.find_first_not_of(" \t\n\r\f\v") == std::string::npos; }

}  // namespace

size_t TomefuseAppDelegate::insertEntries(Intake intake, uint64_t row) {
    const size_t added = list_.insert(std::move(intake.entries), row, selectedRowsInList());
    if (!intake.leftOut.empty()) {
        showStatusMessage(intake.leftOut);
    }
    return added;
}

void TomefuseAppDelegate::addToTable(Sender*) {
    if (auto chosen = intake_.chooseFiles()) {
        insertEntries(std::move(*chosen), list_.size());
    }
}

void TomefuseAppDelegate::addFolder(Sender*) {
    if (auto chosen = intake_.chooseFolder()) {
        insertEntries(std::move(*chosen), list_.size());
    }
}

namespace {

// A list kept in a file, handed over as the files to list are.
bool isJobFile(const std::string& path) {
    const std::string suffix = std::string(".") + jobFileExtension;
    return path.size() > suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

bool TomefuseAppDelegate::openFile(const std::string& path) {
    if (isJobFile(path)) {
        return openJob(path);
    }
    Intake intake = intake_.requested({path});
    // A file that does not open leaves the list and the table alone.
    return !intake.entries.empty() && insertEntries(std::move(intake), list_.size()) > 0;
}

void TomefuseAppDelegate::openFiles(const std::vector<std::string>& paths) {
    std::vector<std::string> files;
    bool jobs = false;
    for (const std::string& path : paths) {
        if (isJobFile(path)) {
            jobs = openJob(path) || jobs;
        } else {
            files.push_back(path);
        }
    }
    if (!files.empty() || !jobs) {
        insertEntries(intake_.requested(files), list_.size());
    }
}

void TomefuseAppDelegate::enterPassword(Sender*) {
    const IndexSet rows = selectedRowsInList();
    const PdfEntry* first = list_.entries().data();
    const EntryReader::Batch batch = reader_.batch();
    list_.refresh([&](PdfEntry& entry) {
        if (entry.failure != PDFOpenFailure::needsPassword || !rows.contains(static_cast<uint64_t>(&entry - first))) {
            return false;
        }
        reader_.read(entry);
        return true;
    });
}

bool TomefuseAppDelegate::refreshEntries() {
    return list_.refresh([this](PdfEntry& entry) { return reader_.readIfChanged(entry); });
}

void TomefuseAppDelegate::removeFromTable(Sender*) {
    if (!list_.remove(selectedRowsInList())) {
        services_.system.beep();
    }
}

void TomefuseAppDelegate::tableViewDoubleClicked(Sender*) {
    const int64_t row = outlets_.tableView ? outlets_.tableView->selectedRow() : -1;
    if (row < 0) {
        addToTable(nullptr);
    } else if (list_.contains(row)) {
        services_.workspace.openFile(list_[static_cast<size_t>(row)].path, {});
    }
}

int64_t TomefuseAppDelegate::numberOfRowsInTableView() const { return static_cast<int64_t>(list_.size()); }

CellValue TomefuseAppDelegate::objectValueForTableColumn(const std::string& identifier, int64_t row) const {
    return list_.contains(row) ? list_[static_cast<size_t>(row)].valueForKey(identifier) : CellValue();
}

// The name is edited in its cell, and the pages taken in the pages cell.
bool TomefuseAppDelegate::shouldEditTableColumn(const std::string& identifier, int64_t row) const {
    return list_.contains(row) && (identifier == PdfEntry::filenameKey || identifier == PdfEntry::pagecountKey);
}

void TomefuseAppDelegate::setObjectValue(const std::string& value, const std::string& identifier, int64_t row) {
    if (!list_.contains(row)) {
        return;
    }
    if (identifier == PdfEntry::pagecountKey) {
        choosePages(row, value);
        return;
    }
    if (identifier != PdfEntry::filenameKey) {
        return;
    }
    // A blank name would make a blank row, an empty bookmark and a quick save named only by its
    // suffix: the old name stays.
    if (isBlank(value)) {
        services_.system.beep();
        showStatusMessage(translate("tomefuse::TomefuseAppDelegate", "A file needs a name; the old one stays."));
        return;
    }
    services_.system.log("PDF filename changed to: " + value);
    list_.rename(static_cast<uint64_t>(row), value, selectedRowsInList());
}

bool TomefuseAppDelegate::acceptsObjectValue(const std::string& value, const std::string& identifier,
                                             int64_t row) const {
    if (!list_.contains(row)) {
        return false;
    }
    if (identifier == PdfEntry::pagecountKey) {
        return PageSelection::parse(value, list_[static_cast<size_t>(row)].pagecount).selection.has_value();
    }
    return identifier == PdfEntry::filenameKey && !isBlank(value);
}

std::optional<RowFile> TomefuseAppDelegate::fileAtRow(int64_t row) const {
    if (!list_.contains(row)) {
        return std::nullopt;
    }
    const PdfEntry& entry = list_[static_cast<size_t>(row)];
    RowFile file;
    file.path = entry.path;
    file.filename = entry.filename;
    file.password = entry.password;
    file.outlinecount = entry.outlinecount;
    file.fileSize = entry.fileSize;
    file.fileModified = entry.fileModified;
    if (entry.partner) {
        // The preview shows the first file; its pages are not the entry's one for one.
        file.partnerPath = entry.partner->path;
        const uint64_t own = entry.pagecount - entry.partner->pagecount;
        if (entry.rotation.all() != 0) {
            file.turns.assign(own, entry.rotation.all());
        }
        return file;
    }
    if (entry.rotation.isNone()) {
        return file;
    }
    std::vector<uint64_t> every(entry.pagecount);
    for (uint64_t i = 0; i < entry.pagecount; ++i) {
        every[i] = i;
    }
    file.turns = entry.rotation.turnsFor(every, entry.pagecount);
    return file;
}

std::optional<std::vector<uint64_t>> TomefuseAppDelegate::pagesTakenAtRow(int64_t row) const {
    if (!list_.contains(row) || list_[static_cast<size_t>(row)].pages.isAll()) {
        return std::nullopt;
    }
    const PdfEntry& entry = list_[static_cast<size_t>(row)];
    return entry.pages.pages(entry.pagecount).value_or(std::vector<uint64_t>{});
}

void TomefuseAppDelegate::choosePages(int64_t row, const std::string& text) {
    if (!list_.contains(row)) {
        return;
    }
    const PdfEntry& entry = list_[static_cast<size_t>(row)];
    PageSelection::Parsed parsed = PageSelection::parse(text, entry.pagecount);
    if (!parsed.selection) {
        services_.system.beep();
        if (outlets_.window) {
            outlets_.window->showAlert(
                withArguments(translate("tomefuse::TomefuseAppDelegate", "These pages cannot be taken from “%1”."),
                              {entry.filename}),
                parsed.error);
        }
        return;
    }
    list_.choosePages(static_cast<uint64_t>(row), std::move(*parsed.selection), selectedRowsInList());
}

bool TomefuseAppDelegate::writeRowsWithIndexes(const IndexSet& rows, Pasteboard& pasteboard) {
    pasteboard.declareTypes({MultiplePDFContentType});
    // Each dragged entry's four keys, as it stands.
    std::vector<Pasteboard::Record> dragged;
    for (uint64_t row : list_.rowsInList(rows)) {
        Pasteboard::Record& record = dragged.emplace_back();
        for (std::string_view key :
             {PdfEntry::pathKey, PdfEntry::filenameKey, PdfEntry::pagecountKey, PdfEntry::outlinecountKey}) {
            record.emplace_back(std::string(key), list_[row].valueForKey(key));
        }
    }
    pasteboard.setPropertyList(dragged, MultiplePDFContentType);
    return true;
}

// A drag from another process has no source; it must not pass for ours when the outlet is unset.
bool TomefuseAppDelegate::isRowMove(const DraggingInfo& info) const {
    return outlets_.tableView && info.draggingSource() == static_cast<const void*>(outlets_.tableView);
}

NSDragOperation TomefuseAppDelegate::validateDrop(DraggingInfo& info, int64_t, NSTableViewDropOperation operation) {
    if (operation == NSTableViewDropOn) {
        return NSDragOperationNone;
    }
    if (isRowMove(info)) {
        return NSDragOperationMove;
    }
    return FileIntake::offersFiles(info.draggingPasteboard()) ? NSDragOperationCopy : NSDragOperationNone;
}

// Rows and files go where the drop line showed.
bool TomefuseAppDelegate::acceptDrop(DraggingInfo& info, int64_t row, NSTableViewDropOperation) {
    const uint64_t gap = row < 0 ? 0 : static_cast<uint64_t>(row);
    if (isRowMove(info)) {
        if (outlets_.tableView->selectedRowIndexes().empty()) {
            return false;
        }
        list_.move(selectedRowsInList(), gap);
        return true;
    }
    return insertEntries(intake_.dropped(info.draggingPasteboard()), gap) > 0;
}

NameComparison TomefuseAppDelegate::compareNames() const { return desktopOrNaturalOrder(services_.compareNames); }

void TomefuseAppDelegate::moveSelection(MoveDirection direction) {
    if (!list_.move(direction, selectedRowsInList())) {
        services_.system.beep();
    }
}

void TomefuseAppDelegate::moveUp(Sender*) { moveSelection(MoveDirection::up); }
void TomefuseAppDelegate::moveDown(Sender*) { moveSelection(MoveDirection::down); }
void TomefuseAppDelegate::moveToTop(Sender*) { moveSelection(MoveDirection::toTop); }
void TomefuseAppDelegate::moveToBottom(Sender*) { moveSelection(MoveDirection::toBottom); }

void TomefuseAppDelegate::sortByName(Sender*) {
    list_.sort(byName(compareNames()), translate("tomefuse::ListEdit", "Sort by Name"), false, selectedRowsInList());
}

void TomefuseAppDelegate::sortByDateModified(Sender*) {
    list_.sort(byDateModified(list_.entries()), translate("tomefuse::ListEdit", "Sort by Date Modified"), false,
               selectedRowsInList());
}

void TomefuseAppDelegate::sortByPages(Sender*) {
    list_.sort(byPages(), translate("tomefuse::ListEdit", "Sort by Pages"), false, selectedRowsInList());
}

void TomefuseAppDelegate::reverseOrder(Sender*) { list_.reverse(selectedRowsInList()); }

void TomefuseAppDelegate::didClickTableColumn(const std::string& identifier) {
    auto sort = sortForColumn(identifier, compareNames());
    if (!sort) {
        return;
    }
    sortingByHeader_ = true;
    const bool descending = list_.sort(sort->compare, sort->name, true, selectedRowsInList());
    sortingByHeader_ = false;
    sortedBy_ = SortIndicator{identifier, descending};
    if (outlets_.tableView) {
        outlets_.tableView->setSortIndicator(sortedBy_);
    }
}

// The header's arrow says how the list stands: an order made by hand (a move, a drag, Undo and
// Redo, another sort) takes it away, and so does an edit that leaves the list out of its order
// (an added file, a rename). Removing files keeps it.
void TomefuseAppDelegate::keepSortIndicator(const ListChange& change) {
    if (!sortedBy_ || sortingByHeader_) {
        return;
    }
    if (!change.reorders) {
        const auto sort = sortForColumn(sortedBy_->identifier, compareNames());
        if (sort && isInOrder(list_.entries(), sort->compare, sortedBy_->descending)) {
            return;
        }
    }
    sortedBy_.reset();
    if (outlets_.tableView) {
        outlets_.tableView->setSortIndicator(std::nullopt);
    }
}

void TomefuseAppDelegate::renameFile(Sender*) {
    const IndexSet rows = outlets_.tableView ? outlets_.tableView->selectedRowIndexes() : IndexSet{};
    if (rows.size() != 1 || !list_.contains(static_cast<int64_t>(*rows.begin()))) {
        services_.system.beep();
        return;
    }
    outlets_.tableView->scrollRowToVisible(static_cast<int64_t>(*rows.begin()));
    outlets_.tableView->editColumn(std::string(PdfEntry::filenameKey), static_cast<int64_t>(*rows.begin()));
}

void TomefuseAppDelegate::undo(Sender*) {
    if (!list_.undo(selectedRowsInList())) {
        services_.system.beep();
    }
}

void TomefuseAppDelegate::redo(Sender*) {
    if (!list_.redo(selectedRowsInList())) {
        services_.system.beep();
    }
}

std::optional<bool> TomefuseAppDelegate::validateArrangingItem(Action action) const {
    const IndexSet rows = outlets_.tableView ? outlets_.tableView->selectedRowIndexes() : IndexSet{};
    const uint64_t count = list_.size();
    if (action == &TomefuseAppDelegate::moveUp || action == &TomefuseAppDelegate::moveToTop) {
        return canMove(MoveDirection::up, rows, count);
    }
    if (action == &TomefuseAppDelegate::moveDown || action == &TomefuseAppDelegate::moveToBottom) {
        return canMove(MoveDirection::down, rows, count);
    }
    if (action == &TomefuseAppDelegate::sortByName || action == &TomefuseAppDelegate::sortByDateModified ||
        action == &TomefuseAppDelegate::sortByPages || action == &TomefuseAppDelegate::reverseOrder) {
        return count >= 2;
    }
    if (action == &TomefuseAppDelegate::renameFile) {
        return rows.size() == 1 && *rows.begin() < count;
    }
    if (action == &TomefuseAppDelegate::undo) {
        return list_.canUndo();
    }
    if (action == &TomefuseAppDelegate::redo) {
        return list_.canRedo();
    }
    return std::nullopt;
}

}  // namespace tomefuse
