#pragma once

#include <memory>

#include "platform/pdf/PDFGeometry.h"

namespace tomefuse {

class PDFDocument;

// A page of one document. A light handle: copies refer to the same page, and the page keeps its
// document's data alive. A default-constructed handle is "no page".
class PDFPage {
  public:
    PDFPage() = default;

    explicit operator bool() const { return impl_ != nullptr; }

    // The page's box as origin and size; an empty rectangle for no page. The crop box falls back
    // to the media box, as readers do.
    PDFRect boundsForBox(PDFDisplayBox box) const;

    // Degrees clockwise, 0, 90, 180 or 270.
    int rotation() const;

    // Same page of the same document.
    bool operator==(const PDFPage& other) const;

    struct Impl;

  private:
    friend class PDFDocument;
    explicit PDFPage(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}
    std::shared_ptr<const Impl> impl_;
};

}  // namespace tomefuse
