#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/pdf/PDFDestination.h"

namespace tomefuse {

// What an outline item does other than jump within its file: open a web link, launch a file,
// run a named action, go to another file... Held apart from any document, so it outlives the
// file it was read from and can be written into another.
class PDFAction {
  public:
    struct Impl;
    explicit PDFAction(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}
    const Impl& impl() const { return *impl_; }

  private:
    std::shared_ptr<const Impl> impl_;
};

// How an outline item looks: its colour (red, green, blue, 0 to 1) and its style flags (1 italic,
// 2 bold), and whether it starts open, showing its children.
struct PDFOutlineStyle {
    std::optional<std::array<double, 3>> color;
    int flags = 0;
    bool open = false;
    bool operator==(const PDFOutlineStyle&) const = default;
};

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

    // What the item does when it does not jump within its file; null when it jumps or does
    // nothing.
    const std::shared_ptr<const PDFAction>& action() const { return action_; }
    void setAction(std::shared_ptr<const PDFAction> action) { action_ = std::move(action); }

    // The item was to jump within its file, to a place the file does not have.
    bool jumpsNowhere() const { return jumpsNowhere_; }
    void setJumpsNowhere(bool flag) { jumpsNowhere_ = flag; }

    const PDFOutlineStyle& style() const { return style_; }
    void setStyle(PDFOutlineStyle style) { style_ = style; }

    size_t numberOfChildren() const { return children_.size(); }
    const std::shared_ptr<PDFOutline>& childAtIndex(size_t index) const { return children_.at(index); }
    // index runs from 0 to numberOfChildren(); out of range throws std::out_of_range.
    void insertChild(std::shared_ptr<PDFOutline> child, size_t index);

  private:
    std::optional<std::string> label_;
    std::optional<PDFDestination> destination_;
    std::shared_ptr<const PDFAction> action_;
    bool jumpsNowhere_ = false;
    PDFOutlineStyle style_;
    std::vector<std::shared_ptr<PDFOutline>> children_;
};

}  // namespace tomefuse
