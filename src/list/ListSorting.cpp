#include "list/ListSorting.h"

#include "list/NaturalOrder.h"
#include "platform/desktop/Translation.h"

namespace tomefuse {

ListSorting::ListSorting(DocumentList& list, NameComparison desktopCompareNames)
    : list_(list), compareNames_(desktopOrNaturalOrder(std::move(desktopCompareNames))) {}

void ListSorting::byName(const IndexSet& selected) {
    list_.sort(tomefuse::byName(compareNames_), translate("tomefuse::ListEdit", "Sort by Name"), false, selected);
}

void ListSorting::byDateModified(const IndexSet& selected) {
    list_.sort(tomefuse::byDateModified(list_.entries()), translate("tomefuse::ListEdit", "Sort by Date Modified"),
               false, selected);
}

void ListSorting::byPages(const IndexSet& selected) {
    list_.sort(tomefuse::byPages(), translate("tomefuse::ListEdit", "Sort by Pages"), false, selected);
}

bool ListSorting::byColumn(const std::string& identifier, const IndexSet& selected) {
    auto sort = sortForColumn(identifier, compareNames_);
    if (!sort) {
        return false;
    }
    // The sort's own change must not take away the arrow it is about to set.
    sortingByColumn_ = true;
    const bool descending = list_.sort(sort->compare, sort->name, true, selected);
    sortingByColumn_ = false;
    sortedBy_ = SortIndicator{identifier, descending};
    return true;
}

bool ListSorting::listChanged(const ListChange& change) {
    if (!sortedBy_ || sortingByColumn_ || change.prior) {
        return false;
    }
    if (!change.reorders) {
        const auto sort = sortForColumn(sortedBy_->identifier, compareNames_);
        if (sort && isInOrder(list_.entries(), sort->compare, sortedBy_->descending)) {
            return false;
        }
    }
    sortedBy_.reset();
    return true;
}

}  // namespace tomefuse
