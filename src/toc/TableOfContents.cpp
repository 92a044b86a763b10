#include "toc/TableOfContents.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace tomefuse {

namespace {

using Seen = std::unordered_set<const PDFOutline*>;

// Pre-order walk with a stack of its own: children are pushed in reverse so they pop in order.
// An item already seen is passed over with its subtree, which ends any cycle.
void walk(const PDFDocument& document, const std::shared_ptr<PDFOutline>& item, std::vector<TocEntry>& array,
          uint64_t level, Seen& seen) {
    std::vector<std::pair<const PDFOutline*, uint64_t>> stack;
    if (item) {
        stack.emplace_back(item.get(), level);
    }
    while (!stack.empty()) {
        auto [current, currentLevel] = stack.back();
        stack.pop_back();
        if (!seen.insert(current).second) {
            continue;
        }
        TocEntry entry;
        entry.level = currentLevel;
        if (const auto& destination = current->destination()) {
            entry.pageIndex = document.indexForPage(destination->page());
            if (entry.pageIndex != NSNotFound) {
                entry.locationOnPage = destination->point();
                entry.view = destination->view();
            }
        } else if (current->action()) {
            entry.target = TocEntry::Target::action;
            entry.action = current->action();
        } else if (!current->jumpsNowhere()) {
            entry.target = TocEntry::Target::none;
        }
        entry.tocText = current->label().value_or(std::string());
        entry.style = current->style();
        array.push_back(std::move(entry));

        for (size_t i = current->numberOfChildren(); i-- > 0;) {
            const auto& child = current->childAtIndex(i);
            if (child) {
                stack.emplace_back(child.get(), currentLevel + 1);
            }
        }
    }
}

PDFDestination destinationAt(const PDFPage& page, PDFPoint point) { return PDFDestination::initWithPage(page, point); }

// The entry's own view when it was read from a file; else the page at its point.
PDFDestination destinationOf(const PDFPage& page, const TocEntry& entry) {
    if (entry.view) {
        return PDFDestination(page, entry.locationOnPage, *entry.view);
    }
    return destinationAt(page, entry.locationOnPage);
}

PDFDestination pageTopDestination(const PDFDocument& document, uint64_t pageIndex) {
    PDFPage page = document.pageAtIndex(pageIndex);
    return destinationAt(page, pageTopPoint(page));
}

}  // namespace

std::vector<TocEntry> arrayFromOutline(const PDFDocument& document) {
    std::vector<TocEntry> array;
    auto root = document.outlineRoot();
    if (!root) {
        return array;
    }
    // One seen-set for the whole tree: the root is never recorded, even when reachable again.
    Seen seen{root.get()};
    for (size_t i = 0; i < root->numberOfChildren(); ++i) {
        walk(document, root->childAtIndex(i), array, 1, seen);
    }
    return array;
}

void addOutlineChildren(const PDFDocument& document, const std::shared_ptr<PDFOutline>& item,
                        std::vector<TocEntry>& array, uint64_t level) {
    Seen seen;
    walk(document, item, array, level, seen);
}

std::vector<TocEntry> selectOutlineEntries(const std::vector<TocEntry>& entries, const std::vector<uint64_t>& pages) {
    std::unordered_map<uint64_t, uint64_t> placeOf;  // page of the file -> its first place
    for (uint64_t i = 0; i < pages.size(); ++i) {
        placeOf.try_emplace(pages[i], i);
    }
    const size_t n = entries.size();
    // Each entry's parent: the nearest entry before it of a lower level.
    std::vector<size_t> parent(n, n);
    std::vector<size_t> open;  // the chain of ancestors of the next entry
    for (size_t i = 0; i < n; ++i) {
        while (!open.empty() && entries[open.back()].level >= entries[i].level) {
            open.pop_back();
        }
        parent[i] = open.empty() ? n : open.back();
        open.push_back(i);
    }
    // Where each entry leads now: its page's place, or, for a page left out, the first place
    // led to by an item below it. Descendants come after their item, so backwards settles each
    // item's subtree first; the first in pre-order wins.
    constexpr uint64_t none = NSNotFound;
    std::vector<uint64_t> place(n, none);
    std::vector<uint64_t> firstBelow(n, none);
    std::vector<bool> leftOut(n, false);
    for (size_t i = 0; i < n; ++i) {
        const TocEntry& entry = entries[i];
        if (entry.target == TocEntry::Target::page && entry.pageIndex != NSNotFound) {
            auto found = placeOf.find(entry.pageIndex);
            if (found == placeOf.end()) {
                leftOut[i] = true;
            } else {
                place[i] = found->second;
            }
        }
    }
    for (size_t i = n; i-- > 0;) {
        const uint64_t here = place[i] != none ? place[i] : firstBelow[i];
        if (here != none && parent[i] != n) {
            firstBelow[parent[i]] = here;  // later siblings were seen first: the earliest wins
        }
    }
    std::vector<TocEntry> kept;
    std::vector<uint64_t> levelOf(n, 0);     // the new level of each entry kept, 0 for one gone
    std::vector<uint64_t> levelAbove(n, 0);  // of the nearest ancestor kept
    for (size_t i = 0; i < n; ++i) {
        if (parent[i] != n) {
            levelAbove[i] = levelOf[parent[i]] != 0 ? levelOf[parent[i]] : levelAbove[parent[i]];
        }
        if (leftOut[i] && firstBelow[i] == none) {
            continue;
        }
        levelOf[i] = levelAbove[i] + 1;
        TocEntry entry = entries[i];
        entry.level = levelOf[i];
        if (entry.target == TocEntry::Target::page && entry.pageIndex != NSNotFound) {
            if (leftOut[i]) {
                // To the top of the page it now leads to, as it does not show its own.
                entry.pageIndex = firstBelow[i];
                entry.locationOnPage = {};
                PDFDestinationView whole;
                whole.fit = PDFDestinationView::Fit::fit;
                entry.view = whole;
            } else {
                entry.pageIndex = place[i];
            }
        }
        kept.push_back(std::move(entry));
    }
    return kept;
}

PDFPoint pageTopPoint(const PDFPage& page) {
    if (!page) {
        return {};
    }
    // The left edge, not the middle: a reader zoomed in would otherwise scroll sideways.
    PDFRect box = page.boundsForBox(PDFDisplayBox::mediaBox);
    return {box.x, box.y + box.height};
}

LevelBuckets outlineArrayFromArray(const PDFDocument& document, const std::vector<TocEntry>* array,
                                   uint64_t pageOffset) {
    static const std::vector<TocEntry> none;
    const std::vector<TocEntry>& entries = array ? *array : none;

    uint64_t greatest = 3;
    for (const auto& entry : entries) {
        greatest = std::max(greatest, entry.level);
    }
    // Levels come from a flattened outline, so they stay below its length; the cap only keeps a
    // made-up level from asking for billions of buckets. Items above it could never reach bucket 1.
    uint64_t cap = entries.size() + 4096;
    uint64_t bucketCount = entries.empty() ? 5 : std::min(greatest, cap) + 2;

    // Kept in reverse while the walk runs backwards, so every insertion is at the end.
    LevelBuckets reversed(bucketCount);
    uint64_t pageCount = document.pageCount();

    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        uint64_t level = it->level;
        if (level >= bucketCount) {
            continue;
        }
        auto item = PDFOutline::init();
        item->setLabel(it->tocText);
        item->setStyle(it->style);
        uint64_t target = it->pageIndex + pageOffset;
        if (it->target == TocEntry::Target::action) {
            item->setAction(it->action);
        } else if (it->target == TocEntry::Target::none) {
            // Nothing to go to, as it was.
        } else if (target < pageCount) {
            item->setDestination(destinationOf(document.pageAtIndex(target), *it));
        } else {
            item->setDestination(pageTopDestination(document, pageOffset));
        }
        if (level + 1 < bucketCount) {
            auto& children = reversed[level + 1];
            size_t position = 0;
            for (auto child = children.rbegin(); child != children.rend(); ++child) {
                item->insertChild(std::move(*child), position++);
            }
            children.clear();
        }
        reversed[level].push_back(std::move(item));
    }

    for (auto& bucket : reversed) {
        std::reverse(bucket.begin(), bucket.end());
    }
    return reversed;
}

std::shared_ptr<PDFOutline> outlineFromArray(const PDFDocument& document, const std::vector<TocEntry>* array,
                                             const std::string& name, uint64_t pageOffset) {
    auto named = PDFOutline::init();
    named->setLabel(name);
    named->setDestination(pageTopDestination(document, pageOffset));
    LevelBuckets buckets = outlineArrayFromArray(document, array, pageOffset);
    size_t position = 0;
    for (auto& item : buckets[1]) {
        named->insertChild(std::move(item), position++);
    }
    return named;
}

}  // namespace tomefuse
