#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

namespace tomefuse {

using IndexSet = std::set<uint64_t>;

// A table cell's value: a string, an unsigned number, or none.
using CellValue = std::variant<std::monostate, std::string, uint64_t>;

// The column whose header last sorted the list, and which way.
struct SortIndicator {
    std::string identifier;
    bool descending = false;
    bool operator==(const SortIndicator&) const = default;
};

// The document table, as the controller sees it.
class TableView {
  public:
    virtual ~TableView() = default;
    // Asks the data source again for rows and values; keeps the rows still in range selected.
    virtual void reloadData() = 0;
    // Negative when nothing is selected.
    virtual int64_t selectedRow() const = 0;
    virtual IndexSet selectedRowIndexes() const = 0;
    virtual void selectRowIndexes(const IndexSet& indexes, bool byExtendingSelection) = 0;
    virtual void registerForDraggedTypes(const std::vector<std::string>& types) = 0;
    virtual void setDoubleAction(std::function<void()> action) = 0;
    virtual void scrollRowToVisible(int64_t row) = 0;
    // Begins editing the cell in place, as a double click on it would.
    virtual void editColumn(const std::string& identifier, int64_t row) = 0;
    // The arrow in a column's header; none: no header shows one.
    virtual void setSortIndicator(const std::optional<SortIndicator>& indicator) = 0;
};

}  // namespace tomefuse
