#pragma once

#include <optional>

#include "platform/pdf/PDFGeometry.h"
#include "platform/pdf/PDFPage.h"

namespace tomefuse {

// How a target page is shown: the forms of an explicit destination, with the numbers each takes
// (absent numbers leave the reader's current value, as null does in the file).
struct PDFDestinationView {
    enum class Fit { xyz, fit, fitH, fitV, fitR, fitB, fitBH, fitBV };
    Fit fit = Fit::xyz;
    std::optional<double> left;    // XYZ, FitV, FitBV, FitR
    std::optional<double> top;     // XYZ, FitH, FitBH, FitR
    std::optional<double> right;   // FitR
    std::optional<double> bottom;  // FitR
    std::optional<double> zoom;    // XYZ; absent or 0 keeps the reader's
    bool operator==(const PDFDestinationView&) const = default;
};

// A target in a document: a page, a point on it, and how the page is shown. The page may be
// absent (a destination that no longer leads anywhere); such a destination is written as none.
// A destination made from a page and a point alone shows the page at that point (XYZ, the
// reader's zoom).
class PDFDestination {
  public:
    PDFDestination() = default;
    PDFDestination(PDFPage page, PDFPoint point) : page_(std::move(page)), point_(point) {
        view_.left = point.x;
        view_.top = point.y;
    }
    PDFDestination(PDFPage page, PDFPoint point, PDFDestinationView view)
        : page_(std::move(page)), point_(point), view_(view) {}

    static PDFDestination initWithPage(PDFPage page, PDFPoint point) { return {std::move(page), point}; }

    const PDFPage& page() const { return page_; }
    PDFPoint point() const { return point_; }
    const PDFDestinationView& view() const { return view_; }

  private:
    PDFPage page_;
    PDFPoint point_;
    PDFDestinationView view_;
};

}  // namespace tomefuse
