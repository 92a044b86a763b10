#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tomefuse {

// A table cell's value: a string, an unsigned number, or none.
using CellValue = std::variant<std::monostate, std::string, uint64_t>;

// One entry of the document list. Never changed in place: a rename makes a new entry.
struct PdfEntry {
    static constexpr std::string_view pathKey = "path";
    static constexpr std::string_view filenameKey = "filename";
    static constexpr std::string_view pagecountKey = "pagecount";
    static constexpr std::string_view outlinecountKey = "outlinecount";

    std::string path;      // absolute; the combine opens the file again from here
    std::string filename;  // display name
    uint64_t pagecount = 0;
    uint64_t outlinecount = 0;

    // The value under a key, compared exactly; none for any other key.
    CellValue valueForKey(std::string_view key) const;

    bool operator==(const PdfEntry&) const = default;
};

// The file's last path component without its last extension: "a.b.pdf" gives "a.b".
std::string displayNameForPath(const std::string& path);

}  // namespace tomefuse
