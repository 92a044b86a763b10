#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/Dragging.h"
#include "platform/desktop/TableView.h"
#include "platform/pdf/ImagePages.h"

namespace tomefuse {

// The keys of a listed file's values, which also name the table's columns.
namespace EntryKey {
inline constexpr std::string_view path = "path";
inline constexpr std::string_view filename = "filename";
inline constexpr std::string_view pagecount = "pagecount";
inline constexpr std::string_view outlinecount = "outlinecount";
// The pages chosen as text ("all", "1-3, 7"), how many that takes, and why the file cannot be
// read (empty when it can).
inline constexpr std::string_view pages = "pages";
inline constexpr std::string_view pagesTaken = "pagestaken";
inline constexpr std::string_view problem = "problem";
// How the entry's pages are turned: "" not at all, "90", "180" or "270" every page alike,
// "some" when pages differ.
inline constexpr std::string_view turned = "turned";
// The file interleaved with the entry's own; empty for none.
inline constexpr std::string_view partner = "partner";
}  // namespace EntryKey

// A listed file as the views beside the table show it.
struct RowFile {
    std::string path;
    std::string filename;
    std::string password;  // empty: none given
    uint64_t outlinecount = 0;
    // The file as it was when read, to notice it change.
    int64_t fileSize = -1;
    int64_t fileModified = 0;
    // The degrees each page of the file is turned by, clockwise; empty when none is.
    std::vector<int> turns;
    // Another file whose pages alternate with this one's; empty for none.
    std::string partnerPath;
    std::string partnerPassword;
    bool partnerReversed = false;
    int64_t partnerSize = -1;
    int64_t partnerModified = 0;
    // The size an image file's pages are made at.
    ImagePageSize imagePages = ImagePageSize::natural;
};

// What the document table and the views beside it ask of the list, and where their edits, sorts
// and drags go. Rows outside the list are ignored.
class TableDataSource {
  public:
    virtual ~TableDataSource() = default;

    virtual int64_t numberOfRowsInTableView() const = 0;
    virtual CellValue objectValueForTableColumn(const std::string& identifier, int64_t row) const = 0;
    virtual bool shouldEditTableColumn(const std::string& identifier, int64_t row) const = 0;
    virtual void setObjectValue(const std::string& value, const std::string& identifier, int64_t row) = 0;
    // Whether setObjectValue would take the value as it stands rather than refuse it.
    virtual bool acceptsObjectValue(const std::string& value, const std::string& identifier, int64_t row) const = 0;
    virtual void didClickTableColumn(const std::string& identifier) = 0;

    virtual bool writeRowsWithIndexes(const IndexSet& rows, Pasteboard& pasteboard) = 0;
    virtual NSDragOperation validateDrop(DraggingInfo& info, int64_t row, NSTableViewDropOperation operation) = 0;
    virtual bool acceptDrop(DraggingInfo& info, int64_t row, NSTableViewDropOperation operation) = 0;

    // The table that is told of changes; none when nobody set one.
    virtual TableView* tableView() const = 0;

    // The file at a row; none outside the list.
    virtual std::optional<RowFile> fileAtRow(int64_t row) const = 0;
    // The entry at a row as the preview draws it: an interleaved entry's pages and turns counted
    // in its own order, of both files; images at the size they were read. None outside the list.
    virtual std::optional<RowFile> previewFileAtRow(int64_t row) const = 0;
    // The 0-based pages taken from the file at a row, in order; none when it takes all of them.
    // Empty when it names pages the file no longer has: the combine takes none then.
    virtual std::optional<std::vector<uint64_t>> pagesTakenAtRow(int64_t row) const = 0;
};

}  // namespace tomefuse
