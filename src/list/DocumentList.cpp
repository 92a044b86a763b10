#include "list/DocumentList.h"

#include <algorithm>

#include "platform/desktop/Translation.h"

namespace tomefuse {

IndexSet DocumentList::rowsInList(IndexSet rows) const {
    std::erase_if(rows, [this](uint64_t row) { return row >= entries_.size(); });
    return rows;
}

bool DocumentList::writeRows(const IndexSet& rows, Pasteboard& pasteboard) const {
    std::vector<Pasteboard::Record> dragged;
    for (uint64_t row : rowsInList(rows)) {
        Pasteboard::Record& record = dragged.emplace_back();
        for (std::string_view key :
             {PdfEntry::pathKey, PdfEntry::filenameKey, PdfEntry::pagecountKey, PdfEntry::outlinecountKey}) {
            record.emplace_back(std::string(key), entries_[row].valueForKey(key));
        }
    }
    pasteboard.declareTypes({MultiplePDFContentType});
    return pasteboard.setPropertyList(dragged, MultiplePDFContentType);
}

void DocumentList::notify(const ListChange& change) const {
    for (const Observer& observer : observers_) {
        observer(change);
    }
}

void DocumentList::commit(ListEdit edit, const IndexSet& selected, const ListChange& change) {
    notify({true, change.reorders, {}, {}});
    edit.swap(entries_);
    IndexSet selection = selected;
    edit.swapSelection(selection);
    undo_.push(std::move(edit));
    notify(change);
}

size_t DocumentList::insert(std::vector<PdfEntry> entries, uint64_t row, const IndexSet& selected) {
    const size_t count = entries.size();
    if (count == 0) {
        notify({true, false, {}, {}});
        notify({});
        return 0;
    }
    const uint64_t at = std::min<uint64_t>(row, entries_.size());
    ListChange change;
    // Rows below the new ones move down; a selection kept by row number would now name others.
    IndexSet selection;
    for (uint64_t old : rowsInList(selected)) {
        selection.insert(old < at ? old : old + count);
    }
    if (!selection.empty()) {
        change.selection = std::move(selection);
    }
    for (size_t i = 0; i < count; ++i) {
        change.shown.insert(at + i);
    }
    commit(ListEdit::insertion(editName(FilesEdit::add, count), at, std::move(entries)), rowsInList(selected), change);
    return count;
}

bool DocumentList::remove(const IndexSet& rows) {
    const IndexSet removed = rowsInList(rows);
    if (removed.empty()) {
        return false;
    }
    ListChange change;
    const size_t left = entries_.size() - removed.size();
    if (left > 0) {
        change.selection = IndexSet{std::min<uint64_t>(*removed.begin(), left - 1)};
        change.shown = *change.selection;
    }
    commit(ListEdit::removal(editName(FilesEdit::remove, removed.size()), removed, entries_.size()), removed, change);
    return true;
}

bool DocumentList::keepsEveryEntry(const Order& order) const {
    for (size_t i = 0; i < order.size(); ++i) {
        if (!(entries_[order[i]] == entries_[i])) {
            return false;
        }
    }
    return true;
}

void DocumentList::rearrange(const Order& order, std::string name, const IndexSet& selected) {
    const IndexSet before = rowsInList(selected);
    ListChange change;
    change.reorders = true;
    change.shown = rowsAfter(order, before);
    if (!change.shown.empty()) {
        change.selection = change.shown;
    }
    // An order that changes no entry (equal entries trading places, or none moving) is nothing
    // to undo.
    ListEdit edit = ListEdit::reordering(std::move(name), keepsEveryEntry(order) ? Order() : order);
    if (edit.changesNothing()) {
        notify({true, true, {}, {}});
        // Equal entries still take their new places, as the order says.
        std::vector<PdfEntry> reordered;
        reordered.reserve(entries_.size());
        for (size_t from : order) {
            reordered.push_back(entries_[from]);
        }
        entries_ = std::move(reordered);
        notify(change);
        return;
    }
    commit(std::move(edit), before, change);
}

void DocumentList::move(const IndexSet& rows, uint64_t gap) {
    const IndexSet moved = rowsInList(rows);
    rearrange(moveOrder(entries_.size(), moved, gap), editName(FilesEdit::move, moved.size()), moved);
}

bool DocumentList::move(MoveDirection direction, const IndexSet& rows) {
    const IndexSet moved = rowsInList(rows);
    if (moved.empty()) {
        return false;
    }
    move(moved, gapForMove(direction, moved, entries_.size()));
    return true;
}

bool DocumentList::sort(const EntryComparison& compare, std::string name, bool descendingIfUnchanged,
                        const IndexSet& selected) {
    Order order = sortOrder(entries_, compare, false);
    const bool descending = descendingIfUnchanged && keepsEveryEntry(order);
    if (descending) {
        order = sortOrder(entries_, compare, true);
    }
    rearrange(order, std::move(name), selected);
    return descending;
}

void DocumentList::reverse(const IndexSet& selected) {
    rearrange(reverseOrder(entries_.size()), translate("tomefuse::ListEdit", "Reverse Order"), selected);
}

void DocumentList::rename(uint64_t row, std::string filename, const IndexSet& selected) {
    if (row >= entries_.size()) {
        return;
    }
    const PdfEntry& entry = entries_[row];
    if (entry.filename == filename) {
        // Nothing to undo, but the table shows the name again.
        notify({true, false, {}, {}});
        notify({});
        return;
    }
    commit(ListEdit::choice(translate("tomefuse::ListEdit", "Rename File"), row, std::move(filename), entry.pages),
           rowsInList(selected), {});
}

bool DocumentList::choosePages(uint64_t row, PageSelection pages, const IndexSet& selected) {
    if (row >= entries_.size() || entries_[row].pages == pages) {
        return false;
    }
    commit(ListEdit::choice(translate("tomefuse::ListEdit", "Choose Pages"), row, entries_[row].filename,
                            std::move(pages)),
           rowsInList(selected), {});
    return true;
}

namespace {

std::string turnName(int degrees) {
    return PageRotation::normalised(degrees) == 270 ? translate("tomefuse::ListEdit", "Rotate Left")
                                                    : translate("tomefuse::ListEdit", "Rotate Right");
}

}  // namespace

bool DocumentList::turn(const IndexSet& rows, int degrees, const IndexSet& selected) {
    std::vector<std::pair<uint64_t, PageRotation>> turned;
    for (uint64_t row : rowsInList(rows)) {
        turned.emplace_back(row, entries_[row].rotation);
        turned.back().second.turnAll(degrees);
    }
    if (turned.empty()) {
        return false;
    }
    commit(ListEdit::turning(turnName(degrees), std::move(turned)), rowsInList(selected), {});
    return true;
}

bool DocumentList::turnPages(uint64_t row, const PageSelection& pages, int degrees, const IndexSet& selected) {
    if (row >= entries_.size()) {
        return false;
    }
    PageRotation rotation = entries_[row].rotation;
    rotation.turnPages(pages, degrees);
    commit(ListEdit::turning(turnName(degrees), {{row, std::move(rotation)}}), rowsInList(selected), {});
    return true;
}

bool DocumentList::canInterleave(const PdfEntry& first, const PdfEntry& second) {
    return first.problem.empty() && second.problem.empty() && !first.partner && !second.partner;
}

bool DocumentList::interleave(uint64_t row, bool reversed, const IndexSet& selected) {
    if (row + 1 >= entries_.size() || !canInterleave(entries_[row], entries_[row + 1])) {
        return false;
    }
    const PdfEntry& second = entries_[row + 1];
    PdfEntry joined = entries_[row];
    joined.partner =
        EntryPartner{second.path, second.password, second.pagecount, reversed, second.fileSize, second.fileModified};
    joined.pagecount += second.pagecount;
    joined.pages = PageSelection();
    joined.rotation = PageRotation();
    ListChange change;
    change.selection = IndexSet{row};
    change.shown = IndexSet{row};
    const std::string name = reversed ? translate("tomefuse::ListEdit", "Interleave Reversed")
                                      : translate("tomefuse::ListEdit", "Interleave");
    commit(ListEdit::replacement(name, row, 2, {std::move(joined)}), rowsInList(selected), change);
    return true;
}

void DocumentList::replaceAll(std::vector<PdfEntry> entries, std::string name, const IndexSet& selected) {
    ListChange change;
    change.selection = IndexSet{};
    if (!entries.empty()) {
        change.selection = change.shown = IndexSet{0};
    }
    const uint64_t count = entries_.size();
    commit(ListEdit::replacement(std::move(name), 0, count, std::move(entries)), rowsInList(selected), change);
}

bool DocumentList::refresh(const std::function<bool(PdfEntry&)>& readAgain) {
    IndexSet every;
    for (uint64_t row = 0; row < entries_.size(); ++row) {
        every.insert(every.end(), row);
    }
    return refresh(every, readAgain);
}

bool DocumentList::refresh(const IndexSet& rows, const std::function<bool(PdfEntry&)>& readAgain) {
    bool changed = false;
    for (uint64_t row : rowsInList(rows)) {
        changed = readAgain(entries_[row]) || changed;
    }
    if (changed) {
        notify({true, false, {}, {}});
        notify({});
    }
    return changed;
}

bool DocumentList::step(bool redoing, const IndexSet& selected) {
    if (redoing ? !undo_.canRedo() : !undo_.canUndo()) {
        return false;
    }
    notify({true, true, {}, {}});
    IndexSet selection = rowsInList(selected);
    if (redoing) {
        undo_.redo(entries_, selection);
    } else {
        undo_.undo(entries_, selection);
    }
    ListChange change;
    change.reorders = true;
    if (!selection.empty()) {
        change.shown.insert(*selection.begin());
    }
    change.selection = std::move(selection);
    notify(change);
    return true;
}

bool DocumentList::undo(const IndexSet& selected) { return step(false, selected); }

bool DocumentList::redo(const IndexSet& selected) { return step(true, selected); }

}  // namespace tomefuse
