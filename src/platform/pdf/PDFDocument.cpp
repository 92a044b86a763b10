#include "platform/pdf/PDFDocument.h"

#include <algorithm>
#include <exception>
#include <new>
#include <qpdf/QPDFExc.hh>

#include "platform/desktop/NotificationCenter.h"
#include "platform/pdf/PDFDocumentImpl.h"
#include "platform/pdf/PDFWriter.h"

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

// The file's header version ("1.7") and extension level. (QPDF::getVersionAsPDFVersion compiles a
// std::regex on every call, which costs a millisecond per source.)
PDFVersion versionOf(QPDF& pdf) {
    try {
        const std::string version = pdf.getPDFVersion();
        const auto dot = version.find('.');
        if (dot != std::string::npos) {
            const int major = std::stoi(version.substr(0, dot));
            const int minor = std::stoi(version.substr(dot + 1));
            if (major >= 1 && major <= 9 && minor >= 0 && minor <= 9) {
                return PDFVersion(major, minor, std::max(0, pdf.getExtensionLevel()));
            }
        }
    } catch (const std::exception&) {
    }
    return PDFVersion(1, 3);
}

bool looksLikePDF(InputSource& input) {
    try {
        input.seek(0, SEEK_SET);
        char head[PDFDocument::headerWindow];
        const size_t n = input.read(head, sizeof head);
        return PDFDocument::hasPDFHeader(std::string_view(head, n));
    } catch (const std::exception&) {
        return false;
    }
}

// The parse a page object lives in: the slot's, or the document's own file.
std::shared_ptr<ParsedFile> originOf(DocumentData& data, const PageSlot& slot) {
    return slot.origin ? slot.origin : data.parse;
}

PDFPage::Impl handleOf(const std::shared_ptr<DocumentData>& data, const PageSlot& slot) {
    return PDFPage::Impl{data, slot.id, slot.object.isInitialized() ? originOf(*data, slot) : nullptr, slot.object,
                         slot.written};
}

void post(DocumentData& data, const Notification& notification) {
    if (data.streaming && data.streaming->target.post) {
        data.streaming->target.post(notification);
    } else {
        NotificationCenter::defaultCenter().postNotification(notification);
    }
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
        pdf_detail::parkParsedFile(std::move(parse));
    }
}

std::shared_ptr<PDFDocument> PDFDocument::initWithURL(const std::string& path) {
    PDFOpenFailure ignored = PDFOpenFailure::none;
    return initWithURL(path, std::string(), &ignored);
}

namespace {

// The parse of a file: one parked for the same unchanged file and password, or a new one. With
// listPages, the page tree is read now: a loop in /Pages or a broken tree only shows when the
// pages are listed, and the file is refused if that fails.
std::shared_ptr<ParsedFile> parseFile(const std::string& path, const std::string& password, bool listPages,
                                      PDFOpenFailure& why) {
    why = PDFOpenFailure::none;
    try {
        if (path.empty()) {
            why = PDFOpenFailure::missing;
            return nullptr;
        }
        std::shared_ptr<ParsedFile> parse;
        if (auto now = pdf_detail::identityOf(path)) {
            parse = pdf_detail::takeParsedFile(path, *now, password);
        }
        if (!parse) {
            parse = std::make_shared<ParsedFile>();
            parse->path = path;
            parse->password = password;
            std::shared_ptr<InputSource> input = pdf_detail::openInput(path, parse->identity, parse->file, why);
            if (!input) {
                return nullptr;
            }
            parse->qpdf = pdf_detail::newQPDF();
            try {
                parse->qpdf->processInputSource(input, password.empty() ? nullptr : password.c_str());
                parse->minimumVersion = versionOf(*parse->qpdf);
            } catch (const std::bad_alloc&) {
                why = PDFOpenFailure::outOfMemory;
            } catch (const QPDFExc& e) {
                why = e.getErrorCode() == qpdf_e_password ? PDFOpenFailure::needsPassword
                      : looksLikePDF(*input)              ? PDFOpenFailure::damaged
                                                          : PDFOpenFailure::notAPDF;
            } catch (const std::exception&) {
                why = looksLikePDF(*input) ? PDFOpenFailure::damaged : PDFOpenFailure::notAPDF;
            }
            if (why != PDFOpenFailure::none) {
                return nullptr;
            }
        }
        if (listPages) {
            parse->qpdf->getAllPages();
            parse->pagesListed = true;
        }
        return parse;
    } catch (const std::bad_alloc&) {
        why = PDFOpenFailure::outOfMemory;
    } catch (const std::exception&) {
        why = PDFOpenFailure::damaged;
    }
    return nullptr;
}

}  // namespace

std::shared_ptr<PDFDocument> PDFDocument::initWithURL(const std::string& path, const std::string& password,
                                                      PDFOpenFailure* failure) {
    PDFOpenFailure why = PDFOpenFailure::none;
    std::shared_ptr<ParsedFile> parse = parseFile(path, password, true, why);
    if (failure) {
        *failure = why;
    }
    if (!parse) {
        return nullptr;
    }
    // Not the public constructor: its empty document would be thrown away.
    std::shared_ptr<PDFDocument> document(new PDFDocument(Unset{}));
    document->impl_->data = std::make_shared<DocumentData>();
    document->impl_->data->parse = std::move(parse);
    return document;
}

bool PDFDocument::hasPDFHeader(std::string_view head) { return head.find("%PDF-") != std::string_view::npos; }

PDFFileSummary PDFDocument::summaryOfFile(const std::string& path, const std::string& password) {
    PDFFileSummary summary;
    std::shared_ptr<ParsedFile> parse = parseFile(path, password, false, summary.failure);
    if (!parse) {
        return summary;
    }
    try {
        // The page tree's own count, as readers show it before they have read every page: listing
        // the pages of a large file reads most of its objects, which only a combine needs.
        QPDFObjectHandle count = parse->qpdf->getRoot().getKey("/Pages").getKey("/Count");
        // (QPDF::getObjectCount would read every object to count them.)
        if (count.isInteger() && count.getIntValue() >= 0 && count.getIntValue() <= 100'000'000) {
            summary.pageCount = static_cast<uint64_t>(count.getIntValue());
        } else {
            summary.pageCount = parse->pages().size();
            parse->pagesListed = true;
        }
        summary.outlineCount = pdf_detail::countOutlineItems(*parse);
    } catch (const std::bad_alloc&) {
        summary.failure = PDFOpenFailure::outOfMemory;
    } catch (const std::exception&) {
        summary.failure = PDFOpenFailure::damaged;
    }
    if (summary.failure == PDFOpenFailure::none) {
        pdf_detail::parkParsedFile(std::move(parse));  // for the combine that may follow
    }
    return summary;
}

std::shared_ptr<PDFDocument> PDFDocument::initWritingToFile(PDFWriteTarget target) {
    if (target.fd < 0) {
        return nullptr;
    }
    auto document = init();
    auto& data = *document->impl_->data;
    data.streaming = std::make_unique<pdf_detail::Streaming>(std::move(target));
    try {
        data.streaming->writer = std::make_unique<pdf_detail::Writer>(
            data.streaming->sink, PDFVersion(1, 4),
            pdf_detail::Writer::Options{data.streaming->target.cancelled, data.streaming->target.memoryLimit});
    } catch (const std::exception& e) {
        document->impl_->lastError = e.what();
        data.streaming->dead = true;
    }
    return document;
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
    if (!additions.links.empty() || additions.label || additions.continuesLabels) {
        slot.additions = std::make_shared<const PDFPageAdditions>(additions);
    }
    auto& slots = data.slots();
    slots.insert(slots.begin() + static_cast<std::ptrdiff_t>(index), std::move(slot));
    data.slotsChanged();
    data.touched = true;
    page.impl_->doc->touched = true;
    return true;
}

PDFInsertResult PDFDocument::insertPages(const PDFDocument& source, const std::vector<uint64_t>& indices) {
    auto& data = *impl_->data;
    if (!data.streaming) {
        for (uint64_t index : indices) {
            if (!insertPage(source.pageAtIndex(index), data.pageCount())) {
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
    return insertSlots(*source.impl_->data, indices);
}

PDFInsertResult PDFDocument::insertSlots(pdf_detail::DocumentData& from, const std::vector<uint64_t>& indices,
                                         const PDFPageAdditions* additions) {
    auto& data = *impl_->data;
    auto& stream = *data.streaming;
    if (stream.dead) {
        return PDFInsertResult::writeFailed;
    }
    // The pages to write, each with the parse it lives in; all from one parse, as a file's are.
    std::vector<std::pair<std::shared_ptr<ParsedFile>, QPDFObjectHandle>> pages;
    auto& fromSlots = from.slots();
    for (uint64_t index : indices) {
        if (index >= fromSlots.size() || !fromSlots[index].object.isInitialized()) {
            return PDFInsertResult::refused;
        }
        pages.emplace_back(originOf(from, fromSlots[index]), fromSlots[index].object);
        if (!pages.back().first || pages.back().first != pages.front().first) {
            return PDFInsertResult::refused;
        }
    }
    if (pages.empty()) {
        return PDFInsertResult::inserted;
    }
    if (!stream.begun) {
        beginWriting(indices.size());
    }
    from.touched = true;
    auto& slots = data.slots();
    const size_t firstNew = slots.size();
    pdf_detail::Writer& writer = *stream.writer;
    pdf_detail::SourceCopy* reading = nullptr;
    try {
        pdf_detail::SourceCopy& copy = writer.copyOf(pages.front().first);
        reading = &copy;
        std::vector<int> numbers;
        numbers.reserve(pages.size());
        for (const auto& [origin, object] : pages) {
            numbers.push_back(copy.reservePage(object));
        }
        // Links lead to pages already written: their numbers are known.
        std::optional<pdf_detail::PageExtras> extras;
        if (additions) {
            extras = pdf_detail::extrasFor(
                *additions,
                [&slots](uint64_t target) {
                    return target < slots.size() && slots[target].written ? slots[target].written->number : 0;
                },
                [this](const PDFPage& page) { return indexForPage(page); });
        }
        for (size_t i = 0; i < pages.size(); ++i) {
            auto written = std::make_shared<pdf_detail::WrittenPage>(
                copy.writePage(pages[i].second, numbers[i], extras ? &*extras : nullptr));
            slots.push_back(PageSlot{data.newSlotId(), nullptr, QPDFObjectHandle(), std::move(written)});
            data.slotsChanged();
            post(data, {PDFDocumentDidEndPageWriteNotification,
                        this,
                        {{PDFDocumentPageIndexKey, static_cast<double>(slots.size() - 1)}}});
        }
        // What the source gives besides its pages is read now too, so that the check below
        // covers everything taken from the file.
        copy.settle();
        impl_->lastRepair = copy.repair();
        if (std::string loss = copy.loss(); !loss.empty()) {
            return leaveOutSource(*pages.front().first, firstNew, std::move(loss));
        }
        copy.commit();
        return PDFInsertResult::inserted;
    } catch (const pdf_detail::WriteCancelled&) {
        impl_->lastError = "cancelled";
        stream.dead = true;
        return PDFInsertResult::cancelled;
    } catch (const pdf_detail::WriteFailure& e) {
        impl_->lastError = e.what();
        stream.dead = true;
        return PDFInsertResult::writeFailed;
    } catch (const std::bad_alloc&) {
        // Never a damaged file, nor an empty page in its place: the write cannot go on.
        impl_->lastError = "not enough memory";
        stream.dead = true;
        return PDFInsertResult::writeFailed;
    } catch (const std::exception& e) {
        if (reading && reading->ranOutOfMemory()) {
            impl_->lastError = "not enough memory";
            stream.dead = true;
            return PDFInsertResult::writeFailed;
        }
        // libqpdf could not read what a page needs, or the writer found it cannot be written as
        // it is: the file is damaged.
        return leaveOutSource(*pages.front().first, firstNew, std::string("damaged: ") + e.what());
    }
}

PDFInsertResult PDFDocument::leaveOutSource(const ParsedFile& origin, size_t firstNew, std::string why) {
    auto& data = *impl_->data;
    // What was written of it stays in the file, unreachable: no page of it is listed.
    impl_->lastError = std::move(why);
    impl_->lastRepair.clear();
    data.streaming->writer->discard(origin);
    data.slots().resize(firstNew);
    data.slotsChanged();
    return PDFInsertResult::sourceDamaged;
}

void PDFDocument::finishPagesFrom(const PDFDocument& source) {
    auto& data = *impl_->data;
    if (!data.streaming || data.streaming->dead || !source.impl_->data->parse) {
        return;
    }
    try {
        data.streaming->writer->release(*source.impl_->data->parse);
    } catch (const pdf_detail::WriteCancelled&) {
        impl_->lastError = "cancelled";
        data.streaming->dead = true;
    } catch (const std::bad_alloc&) {
        impl_->lastError = "not enough memory";
        data.streaming->dead = true;
    } catch (const std::exception& e) {
        impl_->lastError = e.what();
        data.streaming->dead = true;
    }
}

void PDFDocument::beginWriting(uint64_t expectedPageCount) {
    auto& data = *impl_->data;
    if (!data.streaming || data.streaming->begun) {
        return;
    }
    data.streaming->begun = true;
    post(data, {PDFDocumentDidBeginWriteNotification,
                this,
                {{PDFDocumentPageCountKey, static_cast<double>(expectedPageCount)}}});
}

bool PDFDocument::finishWriting() {
    auto& data = *impl_->data;
    if (!data.streaming) {
        return false;
    }
    auto& stream = *data.streaming;
    beginWriting(data.pageCount());
    bool ok = false;
    if (!stream.dead) {
        try {
            pdf_detail::Writer::Catalog catalog;
            for (const PageSlot& slot : data.slots()) {
                catalog.pages.push_back(slot.written.get());
            }
            catalog.outline = impl_->outline.get();
            catalog.indexOf = [this](const PDFPage& page) { return indexForPage(page); };
            catalog.attributes = &impl_->attributes;
            catalog.info["/Producer"] = pdf_detail::pdfString("Tomefuse");
            stream.writer->finish(catalog);
            ok = true;
        } catch (const pdf_detail::WriteCancelled&) {
            impl_->lastError = "cancelled";
        } catch (const std::bad_alloc&) {
            impl_->lastError = "not enough memory";
        } catch (const std::exception& e) {
            impl_->lastError = e.what();
        }
    }
    stream.dead = true;
    stream.writer.reset();  // every source still held goes with it
    post(data, {PDFDocumentDidEndWriteNotification, this, {}});
    return ok;
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

std::optional<std::string> PDFDocument::dataRepresentation() {
    auto& data = *impl_->data;
    const uint64_t pages = data.pageCount();
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.postNotification(
        {PDFDocumentDidBeginWriteNotification, this, {{PDFDocumentPageCountKey, static_cast<double>(pages)}}});

    std::optional<std::string> bytes;
    impl_->lastError.clear();
    try {
        if (data.streaming) {
            throw std::runtime_error("the document is written to a file");
        }
        outlineRoot();  // read before the pages change hands
        data.touched = true;
        const auto& slots = data.slots();
        PDFVersion version(1, 3);
        std::vector<std::shared_ptr<ParsedFile>> origins;
        for (const PageSlot& slot : slots) {
            origins.push_back(originOf(data, slot));
            if (!origins.back() || !slot.object.isInitialized()) {
                throw std::runtime_error("a page that was written to a file cannot be written again");
            }
            version.updateIfGreater(origins.back()->minimumVersion);
        }
        std::string out;
        pdf_detail::StringSink sink(out);
        pdf_detail::Writer writer(sink, version, {});
        std::vector<std::pair<pdf_detail::SourceCopy*, int>> reserved;
        for (size_t i = 0; i < slots.size(); ++i) {
            pdf_detail::SourceCopy& copy = writer.copyOf(origins[i]);
            reserved.emplace_back(&copy, copy.reservePage(slots[i].object));
        }
        std::vector<pdf_detail::WrittenPage> written;
        written.reserve(slots.size());
        for (size_t i = 0; i < slots.size(); ++i) {
            std::optional<pdf_detail::PageExtras> extras;
            if (slots[i].additions) {
                extras = pdf_detail::extrasFor(
                    *slots[i].additions,
                    [&reserved](uint64_t target) { return target < reserved.size() ? reserved[target].second : 0; },
                    [this](const PDFPage& page) { return indexForPage(page); });
            }
            written.push_back(
                reserved[i].first->writePage(slots[i].object, reserved[i].second, extras ? &*extras : nullptr));
            center.postNotification(
                {PDFDocumentDidEndPageWriteNotification, this, {{PDFDocumentPageIndexKey, static_cast<double>(i)}}});
        }
        for (const auto& [copy, number] : reserved) {
            copy->settle();
        }
        for (const auto& [copy, number] : reserved) {
            if (std::string loss = copy->loss(); !loss.empty()) {
                // What libqpdf could not read it writes empty: do not hand that out.
                throw std::runtime_error("a source file could not be read: " + loss);
            }
        }
        pdf_detail::Writer::Catalog catalog;
        for (const auto& page : written) {
            catalog.pages.push_back(&page);
        }
        catalog.outline = impl_->outline.get();
        catalog.indexOf = [this](const PDFPage& page) { return indexForPage(page); };
        catalog.attributes = &impl_->attributes;
        catalog.info["/Producer"] = pdf_detail::pdfString("Tomefuse");
        writer.finish(catalog);
        bytes = std::move(out);
    } catch (const std::bad_alloc&) {
        impl_->lastError = "not enough memory";
    } catch (const std::exception& e) {
        impl_->lastError = e.what();
        if (impl_->lastError.empty()) {
            impl_->lastError = "the PDF could not be written";
        }
    }
    center.postNotification({PDFDocumentDidEndWriteNotification, this, {}});
    return bytes;
}

const std::string& PDFDocument::lastError() const { return impl_->lastError; }

const std::string& PDFDocument::lastRepair() const { return impl_->lastRepair; }

}  // namespace tomefuse
