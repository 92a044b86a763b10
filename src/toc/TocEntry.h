#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/pdf/PDFGeometry.h"

namespace tomefuse {

// One outline item, flattened: its depth (1 for a top-level item), the index of its page in the
// document it was read from, the point on that page, and its label.
struct TocEntry {
    static constexpr std::string_view levelKey = "level";
    static constexpr std::string_view pageIndexKey = "pageIndex";
    static constexpr std::string_view locationOnPageKey = "locationOnPage";
    static constexpr std::string_view tocTextKey = "tocText";

    uint64_t level = 0;
    uint64_t pageIndex = NSNotFound;
    PDFPoint locationOnPage;
    std::string tocText;

    bool operator==(const TocEntry&) const = default;
};

}  // namespace tomefuse
