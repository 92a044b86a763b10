#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "list/PdfEntry.h"
#include "platform/desktop/NameComparison.h"
#include "platform/desktop/TableView.h"

namespace tomefuse {

// A new order of the list: row i takes the entry that stood at row order[i].
using Order = std::vector<size_t>;

// The rows, as one block in their order, put into the gap `gap` (0 to the list's length, counted
// before the block is taken out). Rows outside the list are ignored.
Order moveOrder(size_t size, const IndexSet& rows, uint64_t gap);

enum class MoveDirection { up, down, toTop, toBottom };

// The gap a move command takes the rows to: above the row before the first of them, below the
// row after the last, the top or the bottom. The rows must not be empty.
uint64_t gapForMove(MoveDirection direction, const IndexSet& rows, uint64_t size);

// Whether the move would take the rows anywhere: rows already at the top (bottom) have nowhere up
// (down) to go, and rows outside the list go nowhere.
bool canMove(MoveDirection direction, const IndexSet& rows, uint64_t size);

// Negative: a before b.
using EntryComparison = std::function<int(const PdfEntry& a, const PdfEntry& b)>;

// The list sorted by compare, or against it when descending; entries that compare equal keep
// their order.
Order sortOrder(const std::vector<PdfEntry>& list, const EntryComparison& compare, bool descending);
Order reverseOrder(size_t size);
// Whether the list stands in the order sortOrder would give.
bool isInOrder(const std::vector<PdfEntry>& list, const EntryComparison& compare, bool descending);

// Where the rows stand once the list is in the order.
IndexSet rowsAfter(const Order& order, const IndexSet& rows);

EntryComparison byName(NameComparison compareNames);
EntryComparison byPages();
// Each file's time is read once, now: the files may change while the sort runs. Missing files
// sort last.
EntryComparison byDateModified(const std::vector<PdfEntry>& list);

// The sort a click on a column's header asks for, named for Undo; none for a column that does not
// sort.
struct ColumnSort {
    EntryComparison compare;
    std::string name;
};
std::optional<ColumnSort> sortForColumn(std::string_view identifier, const NameComparison& compareNames);

}  // namespace tomefuse
