#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/pdf/PDFDestination.h"

namespace tomefuse {

// One item of an outline tree, held by shared_ptr like the objects of a document. An item read
// from a file is a snapshot: changing it changes nothing in that file. Items are released without
// recursion, so arbitrarily deep trees are safe to drop.
class PDFOutline {
  public:
    PDFOutline() = default;  // no label, no destination, no children
    ~PDFOutline();
    PDFOutline(const PDFOutline&) = delete;
    PDFOutline& operator=(const PDFOutline&) = delete;

    static std::shared_ptr<PDFOutline> init() { return std::make_shared<PDFOutline>(); }

    // Absent for an item that has no /Title; an empty string for an empty one.
    const std::optional<std::string>& label() const { return label_; }
    void setLabel(std::string label) { label_ = std::move(label); }

    // Absent when the item has no destination or it could not be resolved to a page.
    const std::optional<PDFDestination>& destination() const { return destination_; }
    void setDestination(PDFDestination destination) { destination_ = std::move(destination); }

    size_t numberOfChildren() const { return children_.size(); }
    const std::shared_ptr<PDFOutline>& childAtIndex(size_t index) const { return children_.at(index); }
    // index runs from 0 to numberOfChildren(); out of range throws std::out_of_range.
    void insertChild(std::shared_ptr<PDFOutline> child, size_t index);

  private:
    std::optional<std::string> label_;
    std::optional<PDFDestination> destination_;
    std::vector<std::shared_ptr<PDFOutline>> children_;
};

}  // namespace tomefuse
