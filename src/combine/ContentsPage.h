#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/ContentsTypesetter.h"
#include "platform/pdf/PDFDocument.h"
#include "toc/TocEntry.h"

namespace tomefuse {

// The contents page's title and bookmark, in the user's language.
std::string contentsTitle();

struct ContentsOptions {
    bool add = false;
    // How deep each file's own bookmarks are listed below it: 0 not at all; negative: every level.
    int depth = 0;
    // Each line shows its page's label instead of its place in the document, where the labels
    // tell every page apart.
    bool pageLabels = false;
    ContentsTypesetter* typesetter = nullptr;  // not owned
};

// The contents page of one combine: each file's name and the page it starts on, and its
// bookmarks to a depth, each line a link. Made once every page is in, when the numbers are known,
// and put in front of them; the numbers it shows are places in the combined document, counting
// its own pages, as a printed copy and a viewer's page count show them.
class ContentsPage {
  public:
    explicit ContentsPage(ContentsOptions options) : options_(options) {}

    bool wantsBookmarks() const { return options_.add && options_.depth != 0; }

    // A file whose pages start at firstPage of combined, with its bookmarks as read from it.
    void addFile(const PDFDocument& combined, const std::string& name, uint64_t firstPage,
                 const std::vector<TocEntry>& bookmarks);

    // Lays the pages out, puts them at the front of combined with their links, and the bookmark
    // "Contents" first in root. evenPages pads them with a blank page to an even count. False,
    // saying why in error, when they could not be made.
    bool insertInto(PDFDocument& combined, PDFOutline& root, bool evenPages, std::string& error);

  private:
    struct Entry {
        std::string text;
        unsigned level = 0;
        std::optional<PDFDestination> destination;
        std::shared_ptr<const PDFAction> action;
    };
    std::vector<ContentsLine> lines(const PDFDocument& combined, uint64_t contentsPages,
                                    const std::vector<std::string>& labels) const;
    // The labels the lines show: none unless chosen and no two pages share one.
    std::vector<std::string> labelsShown(const PDFDocument& combined, uint64_t contentsPages) const;
    uint64_t settlePageCount(const PDFDocument& combined, ContentsRequest& request, bool evenPages,
                             std::string& error) const;
    std::vector<PDFPageAdditions> linksOnPages(const ContentsTypesetting& made) const;

    ContentsOptions options_;
    std::vector<Entry> entries_;
};

}  // namespace tomefuse
