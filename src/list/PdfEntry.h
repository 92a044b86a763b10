#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "list/PageSelection.h"

namespace tomefuse {

// A table cell's value: a string, an unsigned number, or none.
using CellValue = std::variant<std::monostate, std::string, uint64_t>;

// One entry of the document list. Never changed in place: a rename makes a new entry.
struct PdfEntry {
    static constexpr std::string_view pathKey = "path";
    static constexpr std::string_view filenameKey = "filename";
    static constexpr std::string_view pagecountKey = "pagecount";
    static constexpr std::string_view outlinecountKey = "outlinecount";

    PdfEntry() = default;
    PdfEntry(std::string path, std::string filename, uint64_t pagecount, uint64_t outlinecount)
        : path(std::move(path)), filename(std::move(filename)), pagecount(pagecount), outlinecount(outlinecount) {}

    std::string path;      // absolute; the combine opens the file again from here
    std::string filename;  // display name
    uint64_t pagecount = 0;
    uint64_t outlinecount = 0;
    // What the entry takes beyond its four keys: the pages chosen, all by default, and the
    // password of a protected file, held in memory only.
    PageSelection pages;
    std::string password;

    // The value under a key, compared exactly; none for any other key.
    CellValue valueForKey(std::string_view key) const;

    bool operator==(const PdfEntry&) const = default;
};

// The file's last path component without its last extension: "a.b.pdf" gives "a.b".
std::string displayNameForPath(const std::string& path);

}  // namespace tomefuse
