// Documents and their pages: the pages a document holds, inserting pages, the outline.

#include "platform/pdf/PDFDocument.h"

#include <algorithm>
#include <exception>

#include "platform/pdf/PDFDocumentImpl.h"
#include "platform/pdf/PDFDocumentWriting.h"
#include "platform/pdf/PDFParseCache.h"

// libqpdf reports damage as exceptions (QPDFExc, std::runtime_error, std::logic_error, all
// std::exception) and may throw from any lazy object resolution. Every public operation here
// catches at this wall; nothing is thrown to callers.

namespace tomefuse {

namespace pdf_detail {

const std::vector<QPDFObjectHandle>& ParsedFile::pages() {
    static const std::vector<QPDFObjectHandle> none;
    try {
        return qpdf ? qpdf->getAllPages() : none;
    } catch (const std::exception&) {
        return none;
    }
}

uint64_t ParsedFile::indexOfPage(const QPDFObjGen& og) {
    if (!pageIndexValid_) {
        const auto& all = pages();
        pageIndex_.clear();
        pageIndex_.reserve(all.size());
        for (size_t i = 0; i < all.size(); ++i) {
            pageIndex_.emplace(all[i].getObjGen(), i);
        }
        pageIndexValid_ = true;
    }
    auto it = pageIndex_.find(og);
    return it == pageIndex_.end() ? NSNotFound : it->second;
}

DocumentData::DocumentData() = default;
DocumentData::~DocumentData() = default;

std::vector<PageSlot>& DocumentData::slots() {
    if (!slotsMade_) {
        slotsMade_ = true;
        if (parse) {
            const auto& own = parse->pages();
            slots_.reserve(own.size());
            for (const QPDFObjectHandle& page : own) {
                slots_.push_back(PageSlot{nextSlotId_++, nullptr, page, nullptr});
            }
        }
    }
    return slots_;
}

uint64_t DocumentData::pageCount() { return slotsMade_ || !parse ? slots().size() : parse->pages().size(); }

uint64_t DocumentData::indexOfSlot(uint64_t id) {
    const auto& all = slots();
    if (!slotIndexValid_) {
        slotIndex_.clear();
        slotIndex_.reserve(all.size());
        for (size_t i = 0; i < all.size(); ++i) {
            slotIndex_.emplace(all[i].id, i);
        }
        slotIndexValid_ = true;
    }
    auto it = slotIndex_.find(id);
    return it == slotIndex_.end() ? NSNotFound : it->second;
}

std::shared_ptr<QPDF> newQPDF() {
    auto pdf = QPDF::create();
    // Damage is looked at where it matters; libqpdf would print every warning on stderr.
    pdf->setSuppressWarnings(true);
    return pdf;
}

}  // namespace pdf_detail

namespace {

using pdf_detail::DocumentData;
using pdf_detail::PageSlot;
using pdf_detail::ParsedFile;

PDFPage::Impl handleOf(const std::shared_ptr<DocumentData>& data, const PageSlot& slot) {
    return PDFPage::Impl{data, slot.id, slot.object.isInitialized() ? data->originOf(slot) : nullptr, slot.object,
                         slot.written};
}

}  // namespace

PDFDocument::PDFDocument() : impl_(std::make_shared<Impl>()) { impl_->data = std::make_shared<DocumentData>(); }

PDFDocument::PDFDocument(Unset) : impl_(std::make_shared<Impl>()) {}

PDFDocument::~PDFDocument() {
    if (!impl_ || !impl_->data) {
        return;
    }
    auto& parse = impl_->data->parse;
    // Pages may still need this file's data and reopen it on demand; only live documents keep a
    // descriptor, so thousands of dropped sources cost none.
    if (parse && parse->file) {
        parse->file->stayOpen(false);
    }
    if (impl_.use_count() == 1 && impl_->data.use_count() == 1 && !impl_->data->touched) {
        impl_->outline.reset();  // its items hold pages of this document
        if (impl_->parses) {
            impl_->parses->keep(std::move(parse));
        }
    }
}

uint64_t PDFDocument::pageCount() const { return impl_->data->pageCount(); }

PDFPage PDFDocument::pageAtIndex(uint64_t index) const {
    auto& slots = impl_->data->slots();
    if (index >= slots.size()) {
        return {};
    }
    return PDFPage(std::make_shared<const PDFPage::Impl>(handleOf(impl_->data, slots[index])));
}

uint64_t PDFDocument::indexForPage(const PDFPage& page) const {
    if (!page || page.impl_->doc != impl_->data) {
        return NSNotFound;
    }
    return impl_->data->indexOfSlot(page.impl_->id);
}

bool PDFDocument::insertPage(const PDFPage& page, uint64_t index) {
    return insertPage(page, index, PDFPageAdditions{});
}

bool PDFDocument::insertPage(const PDFPage& page, uint64_t index, const PDFPageAdditions& additions) {
    auto& data = *impl_->data;
    if (!page || !page.impl_->object.isInitialized() || !page.impl_->origin || index > data.pageCount()) {
        return false;
    }
    if (data.streaming) {
        // Written at once, at the end, then moved into place: the page tree is written last.
        const uint64_t at = page.impl_->doc->indexOfSlot(page.impl_->id);
        if (at == NSNotFound || insertSlots(*page.impl_->doc, {at}, &additions) != PDFInsertResult::inserted) {
            return false;
        }
        auto& slots = data.slots();
        std::rotate(slots.begin() + static_cast<std::ptrdiff_t>(index), slots.end() - 1, slots.end());
        data.slotsChanged();
        return true;
    }
    PageSlot slot;
    slot.id = data.newSlotId();
    slot.object = page.impl_->object;
    // A page of this document's own file refers to it by no pointer, which would be a cycle.
    slot.origin = page.impl_->origin == data.parse ? nullptr : page.impl_->origin;
    if (!additions.links.empty() || additions.label || additions.continuesLabels || additions.turn != 0) {
        slot.additions = std::make_shared<const PDFPageAdditions>(additions);
    }
    auto& slots = data.slots();
    slots.insert(slots.begin() + static_cast<std::ptrdiff_t>(index), std::move(slot));
    data.slotsChanged();
    data.touched = true;
    page.impl_->doc->touched = true;
    return true;
}

PDFInsertResult PDFDocument::insertPages(const PDFDocument& source, const std::vector<uint64_t>& indices,
                                         const std::vector<int>& turns) {
    auto& data = *impl_->data;
    if (!turns.empty() && turns.size() != indices.size()) {
        return PDFInsertResult::refused;
    }
    if (!data.streaming) {
        for (size_t i = 0; i < indices.size(); ++i) {
            PDFPageAdditions additions;
            additions.turn = turns.empty() ? 0 : turns[i];
            if (!insertPage(source.pageAtIndex(indices[i]), data.pageCount(), additions)) {
                return PDFInsertResult::refused;
            }
        }
        return PDFInsertResult::inserted;
    }
    if (source.impl_->outlineOutOfMemory && !data.streaming->dead) {
        // Its bookmarks would be missing: the write cannot go on.
        impl_->lastError = "not enough memory";
        data.streaming->dead = true;
        return PDFInsertResult::writeFailed;
    }
    return insertSlots(*source.impl_->data, indices, nullptr, turns.empty() ? nullptr : &turns);
}

std::shared_ptr<PDFOutline> PDFDocument::outlineRoot() const {
    if (!impl_->outlineLoaded) {
        impl_->outlineLoaded = true;
        auto& data = impl_->data;
        if (data->parse) {
            try {
                // The file's outline leads to the file's pages, wherever they now stand here.
                impl_->outline = pdf_detail::readOutline(*data->parse, [this, data](uint64_t ownIndex) {
                    const auto& own = data->parse->pages();
                    if (ownIndex >= own.size()) {
                        return PDFPage();
                    }
                    const QPDFObjGen og = own[ownIndex].getObjGen();
                    const auto& slots = data->slots();
                    for (uint64_t i = 0; i < slots.size(); ++i) {
                        if (!slots[i].origin && slots[i].object.isInitialized() && slots[i].object.getObjGen() == og) {
                            return pageAtIndex(i);
                        }
                    }
                    return PDFPage();
                });
            } catch (const std::bad_alloc&) {
                impl_->outline = nullptr;
                impl_->outlineOutOfMemory = true;
            } catch (const std::exception&) {
                impl_->outline = nullptr;
            }
        }
    }
    return impl_->outline;
}

void PDFDocument::setOutlineRoot(std::shared_ptr<PDFOutline> root) {
    impl_->outline = std::move(root);
    impl_->outlineLoaded = true;
}

const std::string& PDFDocument::lastError() const { return impl_->lastError; }

const std::string& PDFDocument::lastRepair() const { return impl_->lastRepair; }
const std::string& PDFDocument::lastCatalogLeftOut() const { return impl_->lastCatalogLeftOut; }

}  // namespace tomefuse
