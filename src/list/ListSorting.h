#pragma once

#include <optional>
#include <string>

#include "list/DocumentList.h"
#include "list/ListOrder.h"
#include "platform/desktop/TableView.h"

namespace tomefuse {

// The sort commands, each one edit of the list, with names compared as the desktop compares them
// (or in natural order where it offers nothing). And the column the list was last sorted by from
// the table's header, while the list keeps that order: a second click on the same column sorts
// the other way; an order made by hand (a move, a drag, Undo and Redo, another sort) takes the
// arrow away, and so does an edit that leaves the list out of its order (an added file, a
// rename). Removing files keeps it.
class ListSorting {
  public:
    ListSorting(DocumentList& list, NameComparison desktopCompareNames);

    void byName(const IndexSet& selected);
    void byDateModified(const IndexSet& selected);
    void byPages(const IndexSet& selected);
    // Sorts by the column; answers whether it is one that sorts.
    bool byColumn(const std::string& identifier, const IndexSet& selected);
    // After each change of the list: answers whether the arrow went.
    bool listChanged(const ListChange& change);
    const std::optional<SortIndicator>& indicator() const { return sortedBy_; }

  private:
    DocumentList& list_;
    NameComparison compareNames_;
    std::optional<SortIndicator> sortedBy_;
    bool sortingByColumn_ = false;
};

}  // namespace tomefuse
