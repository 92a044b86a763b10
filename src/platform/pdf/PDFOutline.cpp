#include "platform/pdf/PDFOutline.h"

#include <stdexcept>

namespace tomefuse {

PDFOutline::~PDFOutline() {
    // Dropping a deep tree recursively would use one stack frame per level. Instead take over the
    // children of every descendant that we hold the last reference to, so each item is destroyed
    // with no children of its own left to release.
    if (children_.empty()) {
        return;
    }
    std::vector<std::shared_ptr<PDFOutline>> pending = std::move(children_);
    children_.clear();
    while (!pending.empty()) {
        std::shared_ptr<PDFOutline> item = std::move(pending.back());
        pending.pop_back();
        if (item && item.use_count() == 1) {
            for (auto& child : item->children_) {
                pending.push_back(std::move(child));
            }
            item->children_.clear();
        }
        // item is released here; whoever else holds it releases it later the same way.
    }
}

void PDFOutline::insertChild(std::shared_ptr<PDFOutline> child, size_t index) {
    if (index > children_.size()) {
        throw std::out_of_range("PDFOutline::insertChild: index " + std::to_string(index) + " past " +
                                std::to_string(children_.size()) + " children");
    }
    children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(index), std::move(child));
}

}  // namespace tomefuse
