#pragma once

#include <cstdint>

#include "platform/pdf/PDFDocument.h"

namespace tomefuse {

// Makes a combined document ready for printing on both sides: every file starts on a right-hand
// page. A file with an odd number of pages owes a blank page, the size of its last page, which
// goes in only when another file's pages follow it, so the document never ends on one.
class RightHandStarts {
  public:
    explicit RightHandStarts(bool on) : on_(on) {}

    // A file's pages went in at the end of combined, starting at firstPage: puts the blank page
    // owed by the file before them in front of them. Answers the pages put in (0 or 1), by which
    // the file's first page has moved.
    uint64_t fileInserted(PDFDocument& combined, uint64_t firstPage, uint64_t pageCount);

  private:
    bool on_;
    PDFPage owed_;  // the last page of a file with an odd number of pages; none when nothing is owed
};

}  // namespace tomefuse
