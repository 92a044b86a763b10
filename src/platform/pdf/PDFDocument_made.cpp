// Pages and values made here rather than copied from a file: documents read from bytes, blank
// pages, links and labels given to pages, page labels as shown, the document's own attributes.

#include <exception>
#include <new>
#include <qpdf/BufferInputSource.hh>

#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFDocumentImpl.h"
#include "platform/pdf/PDFDocumentWriting.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse {

namespace pdf_detail {

namespace {

std::string rectangleText(const PDFRect& r) {
    return "[" + pdfNumber(r.x) + " " + pdfNumber(r.y) + " " + pdfNumber(r.x + r.width) + " " +
           pdfNumber(r.y + r.height) + "]";
}

}  // namespace

PageExtras extrasFor(const PDFPageAdditions& additions, const std::function<int(uint64_t)>& numberAt,
                     const std::function<uint64_t(const PDFPage&)>& indexOf) {
    PageExtras extras;
    for (size_t i = 0; i < additions.links.size(); ++i) {
        const PDFLink& link = additions.links[i];
        std::string target;
        if (link.destination) {
            const int number = numberAt(indexOf(link.destination->page()));
            if (number <= 0) {
                continue;
            }
            target = "/Dest[" + std::to_string(number) + " 0 R" + pdfViewText(link.destination->view()) + "]";
        } else if (link.action) {
            target = "/A " + directObjectText(link.action->impl().object);
        } else {
            continue;
        }
        extras.annotations.push_back("<</Type/Annot/Subtype/Link/Rect" + rectangleText(link.rect) + "/Border[0 0 0]" +
                                     target + ">>");
        extras.annotationLinks.push_back(i);
    }
    if (additions.label) {
        extras.label = labelFrom(*additions.label);
    }
    extras.continuesLabels = additions.continuesLabels;
    extras.turn = additions.turn;
    return extras;
}

}  // namespace pdf_detail

using pdf_detail::DocumentData;
using pdf_detail::ParsedFile;

std::shared_ptr<PDFDocument> PDFDocument::initWithData(std::string bytes) {
    try {
        auto parse = std::make_shared<ParsedFile>();
        parse->qpdf = pdf_detail::newQPDF();
        parse->qpdf->processInputSource(std::make_shared<BufferInputSource>("made here", bytes));
        parse->qpdf->getAllPages();
        parse->minimumVersion = PDFVersion(1, 4);
        std::shared_ptr<PDFDocument> document(new PDFDocument(Unset{}));
        document->impl_->data = std::make_shared<DocumentData>();
        document->impl_->data->parse = std::move(parse);
        return document;
    } catch (const std::exception&) {
        return nullptr;
    }
}

bool PDFDocument::insertBlankPage(uint64_t index, const PDFPage& sizedLike, const PDFPageAdditions& additions) {
    try {
        const PDFRect media = sizedLike ? sizedLike.boundsForBox(PDFDisplayBox::mediaBox) : PDFRect{0, 0, 612, 792};
        const PDFRect crop = sizedLike ? sizedLike.boundsForBox(PDFDisplayBox::cropBox) : media;
        auto blank = std::shared_ptr<PDFDocument>(new PDFDocument(Unset{}));
        blank->impl_->data = std::make_shared<DocumentData>();
        auto parse = std::make_shared<ParsedFile>();
        parse->qpdf = pdf_detail::newQPDF();
        parse->qpdf->emptyPDF();
        std::string page = "<</Type/Page/MediaBox" + pdf_detail::rectangleText(media);
        if (!(crop == media)) {
            page += "/CropBox" + pdf_detail::rectangleText(crop);
        }
        if (const int rotation = sizedLike ? sizedLike.rotation() : 0; rotation != 0) {
            page += "/Rotate " + std::to_string(rotation);
        }
        page += "/Resources<<>>>>";
        parse->qpdf->addPage(parse->qpdf->makeIndirectObject(QPDFObjectHandle::parse(page)), false);
        blank->impl_->data->parse = std::move(parse);
        const bool inserted = insertPage(blank->pageAtIndex(0), index, additions);
        finishPagesFrom(*blank);
        return inserted;
    } catch (const std::exception&) {
        return false;
    }
}

std::vector<std::string> PDFDocument::pageLabels() const {
    auto& data = *impl_->data;
    if (!data.streaming || !data.streaming->writer || !data.streaming->writer->anyLabels()) {
        return {};
    }
    std::vector<const pdf_detail::WrittenPage*> pages;
    for (const auto& slot : data.slots()) {
        if (!slot.written) {
            return {};
        }
        pages.push_back(slot.written.get());
    }
    std::vector<std::string> labels;
    labels.reserve(pages.size());
    for (const auto& label : pdf_detail::effectiveLabels(pages)) {
        labels.push_back(pdf_detail::labelText(label));
    }
    return labels;
}

const PDFDocumentAttributes& PDFDocument::documentAttributes() const { return impl_->attributes; }

void PDFDocument::setDocumentAttributes(PDFDocumentAttributes attributes) { impl_->attributes = std::move(attributes); }

}  // namespace tomefuse
