#pragma once

#include "platform/pdf/PDFGeometry.h"
#include "platform/pdf/PDFPage.h"

namespace tomefuse {

// A target in a document: a page and a point on it. The page may be absent (a destination that
// no longer leads anywhere); such a destination is written as none.
class PDFDestination {
  public:
    PDFDestination() = default;
    PDFDestination(PDFPage page, PDFPoint point) : page_(std::move(page)), point_(point) {}

    static PDFDestination initWithPage(PDFPage page, PDFPoint point) { return {std::move(page), point}; }

    const PDFPage& page() const { return page_; }
    PDFPoint point() const { return point_; }

  private:
    PDFPage page_;
    PDFPoint point_;
};

}  // namespace tomefuse
