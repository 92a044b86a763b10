#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/pdf/PDFDestination.h"
#include "platform/pdf/PDFOutline.h"

namespace tomefuse {

// One outline item, flattened: its depth (1 for a top-level item), the index of its page in the
// document it was read from, the point on that page, and its label; and, so that nothing of it
// is lost, how its page is shown, what it does when it does not jump within its file, and its
// look.
struct TocEntry {
    // A jump to a page (pageIndex NSNotFound when the page is not in the document), another
    // action, or nothing at all.
    enum class Target { page, action, none };

    static constexpr std::string_view levelKey = "level";
    static constexpr std::string_view pageIndexKey = "pageIndex";
    static constexpr std::string_view locationOnPageKey = "locationOnPage";
    static constexpr std::string_view tocTextKey = "tocText";

    TocEntry() = default;
    TocEntry(uint64_t level, uint64_t pageIndex, PDFPoint locationOnPage, std::string tocText)
        : level(level), pageIndex(pageIndex), locationOnPage(locationOnPage), tocText(std::move(tocText)) {}

    uint64_t level = 0;
    uint64_t pageIndex = NSNotFound;
    PDFPoint locationOnPage;
    std::string tocText;
    Target target = Target::page;
    std::optional<PDFDestinationView> view;  // of a page target; none: XYZ at locationOnPage
    std::shared_ptr<const PDFAction> action;
    PDFOutlineStyle style;

    // Entries are equal by their four keys; how a page is shown and the look go with them.
    bool operator==(const TocEntry& other) const {
        return level == other.level && pageIndex == other.pageIndex && locationOnPage == other.locationOnPage &&
               tocText == other.tocText;
    }
};

}  // namespace tomefuse
