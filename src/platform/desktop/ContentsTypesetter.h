#pragma once

// What lays out a contents page. The core hands it lines of text and takes back PDF pages and
// where each line went; the implementation (Qt's PDF painting) lives in platform/qt, and the
// command line loads it only when a contents page is asked for. Header only: the module that
// implements it links nothing of the core.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/pdf/PDFGeometry.h"

namespace tomefuse {

// One line: a file, or one of its bookmarks below it.
struct ContentsLine {
    std::string text;
    std::string pageText;  // the page it leads to, as shown; empty for none
    unsigned level = 0;    // 0 for a file, 1 for its top-level bookmarks, ...
};

struct ContentsRequest {
    std::string title;
    std::vector<ContentsLine> lines;
    double pageWidth = 612;  // points
    double pageHeight = 792;
    bool render = true;  // false: only where the lines go, no PDF
};

// Where a line went: the page (0-based) and the area a link covers, in PDF page space.
struct ContentsPlacement {
    size_t page = 0;
    PDFRect rect;
};

struct ContentsTypesetting {
    size_t pageCount = 0;
    std::vector<ContentsPlacement> placements;  // one per line, in order
    PDFRect title;                              // where the title went, on the first page
    std::string pdf;                            // the pages, when rendered
    std::string error;                          // why there is nothing; empty on success
};

class ContentsTypesetter {
  public:
    virtual ~ContentsTypesetter() = default;
    // May run on any thread; one call at a time.
    virtual ContentsTypesetting typeset(const ContentsRequest& request) = 0;
    // Lets go of what was kept from one contents page's calls (it is measured several times, then
    // drawn); called on the thread that typeset it, once the page is done or given up.
    virtual void finishContents() {}
    // Readies ahead of the first typesetting what it needs (a toolkit, its fonts): may run on
    // another thread, before any typesetting.
    virtual void prepare() {}
};

// The module's entry point: a typesetter that lives as long as the process.
inline constexpr const char* contentsTypesetterSymbol = "tomefuseContentsTypesetter";
using ContentsTypesetterEntry = ContentsTypesetter* (*)();

}  // namespace tomefuse
