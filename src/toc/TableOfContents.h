#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/pdf/PDFDocument.h"
#include "toc/TocEntry.h"

namespace tomefuse {

// Outline conversions on a document: a tree into a flat list of TocEntry, and a flat list back
// into items whose destinations lie in the receiving document, shifted by a page offset.

// Depth-first pre-order, the root not included. Empty for a document without an outline.
std::vector<TocEntry> arrayFromOutline(const PDFDocument& document);

// Appends the entries of item and its whole subtree, item at the given level. Walks with a
// stack of its own, so no outline depth can overflow the call stack, and stops at an item it has
// already seen, so no outline can make it loop.
void addOutlineChildren(const PDFDocument& document, const std::shared_ptr<PDFOutline>& item,
                        std::vector<TocEntry>& array, uint64_t level);

// The flattened outline of a file of which only some pages are taken, in the order of pages
// (0-based, a page may repeat): each item leads to the first place its page takes. An item whose
// page is left out stays only when an item below it leads to a page taken, and then leads to the
// first such page; otherwise it goes, and those of its children that stay take its place, a
// level up. Items that lead to no page of the file (a web link, nothing) stay as they are.
std::vector<TocEntry> selectOutlineEntries(const std::vector<TocEntry>& entries, const std::vector<uint64_t>& pages);

// Level buckets: bucket k holds the rebuilt items of level k that did not become another item's
// child, in input order.
using LevelBuckets = std::vector<std::vector<std::shared_ptr<PDFOutline>>>;

// A null array is treated as empty.
LevelBuckets outlineArrayFromArray(const PDFDocument& document, const std::vector<TocEntry>* array,
                                   uint64_t pageOffset);

// A new item labelled name, leading to the top of the page at pageOffset, with the rebuilt
// top-level items as its children.
std::shared_ptr<PDFOutline> outlineFromArray(const PDFDocument& document, const std::vector<TocEntry>* array,
                                             const std::string& name, uint64_t pageOffset);

// The top left corner of the page's media box: (x, y + height); (0, 0) for no page.
PDFPoint pageTopPoint(const PDFPage& page);

}  // namespace tomefuse
