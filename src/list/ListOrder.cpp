#include "list/ListOrder.h"

#include <algorithm>
#include <numeric>

namespace tomefuse {

namespace {

// The list in the order of the old indices given, the selection carried along.
Arrangement permuted(const std::vector<PdfEntry>& list, const IndexSet& selection, const std::vector<size_t>& order) {
    Arrangement result;
    result.entries.reserve(list.size());
    for (size_t i = 0; i < order.size(); ++i) {
        result.entries.push_back(list[order[i]]);
        if (selection.contains(order[i])) {
            result.selection.insert(i);
        }
    }
    return result;
}

}  // namespace

// The gap is named by its position, not by a neighbour, so equal entries cannot send the block
// elsewhere.
Arrangement moveRows(const std::vector<PdfEntry>& list, const IndexSet& rows, uint64_t gap) {
    gap = std::min<uint64_t>(gap, list.size());
    std::vector<size_t> block;
    std::vector<size_t> rest;
    uint64_t above = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (rows.contains(i)) {
            block.push_back(i);
            above += i < gap;
        } else {
            rest.push_back(i);
        }
    }
    const uint64_t at = gap - above;
    std::vector<size_t> order = rest;
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), block.begin(), block.end());
    return permuted(list, rows, order);
}

uint64_t gapForMove(MoveDirection direction, const IndexSet& rows, uint64_t listSize) {
    switch (direction) {
        case MoveDirection::up:
            return *rows.begin() == 0 ? 0 : *rows.begin() - 1;
        case MoveDirection::down:
            return std::min<uint64_t>(*rows.rbegin() + 2, listSize);
        case MoveDirection::toTop:
            return 0;
        case MoveDirection::toBottom:
            return listSize;
    }
    return 0;
}

Arrangement sortedList(const std::vector<PdfEntry>& list, const IndexSet& selection, const EntryComparison& compare,
                       bool descending) {
    std::vector<size_t> order(list.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int result = compare(list[a], list[b]);
        return descending ? result > 0 : result < 0;
    });
    return permuted(list, selection, order);
}

Arrangement reversedList(const std::vector<PdfEntry>& list, const IndexSet& selection) {
    std::vector<size_t> order(list.size());
    std::iota(order.rbegin(), order.rend(), size_t{0});
    return permuted(list, selection, order);
}

}  // namespace tomefuse
