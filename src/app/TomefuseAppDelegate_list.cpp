// The controller's part in the list: the commands that change it, the table's data source and
// delegate, and the drag-and-drop calls, each handed to the document list or to the intake.

#include "app/TomefuseAppDelegate.h"
#include "list/JobFile.h"
#include "platform/desktop/Translation.h"

namespace tomefuse {

size_t TomefuseAppDelegate::insertEntries(Intake intake, uint64_t row) {
    const size_t added = list_.insert(std::move(intake.entries), row, selectedRowsInList());
    if (!intake.leftOut.empty()) {
        showStatusMessage(intake.leftOut);
    }
    return added;
}

void TomefuseAppDelegate::append(std::optional<Intake> chosen) {
    if (chosen) {
        insertEntries(std::move(*chosen), list_.size());
    }
}

void TomefuseAppDelegate::addToTable(Sender*) { append(intake_.chooseFiles()); }
void TomefuseAppDelegate::addFolder(Sender*) { append(intake_.chooseFolder()); }

bool TomefuseAppDelegate::openFile(const std::string& path) {
    if (isJobFilePath(path)) {
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
        if (isJobFilePath(path)) {
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
    const EntryReader::Batch batch = reader_.batch();
    list_.refresh(selectedRowsInList(), [this](PdfEntry& entry) { return reader_.readIfLocked(entry); });
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

bool TomefuseAppDelegate::shouldEditTableColumn(const std::string& identifier, int64_t row) const {
    return list_.contains(row) && PdfEntry::isEditable(identifier);
}

void TomefuseAppDelegate::setObjectValue(const std::string& value, const std::string& identifier, int64_t row) {
    if (!list_.contains(row) || !PdfEntry::isEditable(identifier)) {
        return;
    }
    if (identifier == PdfEntry::pagecountKey) {
        choosePages(row, value);
        return;
    }
    if (!list_[static_cast<size_t>(row)].accepts(identifier, value)) {
        services_.system.beep();
        showStatusMessage(translate("tomefuse::TomefuseAppDelegate", "A file needs a name; the old one stays."));
        return;
    }
    services_.system.log("PDF filename changed to: " + value);
    list_.rename(static_cast<uint64_t>(row), value, selectedRowsInList());
}

bool TomefuseAppDelegate::acceptsObjectValue(const std::string& value, const std::string& identifier,
                                             int64_t row) const {
    return list_.contains(row) && list_[static_cast<size_t>(row)].accepts(identifier, value);
}

std::optional<RowFile> TomefuseAppDelegate::fileAtRow(int64_t row) const {
    return list_.contains(row) ? std::optional(list_[static_cast<size_t>(row)].rowFile()) : std::nullopt;
}

std::optional<std::vector<uint64_t>> TomefuseAppDelegate::pagesTakenAtRow(int64_t row) const {
    return list_.contains(row) ? list_[static_cast<size_t>(row)].pagesTaken() : std::nullopt;
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
    list_.writeRows(rows, pasteboard);
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

void TomefuseAppDelegate::moveSelection(MoveDirection direction) {
    if (!list_.move(direction, selectedRowsInList())) {
        services_.system.beep();
    }
}

void TomefuseAppDelegate::moveUp(Sender*) { moveSelection(MoveDirection::up); }
void TomefuseAppDelegate::moveDown(Sender*) { moveSelection(MoveDirection::down); }
void TomefuseAppDelegate::moveToTop(Sender*) { moveSelection(MoveDirection::toTop); }
void TomefuseAppDelegate::moveToBottom(Sender*) { moveSelection(MoveDirection::toBottom); }

void TomefuseAppDelegate::sortByName(Sender*) { sorting_.byName(selectedRowsInList()); }
void TomefuseAppDelegate::sortByDateModified(Sender*) { sorting_.byDateModified(selectedRowsInList()); }
void TomefuseAppDelegate::sortByPages(Sender*) { sorting_.byPages(selectedRowsInList()); }
void TomefuseAppDelegate::reverseOrder(Sender*) { list_.reverse(selectedRowsInList()); }

void TomefuseAppDelegate::didClickTableColumn(const std::string& identifier) {
    if (sorting_.byColumn(identifier, selectedRowsInList()) && outlets_.tableView) {
        outlets_.tableView->setSortIndicator(sorting_.indicator());
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

}  // namespace tomefuse
