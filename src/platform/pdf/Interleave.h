#pragma once

#include <cstdint>
#include <vector>

namespace tomefuse {

// A page of an entry made of two files interleaved: which file, and its page there (0-based).
struct InterleavedPage {
    bool second = false;
    uint64_t index = 0;
    bool operator==(const InterleavedPage&) const = default;
};

// The pages of two files taken in turn, a duplex scan's fronts and backs: A1 B1 A2 B2 …, or with
// the second file last page first (a stack of backs scanned from the bottom), A1 Bn A2 Bn-1 ….
// When the counts differ, the rest of the longer follows in its order.
std::vector<InterleavedPage> interleavedPages(uint64_t firstCount, uint64_t secondCount, bool reversed);

}  // namespace tomefuse
