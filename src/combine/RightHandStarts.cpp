#include "combine/RightHandStarts.h"

namespace tomefuse {

uint64_t RightHandStarts::fileInserted(PDFDocument& combined, uint64_t firstPage, uint64_t pageCount) {
    if (!on_ || pageCount == 0) {
        return 0;
    }
    uint64_t added = 0;
    if (owed_) {
        // No bookmark leads to it, and it is numbered on from the page before it.
        PDFPageAdditions blank;
        blank.continuesLabels = true;
        if (combined.insertBlankPage(firstPage, owed_, blank)) {
            added = 1;
        }
        owed_ = PDFPage();
    }
    if (pageCount % 2 == 1) {
        owed_ = combined.pageAtIndex(firstPage + added + pageCount - 1);
    }
    return added;
}

}  // namespace tomefuse
