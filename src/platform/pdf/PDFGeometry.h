#pragma once

#include <cstdint>
#include <limits>

namespace tomefuse {

// PDF page space: points, origin at the lower left of the page.
struct PDFPoint {
    double x = 0;
    double y = 0;
    bool operator==(const PDFPoint&) const = default;
};

struct PDFRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    bool operator==(const PDFRect&) const = default;
};

enum class PDFDisplayBox { mediaBox, cropBox };

// The answer of a lookup that found no index. Large enough to lie past any page count, small
// enough that adding a page offset to it stays within 64 bits.
inline constexpr uint64_t NSNotFound = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());

}  // namespace tomefuse
