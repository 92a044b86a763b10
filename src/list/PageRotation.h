#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "list/PageSelection.h"

namespace tomefuse {

// How an entry's pages are turned, clockwise, on top of the rotation each has in its file: all
// of them, and some of them chosen as the Pages cell chooses pages. Turns add up, as Rotate Right
// twice turns half way round. Only the page's /Rotate changes in the combined file.
class PageRotation {
  public:
    struct Part {
        PageSelection pages;
        int degrees = 0;  // 90, 180 or 270
        bool operator==(const Part&) const = default;
    };

    // Degrees, a multiple of 90 of any sign, as 0, 90, 180 or 270.
    static int normalised(int degrees) { return ((degrees % 360) + 360) % 360; }

    // Every page turned on by degrees (a multiple of 90, any sign).
    void turnAll(int degrees);
    // The pages chosen turned on by degrees; "all" pages turns them all.
    void turnPages(const PageSelection& pages, int degrees);

    int all() const { return all_; }
    const std::vector<Part>& parts() const { return parts_; }
    bool isNone() const { return all_ == 0 && parts_.empty(); }

    // The degrees added to each page taken (0-based indices into an entry of pageCount pages):
    // one value per page, or none at all when no page is turned.
    std::vector<int> turnsFor(const std::vector<uint64_t>& pages, uint64_t pageCount) const;

    bool operator==(const PageRotation&) const = default;

  private:
    int all_ = 0;
    std::vector<Part> parts_;
};

}  // namespace tomefuse
