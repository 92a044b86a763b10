#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "list/ListOrder.h"
#include "list/PdfEntry.h"
#include "list/UndoStack.h"
#include "platform/desktop/Dragging.h"
#include "platform/desktop/TableView.h"

namespace tomefuse {

// The private drag type of rows dragged out of the table.
inline constexpr const char* MultiplePDFContentType = "MultiplePDFContent";

// What an edit did, for whatever shows the list: its observers hear of every edit twice, before
// the entries change (prior) and after.
struct ListChange {
    bool prior = false;
    // A new order of the same entries (a move, a sort, an undo or redo), which observers of
    // "pdfsList" hear of.
    bool reorders = false;
    // The rows to select afterwards; none: the selection stays as it is.
    std::optional<IndexSet> selection;
    // Rows to bring into view.
    IndexSet shown;
};

// The document list: the entries in the order they are combined, every change the user makes to
// them as one edit that Undo takes back, and where the selection goes after each. It shows
// nothing and asks nothing: the selection comes with each edit, and what an edit did goes to the
// observers. Rows outside the list are ignored.
class DocumentList {
  public:
    using Observer = std::function<void(const ListChange&)>;

    explicit DocumentList(size_t undoLimit = 100) : undo_(undoLimit) {}
    void observe(Observer observer) { observers_.push_back(std::move(observer)); }

    const std::vector<PdfEntry>& entries() const { return entries_; }
    size_t size() const { return entries_.size(); }
    bool contains(int64_t row) const { return row >= 0 && static_cast<uint64_t>(row) < entries_.size(); }
    const PdfEntry& operator[](size_t row) const { return entries_[row]; }
    // The rows given that are rows of the list.
    IndexSet rowsInList(IndexSet rows) const;
    // Writes a drag of the rows: each entry's four keys as it stands, under the private type.
    bool writeRows(const IndexSet& rows, Pasteboard& pasteboard) const;

    // The edits; `selected` is what is selected as the edit is asked for. Each is told to the
    // observers also when it changes nothing, so that what shows the list shows it again.

    // Puts the entries in at the row, after the rows before it; the selection stays on its
    // entries and the new rows come into view. Answers how many.
    size_t insert(std::vector<PdfEntry> entries, uint64_t row, const IndexSet& selected);
    // The selection goes to the row after the first block removed, or to the last row: a
    // selection kept by row number would pick rows the user never chose. False for no rows.
    bool remove(const IndexSet& rows);
    // The rows as one block into the gap (0 to the length), selected there.
    void move(const IndexSet& rows, uint64_t gap);
    // False, moving nothing, for no rows.
    bool move(MoveDirection direction, const IndexSet& rows);
    // A second sort by the same key, the list being in that order already, sorts it the other
    // way when descendingIfUnchanged. Answers whether it sorted the other way.
    bool sort(const EntryComparison& compare, std::string name, bool descendingIfUnchanged, const IndexSet& selected);
    void reverse(const IndexSet& selected);
    // The selection stays as it is.
    void rename(uint64_t row, std::string filename, const IndexSet& selected);
    // False when the entry takes these pages already: nothing to do.
    bool choosePages(uint64_t row, PageSelection pages, const IndexSet& selected);
    // Rotate Right (degrees 90) and Rotate Left (-90): every page of the rows given turns, on top of
    // what it had; the selection stays. False when no row given is in the list.
    bool turn(const IndexSet& rows, int degrees, const IndexSet& selected);
    // The same for some pages of one entry, counted in its pages (as the Pages cell counts).
    bool turnPages(uint64_t row, const PageSelection& pages, int degrees, const IndexSet& selected);
    // The entry at row and the next made one, their pages taken in turn (A1 B1 A2 B2 …, or with
    // the second last page first); the entry keeps the first's name and is selected. Both must be
    // files that can be read, neither made of two already. The pages chosen and turns of both go:
    // they counted in each file's own pages. False when it cannot be done.
    bool interleave(uint64_t row, bool reversed, const IndexSet& selected);
    static bool canInterleave(const PdfEntry& first, const PdfEntry& second);
    // Every entry gives way to these, as one edit (a list opened); the first is selected.
    void replaceAll(std::vector<PdfEntry> entries, std::string name, const IndexSet& selected);
    // Lets readAgain bring each entry up to date with its file (answering whether it did); the
    // files changed, not the list, so there is nothing to undo. Answers whether any entry changed.
    bool refresh(const std::function<bool(PdfEntry&)>& readAgain);
    // The same for the rows given only.
    bool refresh(const IndexSet& rows, const std::function<bool(PdfEntry&)>& readAgain);

    // Undo and redo may reorder the list as much as a move does, and are told as one.
    bool undo(const IndexSet& selected);
    bool redo(const IndexSet& selected);
    bool canUndo() const { return undo_.canUndo(); }
    bool canRedo() const { return undo_.canRedo(); }
    // What Undo and Redo would do ("Remove 2 Files"); empty when nothing.
    std::string undoActionName() const { return undo_.undoActionName(); }
    std::string redoActionName() const { return undo_.redoActionName(); }

  private:
    void notify(const ListChange& change) const;
    // Makes the edit and remembers it for Undo, with the rows selected before it.
    void commit(ListEdit edit, const IndexSet& selected, const ListChange& change);
    void rearrange(const Order& order, std::string name, const IndexSet& selected);
    bool keepsEveryEntry(const Order& order) const;
    bool step(bool redoing, const IndexSet& selected);

    std::vector<PdfEntry> entries_;
    UndoStack undo_;
    std::vector<Observer> observers_;
};

}  // namespace tomefuse
