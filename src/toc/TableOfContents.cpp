#include "toc/TableOfContents.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace tomefuse {

namespace {

using Seen = std::unordered_set<const PDFOutline*>;

// An item as a flat entry: where it leads (a page of the document, an action, or nowhere), its
// title and its look.
TocEntry entryFor(const PDFDocument& document, const PDFOutline& item, uint64_t level) {
    TocEntry entry;
    entry.level = level;
    if (const auto& destination = item.destination()) {
        entry.pageIndex = document.indexForPage(destination->page());
        if (entry.pageIndex != NSNotFound) {
            entry.locationOnPage = destination->point();
            entry.view = destination->view();
        }
    } else if (item.action()) {
        entry.target = TocEntry::Target::action;
        entry.action = item.action();
    } else if (!item.jumpsNowhere()) {
        entry.target = TocEntry::Target::none;
    }
    entry.tocText = item.label().value_or(std::string());
    entry.style = item.style();
    return entry;
}

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
        array.push_back(entryFor(document, *current, currentLevel));

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

// An entry as an item of the combined outline, its page pageOffset further on; one whose page is
// past the end leads to the top of its file's first page.
std::shared_ptr<PDFOutline> itemFor(const PDFDocument& document, const TocEntry& entry, uint64_t pageOffset,
                                    uint64_t pageCount) {
    auto item = PDFOutline::init();
    item->setLabel(entry.tocText);
    item->setStyle(entry.style);
    const uint64_t target = entry.pageIndex + pageOffset;
    if (entry.target == TocEntry::Target::action) {
        item->setAction(entry.action);
    } else if (entry.target == TocEntry::Target::none) {
        // Nothing to go to, as it was.
    } else if (target < pageCount) {
        item->setDestination(destinationOf(document.pageAtIndex(target), entry));
    } else {
        item->setDestination(pageTopDestination(document, pageOffset));
    }
    return item;
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

namespace {

// Each entry's parent: the nearest entry before it of a lower level; entries.size() for none.
std::vector<size_t> parentsOf(const std::vector<TocEntry>& entries) {
    const size_t n = entries.size();
    std::vector<size_t> parent(n, n);
    std::vector<size_t> open;  // the chain of ancestors of the next entry
    for (size_t i = 0; i < n; ++i) {
        while (!open.empty() && entries[open.back()].level >= entries[i].level) {
            open.pop_back();
        }
        parent[i] = open.empty() ? n : open.back();
        open.push_back(i);
    }
    return parent;
}

bool leadsToPage(const TocEntry& entry) {
    return entry.target == TocEntry::Target::page && entry.pageIndex != NSNotFound;
}

// Where the entries lead among the pages taken, once those pages are picked.
struct Placement {
    static constexpr uint64_t none = NSNotFound;
    std::vector<uint64_t> place;       // the first place of an entry's page; none if not a page's
    std::vector<bool> leftOut;         // leads to a page not taken
    std::vector<uint64_t> firstBelow;  // the first place led to by an item below it

    bool gone(size_t i) const { return leftOut[i] && firstBelow[i] == none; }
};

Placement placeEntries(const std::vector<TocEntry>& entries, const std::vector<size_t>& parent,
                       const std::vector<uint64_t>& pages) {
    std::unordered_map<uint64_t, uint64_t> placeOf;  // page of the file -> its first place
    for (uint64_t i = 0; i < pages.size(); ++i) {
        placeOf.try_emplace(pages[i], i);
    }
    const size_t n = entries.size();
    Placement placement{std::vector<uint64_t>(n, Placement::none), std::vector<bool>(n, false),
                        std::vector<uint64_t>(n, Placement::none)};
    for (size_t i = 0; i < n; ++i) {
        if (!leadsToPage(entries[i])) {
            continue;
        }
        auto found = placeOf.find(entries[i].pageIndex);
        if (found == placeOf.end()) {
            placement.leftOut[i] = true;
        } else {
            placement.place[i] = found->second;
        }
    }
    // Descendants come after their item, so backwards settles each item's subtree first; the
    // first in pre-order wins.
    for (size_t i = n; i-- > 0;) {
        const uint64_t here = placement.place[i] != Placement::none ? placement.place[i] : placement.firstBelow[i];
        if (here != Placement::none && parent[i] != n) {
            placement.firstBelow[parent[i]] = here;  // later siblings were seen first: the earliest wins
        }
    }
    return placement;
}

// An entry whose page is left out leads to the top of the first page an item below it leads to,
// as it does not show its own.
void leadToTopOf(TocEntry& entry, uint64_t place) {
    entry.pageIndex = place;
    entry.locationOnPage = {};
    PDFDestinationView whole;
    whole.fit = PDFDestinationView::Fit::fit;
    entry.view = whole;
}

}  // namespace

std::vector<TocEntry> selectOutlineEntries(const std::vector<TocEntry>& entries, const std::vector<uint64_t>& pages) {
    const size_t n = entries.size();
    const std::vector<size_t> parent = parentsOf(entries);
    // Where each entry leads now: its page's place, or, for a page left out, the first place
    // led to by an item below it.
    const Placement placement = placeEntries(entries, parent, pages);
    std::vector<TocEntry> kept;
    std::vector<uint64_t> levelOf(n, 0);     // the new level of each entry kept, 0 for one gone
    std::vector<uint64_t> levelAbove(n, 0);  // of the nearest ancestor kept
    for (size_t i = 0; i < n; ++i) {
        if (parent[i] != n) {
            levelAbove[i] = levelOf[parent[i]] != 0 ? levelOf[parent[i]] : levelAbove[parent[i]];
        }
        if (placement.gone(i)) {
            continue;
        }
        levelOf[i] = levelAbove[i] + 1;
        TocEntry entry = entries[i];
        entry.level = levelOf[i];
        if (leadsToPage(entry) && placement.leftOut[i]) {
            leadToTopOf(entry, placement.firstBelow[i]);
        } else if (leadsToPage(entry)) {
            entry.pageIndex = placement.place[i];
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
        std::shared_ptr<PDFOutline> item = itemFor(document, *it, pageOffset, pageCount);
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
