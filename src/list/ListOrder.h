#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "list/PdfEntry.h"
#include "platform/desktop/TableView.h"

namespace tomefuse {

// A new order of the list, and where the rows that were selected stand in it.
struct Arrangement {
    std::vector<PdfEntry> entries;
    IndexSet selection;
};

// The rows, as one block in their order, put into the gap `gap` (0 to the list's length,
// counted before the block is taken out). The block's new rows are the selection. Rows outside
// the list are ignored.
Arrangement moveRows(const std::vector<PdfEntry>& list, const IndexSet& rows, uint64_t gap);

enum class MoveDirection { up, down, toTop, toBottom };

// The gap a move command takes the rows to: above the row before the first of them, below the
// row after the last, the top or the bottom. The rows must not be empty.
uint64_t gapForMove(MoveDirection direction, const IndexSet& rows, uint64_t listSize);

// The list sorted by compare (negative: a before b), or against it when descending. Entries that
// compare equal keep their order; the selection follows its entries.
using EntryComparison = std::function<int(const PdfEntry& a, const PdfEntry& b)>;
Arrangement sortedList(const std::vector<PdfEntry>& list, const IndexSet& selection, const EntryComparison& compare,
                       bool descending);

Arrangement reversedList(const std::vector<PdfEntry>& list, const IndexSet& selection);

}  // namespace tomefuse
