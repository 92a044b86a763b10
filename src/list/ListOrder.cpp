#include "list/ListOrder.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <numeric>

#include "platform/desktop/Translation.h"

namespace tomefuse {

// The gap is named by its position, not by a neighbour, so equal entries cannot send the block
// elsewhere.
Order moveOrder(size_t size, const IndexSet& rows, uint64_t gap) {
    gap = std::min<uint64_t>(gap, size);
    Order block;
    Order rest;
    uint64_t above = 0;
    for (size_t i = 0; i < size; ++i) {
        if (rows.contains(i)) {
            block.push_back(i);
            above += i < gap;
        } else {
            rest.push_back(i);
        }
    }
    rest.insert(rest.begin() + static_cast<std::ptrdiff_t>(gap - above), block.begin(), block.end());
    return rest;
}

uint64_t gapForMove(MoveDirection direction, const IndexSet& rows, uint64_t size) {
    switch (direction) {
        case MoveDirection::up:
            return *rows.begin() == 0 ? 0 : *rows.begin() - 1;
        case MoveDirection::down:
            return std::min<uint64_t>(*rows.rbegin() + 2, size);
        case MoveDirection::toTop:
            return 0;
        case MoveDirection::toBottom:
            return size;
    }
    return 0;
}

bool canMove(MoveDirection direction, const IndexSet& rows, uint64_t size) {
    if (rows.empty() || *rows.rbegin() >= size) {
        return false;
    }
    if (direction == MoveDirection::up || direction == MoveDirection::toTop) {
        return *rows.rbegin() != rows.size() - 1;
    }
    return *rows.begin() + rows.size() != size;
}

Order sortOrder(const std::vector<PdfEntry>& list, const EntryComparison& compare, bool descending) {
    Order order(list.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int result = compare(list[a], list[b]);
        return descending ? result > 0 : result < 0;
    });
    return order;
}

bool isInOrder(const std::vector<PdfEntry>& list, const EntryComparison& compare, bool descending) {
    return std::is_sorted(list.begin(), list.end(), [&](const PdfEntry& a, const PdfEntry& b) {
        const int result = compare(a, b);
        return descending ? result > 0 : result < 0;
    });
}

Order reverseOrder(size_t size) {
    Order order(size);
    std::iota(order.rbegin(), order.rend(), size_t{0});
    return order;
}

IndexSet rowsAfter(const Order& order, const IndexSet& rows) {
    IndexSet after;
    for (size_t i = 0; i < order.size(); ++i) {
        if (rows.contains(order[i])) {
            after.insert(i);
        }
    }
    return after;
}

namespace {

int compareNumbers(uint64_t a, uint64_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace

EntryComparison byName(NameComparison compareNames) {
    return [compareNames = std::move(compareNames)](const PdfEntry& a, const PdfEntry& b) {
        return compareNames(a.filename, b.filename);
    };
}

EntryComparison byPages() {
    return [](const PdfEntry& a, const PdfEntry& b) { return compareNumbers(a.pagecount, b.pagecount); };
}

EntryComparison byDateModified(const std::vector<PdfEntry>& list) {
    using Time = std::filesystem::file_time_type;
    auto times = std::make_shared<std::map<std::string, Time>>();
    for (const PdfEntry& entry : list) {
        if (!times->contains(entry.path)) {
            std::error_code error;
            const Time time = std::filesystem::last_write_time(entry.path, error);
            times->emplace(entry.path, error ? Time::max() : time);
        }
    }
    return [times](const PdfEntry& a, const PdfEntry& b) {
        const Time x = times->at(a.path);
        const Time y = times->at(b.path);
        return x < y ? -1 : (y < x ? 1 : 0);
    };
}

std::optional<ColumnSort> sortForColumn(std::string_view identifier, const NameComparison& compareNames) {
    if (identifier == PdfEntry::filenameKey) {
        return ColumnSort{byName(compareNames), translate("tomefuse::ListEdit", "Sort by Name")};
    }
    if (identifier == PdfEntry::pagecountKey) {
        return ColumnSort{byPages(), translate("tomefuse::ListEdit", "Sort by Pages")};
    }
    if (identifier == PdfEntry::outlinecountKey) {
        return ColumnSort{
            [](const PdfEntry& a, const PdfEntry& b) { return compareNumbers(a.outlinecount, b.outlinecount); },
            translate("tomefuse::ListEdit", "Sort by Bookmarks")};
    }
    if (identifier == PdfEntry::pathKey) {
        return ColumnSort{[compareNames](const PdfEntry& a, const PdfEntry& b) { return compareNames(a.path, b.path); },
                          translate("tomefuse::ListEdit", "Sort by Location")};
    }
    return std::nullopt;
}

}  // namespace tomefuse
