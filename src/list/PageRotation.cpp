#include "list/PageRotation.h"

#include <optional>

namespace tomefuse {

void PageRotation::turnAll(int degrees) { all_ = normalised(all_ + degrees); }

void PageRotation::turnPages(const PageSelection& pages, int degrees) {
    if (pages.isAll()) {
        turnAll(degrees);
        return;
    }
    // The same pages turned again are one part, so Rotate Left undoes Rotate Right in the model
    // as on the page.
    for (auto part = parts_.begin(); part != parts_.end(); ++part) {
        if (part->pages == pages) {
            part->degrees = normalised(part->degrees + degrees);
            if (part->degrees == 0) {
                parts_.erase(part);
            }
            return;
        }
    }
    if (normalised(degrees) != 0) {
        parts_.push_back({pages, normalised(degrees)});
    }
}

std::vector<int> PageRotation::turnsFor(const std::vector<uint64_t>& pages, uint64_t pageCount) const {
    if (isNone()) {
        return {};
    }
    std::vector<int> byIndex(pageCount, all_);
    for (const Part& part : parts_) {
        // A part naming a page the file no longer has is passed over, as its Pages choice is.
        const std::optional<std::vector<uint64_t>> chosen = part.pages.pages(pageCount);
        if (!chosen) {
            continue;
        }
        std::vector<bool> seen(pageCount, false);
        for (uint64_t index : *chosen) {
            if (!seen[index]) {  // a page named twice in a part is turned once
                seen[index] = true;
                byIndex[index] = normalised(byIndex[index] + part.degrees);
            }
        }
    }
    std::vector<int> turns;
    turns.reserve(pages.size());
    for (uint64_t index : pages) {
        turns.push_back(index < pageCount ? byIndex[index] : 0);
    }
    return turns;
}

}  // namespace tomefuse
