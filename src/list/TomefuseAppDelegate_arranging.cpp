#include <filesystem>
#include <map>

#include "app/TomefuseAppDelegate.h"
#include "list/FolderScan.h"
#include "list/NaturalOrder.h"

namespace tomefuse {

namespace {

int compareNumbers(uint64_t a, uint64_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

// Missing files sort last.
std::filesystem::file_time_type modificationTime(const std::string& path) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    return error ? std::filesystem::file_time_type::max() : time;
}

}  // namespace

int TomefuseAppDelegate::compareNames(const std::string& a, const std::string& b) const {
    return services_.compareNames ? services_.compareNames(a, b) : naturalCompare(a, b);
}

void TomefuseAppDelegate::showStatusMessage(const std::string& message) {
    if (window_) {
        window_->showStatusMessage(message);
    }
}

uint64_t TomefuseAppDelegate::gatherFolder(const std::string& folder, std::vector<PdfEntry>& into) const {
    const FolderContents contents =
        pdfFilesInFolder(folder, [this](const std::string& a, const std::string& b) { return compareNames(a, b); });
    uint64_t leftOut = contents.otherFiles;
    for (const std::string& path : contents.pdfs) {
        if (auto entry = makeEntry(path, false)) {
            into.push_back(std::move(*entry));
        } else {
            ++leftOut;
        }
    }
    return leftOut;
}

void TomefuseAppDelegate::addFolder(Sender*) {
    auto panel = services_.openPanel ? services_.openPanel() : nullptr;
    if (!panel) {
        services_.system.beep();
        return;
    }
    panel->setCanChooseDirectories(true);
    panel->setAllowsMultipleSelection(false);
    panel->setAllowedFileTypes({});
    if (panel->runModal() != NSModalResponseOK) {
        return;
    }
    std::vector<PdfEntry> entries;
    uint64_t notPdf = 0;
    for (const auto& folder : panel->URLs()) {
        notPdf += gatherFolder(folder, entries);
    }
    const bool added = insertEntries(std::move(entries), pdfsList_.size()) > 0;
    if (notPdf > 0) {
        showStatusMessage(notPdf == 1 ? "1 file was not a PDF" : std::to_string(notPdf) + " files were not PDFs");
    } else if (!added) {
        showStatusMessage(leftOutMessage(1, 0));
    }
}

void TomefuseAppDelegate::moveSelection(MoveDirection direction) {
    const IndexSet rows = selectedRowsInList();
    if (rows.empty()) {
        services_.system.beep();
        return;
    }
    rearrangeList(moveRows(pdfsList_, rows, gapForMove(direction, rows, pdfsList_.size())),
                  editName("Move", rows.size()));
}

void TomefuseAppDelegate::moveUp(Sender*) { moveSelection(MoveDirection::up); }
void TomefuseAppDelegate::moveDown(Sender*) { moveSelection(MoveDirection::down); }
void TomefuseAppDelegate::moveToTop(Sender*) { moveSelection(MoveDirection::toTop); }
void TomefuseAppDelegate::moveToBottom(Sender*) { moveSelection(MoveDirection::toBottom); }

void TomefuseAppDelegate::sortList(const EntryComparison& compare, std::string name, bool descendingIfUnchanged) {
    const IndexSet selection = selectedRowsInList();
    Arrangement sorted = sortedList(pdfsList_, selection, compare, false);
    if (descendingIfUnchanged && sorted.entries == pdfsList_) {
        sorted = sortedList(pdfsList_, selection, compare, true);
    }
    rearrangeList(std::move(sorted), std::move(name));
}

void TomefuseAppDelegate::sortByName(Sender*) {
    sortList([this](const PdfEntry& a, const PdfEntry& b) { return compareNames(a.filename, b.filename); },
             "Sort by Name", false);
}

void TomefuseAppDelegate::sortByDateModified(Sender*) {
    // Each file's time is read once, now: the files may change while the sort runs.
    std::map<std::string, std::filesystem::file_time_type> times;
    for (const PdfEntry& entry : pdfsList_) {
        times.try_emplace(entry.path, modificationTime(entry.path));
    }
    sortList(
        [&times](const PdfEntry& a, const PdfEntry& b) {
            const auto x = times.at(a.path);
            const auto y = times.at(b.path);
            return x < y ? -1 : (y < x ? 1 : 0);
        },
        "Sort by Date Modified", false);
}

void TomefuseAppDelegate::sortByPages(Sender*) {
    sortList([](const PdfEntry& a, const PdfEntry& b) { return compareNumbers(a.pagecount, b.pagecount); },
             "Sort by Pages", false);
}

void TomefuseAppDelegate::reverseOrder(Sender*) {
    rearrangeList(reversedList(pdfsList_, selectedRowsInList()), "Reverse Order");
}

void TomefuseAppDelegate::didClickTableColumn(const std::string& identifier) {
    if (identifier == PdfEntry::filenameKey) {
        sortList([this](const PdfEntry& a, const PdfEntry& b) { return compareNames(a.filename, b.filename); },
                 "Sort by Name", true);
    } else if (identifier == PdfEntry::pagecountKey) {
        sortList([](const PdfEntry& a, const PdfEntry& b) { return compareNumbers(a.pagecount, b.pagecount); },
                 "Sort by Pages", true);
    } else if (identifier == PdfEntry::outlinecountKey) {
        sortList([](const PdfEntry& a, const PdfEntry& b) { return compareNumbers(a.outlinecount, b.outlinecount); },
                 "Sort by Bookmarks", true);
    } else if (identifier == PdfEntry::pathKey) {
        sortList([this](const PdfEntry& a, const PdfEntry& b) { return compareNames(a.path, b.path); },
                 "Sort by Location", true);
    }
}

void TomefuseAppDelegate::renameFile(Sender*) {
    const IndexSet rows = tableView_ ? tableView_->selectedRowIndexes() : IndexSet{};
    if (rows.size() != 1 || !rowInList(static_cast<int64_t>(*rows.begin()))) {
        services_.system.beep();
        return;
    }
    tableView_->scrollRowToVisible(static_cast<int64_t>(*rows.begin()));
    tableView_->editColumn(std::string(PdfEntry::filenameKey), static_cast<int64_t>(*rows.begin()));
}

std::optional<bool> TomefuseAppDelegate::validateArrangingItem(Action action) const {
    const IndexSet rows = tableView_ ? tableView_->selectedRowIndexes() : IndexSet{};
    const uint64_t count = pdfsList_.size();
    // Rows already at the top (bottom) have nowhere to go.
    const bool atTop = !rows.empty() && *rows.rbegin() == rows.size() - 1;
    const bool atBottom = !rows.empty() && *rows.begin() + rows.size() == count;
    if (action == &TomefuseAppDelegate::moveUp || action == &TomefuseAppDelegate::moveToTop) {
        return !rows.empty() && !atTop && *rows.rbegin() < count;
    }
    if (action == &TomefuseAppDelegate::moveDown || action == &TomefuseAppDelegate::moveToBottom) {
        return !rows.empty() && !atBottom && *rows.rbegin() < count;
    }
    if (action == &TomefuseAppDelegate::sortByName || action == &TomefuseAppDelegate::sortByDateModified ||
        action == &TomefuseAppDelegate::sortByPages || action == &TomefuseAppDelegate::reverseOrder) {
        return count >= 2;
    }
    if (action == &TomefuseAppDelegate::renameFile) {
        return rows.size() == 1 && *rows.begin() < count;
    }
    if (action == &TomefuseAppDelegate::undo) {
        return undoStack_.canUndo();
    }
    if (action == &TomefuseAppDelegate::redo) {
        return undoStack_.canRedo();
    }
    return std::nullopt;
}

}  // namespace tomefuse
