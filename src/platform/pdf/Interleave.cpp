#include "platform/pdf/Interleave.h"

#include <algorithm>

namespace tomefuse {

std::vector<InterleavedPage> interleavedPages(uint64_t firstCount, uint64_t secondCount, bool reversed) {
    std::vector<InterleavedPage> pages;
    pages.reserve(firstCount + secondCount);
    const auto secondPage = [&](uint64_t i) { return InterleavedPage{true, reversed ? secondCount - 1 - i : i}; };
    const uint64_t both = std::min(firstCount, secondCount);
    for (uint64_t i = 0; i < both; ++i) {
        pages.push_back({false, i});
        pages.push_back(secondPage(i));
    }
    for (uint64_t i = both; i < firstCount; ++i) {
        pages.push_back({false, i});
    }
    for (uint64_t i = both; i < secondCount; ++i) {
        pages.push_back(secondPage(i));
    }
    return pages;
}

}  // namespace tomefuse
