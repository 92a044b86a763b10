#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "list/ListOrder.h"
#include "list/PdfEntry.h"
#include "platform/desktop/TableView.h"

namespace tomefuse {

// Rows as runs of consecutive indices, first and count: a block or a selection of a thousand
// rows is one pair, not a thousand.
class RowRuns {
  public:
    RowRuns() = default;
    explicit RowRuns(const IndexSet& rows);
    IndexSet rows() const;
    const std::vector<std::pair<uint64_t, uint64_t>>& runs() const { return runs_; }
    void append(uint64_t first, uint64_t count);

  private:
    std::vector<std::pair<uint64_t, uint64_t>> runs_;
};

// One change of the list, named for the menu ("Remove 2 Files"). It holds only what the change
// touched: the entries it took out (none for entries it put in, which are in the list), the
// order of the rows between the first and the last it moved, or one entry's name and pages.
// Making the change turns it into the change that takes it back, so Undo and Redo are the same
// swap, whatever the edit.
class ListEdit {
  public:
    // The entries as one block at row `at` (at most the list's length).
    static ListEdit insertion(std::string name, uint64_t at, std::vector<PdfEntry> entries);
    // The rows given; rows outside the list are left alone.
    static ListEdit removal(std::string name, const IndexSet& rows, size_t listSize);
    static ListEdit reordering(std::string name, const Order& order);
    // The entry at row gets this name and these pages.
    static ListEdit choice(std::string name, uint64_t row, std::string filename, PageSelection pages);
    // Each row given gets the rotation beside it.
    static ListEdit turning(std::string name, std::vector<std::pair<uint64_t, PageRotation>> rotations);
    // The count rows from `at` give way to the entries (two files made one, a list opened).
    static ListEdit replacement(std::string name, uint64_t at, uint64_t count, std::vector<PdfEntry> entries);

    const std::string& name() const { return name_; }
    // An order that leaves every row where it is.
    bool changesNothing() const;

    // Makes the change to entries, and becomes the change that takes it back.
    void swap(std::vector<PdfEntry>& entries);
    // The rows selected on the other side of the change, exchanged for those selected on this one.
    void swapSelection(IndexSet& selection);

  private:
    struct Splice {
        RowRuns rows;                   // where the entries stand when they are in
        std::vector<PdfEntry> entries;  // the entries to put in; empty while they are in
        bool putsIn = false;
    };
    struct Reorder {
        uint64_t first = 0;
        std::vector<uint32_t> order;  // row first + i takes the entry at first + order[i]
    };
    struct Choice {
        uint64_t row = 0;
        std::string filename;
        PageSelection pages;
    };
    struct Turn {
        std::vector<std::pair<uint64_t, PageRotation>> rotations;
    };
    struct Replace {
        uint64_t at = 0;
        uint64_t count = 0;             // rows in the list now
        std::vector<PdfEntry> entries;  // what takes their place
    };
    using Change = std::variant<Splice, Reorder, Choice, Turn, Replace>;

    ListEdit(std::string name, Change change) : name_(std::move(name)), change_(std::move(change)) {}
    static void swapSplice(Splice& splice, std::vector<PdfEntry>& entries);
    static void swapOrder(Reorder& reorder, std::vector<PdfEntry>& entries);
    static void swapReplace(Replace& replace, std::vector<PdfEntry>& entries);

    std::string name_;
    Change change_;
    RowRuns otherSelection_;
};

// The edits of some files, named after them: "Remove File", "Remove 2 Files".
enum class FilesEdit { add, remove, move };
std::string editName(FilesEdit edit, size_t files);

}  // namespace tomefuse
