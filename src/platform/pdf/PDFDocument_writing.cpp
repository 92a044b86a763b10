// Writing documents: one way for both kinds. A document written as it is assembled writes each
// run of pages to its file as it is inserted; dataRepresentation writes a document's pages in one
// run into memory, through the same steps.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <new>

#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFDocumentImpl.h"
#include "platform/pdf/PDFDocumentWriting.h"

namespace tomefuse {

namespace {

using pdf_detail::DocumentData;
using pdf_detail::PageSlot;
using pdf_detail::ParsedFile;
using pdf_detail::SourceCopy;
using pdf_detail::Streaming;
using pdf_detail::WrittenPage;

// A page to write: its object, the parse it lives in, and what it carries besides.
struct PageToWrite {
    std::shared_ptr<ParsedFile> origin;
    QPDFObjectHandle object;
    const PDFPageAdditions* additions = nullptr;
    int turn = 0;  // degrees added to its rotation
};

void beginStream(Streaming& stream, uint64_t expectedPageCount) {
    if (stream.begun) {
        return;
    }
    stream.begun = true;
    if (stream.observer) {
        stream.observer->didBeginWrite(expectedPageCount);
    }
}

// Writes a run of pages, which become the document's pages from firstIndex on. Each gets its
// number before any is written, so that links among them lead to their copies; earlierNumber
// gives the number of a page written before the run (0 for none). Answers the copies the pages
// came from, in the order first used.
std::vector<SourceCopy*> writeRun(Streaming& stream, const std::vector<PageToWrite>& pages, uint64_t firstIndex,
                                  const std::function<int(uint64_t)>& earlierNumber,
                                  const std::function<uint64_t(const PDFPage&)>& indexOf,
                                  const std::function<void(WrittenPage)>& didWrite) {
    std::vector<SourceCopy*> copies;
    std::vector<std::pair<SourceCopy*, int>> reserved;
    reserved.reserve(pages.size());
    for (const PageToWrite& page : pages) {
        SourceCopy& copy = stream.writer->copyOf(page.origin);
        if (std::find(copies.begin(), copies.end(), &copy) == copies.end()) {
            copies.push_back(&copy);
        }
        reserved.emplace_back(&copy, copy.reservePage(page.object));
    }
    const auto numberAt = [&](uint64_t target) {
        return target >= firstIndex && target - firstIndex < reserved.size() ? reserved[target - firstIndex].second
                                                                             : earlierNumber(target);
    };
    for (size_t i = 0; i < pages.size(); ++i) {
        std::optional<pdf_detail::PageExtras> extras;
        if (pages[i].additions) {
            extras = pdf_detail::extrasFor(*pages[i].additions, numberAt, indexOf);
            if (pages[i].additions->contents && stream.writer->hasStructure()) {
                pdf_detail::tagContentsPage(*stream.writer, pages[i].object, reserved[i].second,
                                            *pages[i].additions->contents, *extras);
            }
        }
        if (pages[i].turn != 0) {
            extras = extras.value_or(pdf_detail::PageExtras{});
            extras->turn += pages[i].turn;
        }
        didWrite(reserved[i].first->writePage(pages[i].object, reserved[i].second, extras ? &*extras : nullptr));
        if (stream.observer) {
            stream.observer->didEndPageWrite(firstIndex + i);
        }
    }
    return copies;
}

// Writes what ties the pages together and the file's tail.
void finishStream(Streaming& stream, const PDFDocument::Impl& impl, std::vector<const WrittenPage*> pages,
                  std::function<uint64_t(const PDFPage&)> indexOf) {
    pdf_detail::Writer::Catalog catalog;
    catalog.pages = std::move(pages);
    catalog.outline = impl.outline.get();
    catalog.indexOf = std::move(indexOf);
    catalog.attributes = &impl.attributes;
    catalog.info["/Producer"] = pdf_detail::pdfString("Tomefuse");
    stream.writer->finish(catalog);
}

void endStream(Streaming& stream) {
    stream.dead = true;
    stream.writer.reset();  // every source still held goes with it
    if (stream.observer) {
        stream.observer->didEndWrite();
    }
}

}  // namespace

std::shared_ptr<PDFDocument> PDFDocument::initWritingToFile(PDFWriteTarget target) {
    if (target.fd < 0) {
        return nullptr;
    }
    auto document = init();
    auto& data = *document->impl_->data;
    data.streaming = std::make_unique<Streaming>();
    data.streaming->sink = std::make_unique<pdf_detail::FileSink>(target.fd);
    data.streaming->observer = target.observer;
    try {
        data.streaming->writer = std::make_unique<pdf_detail::Writer>(
            *data.streaming->sink, PDFVersion(1, 4), pdf_detail::Writer::Options{target.cancelled, target.memoryLimit});
    } catch (const std::exception& e) {
        document->impl_->lastError = e.what();
        data.streaming->dead = true;
    }
    return document;
}

PDFInsertResult PDFDocument::insertSlots(pdf_detail::DocumentData& from, const std::vector<uint64_t>& indices,
                                         const PDFPageAdditions* additions, const std::vector<int>* turns) {
    auto& data = *impl_->data;
    auto& stream = *data.streaming;
    if (stream.dead) {
        return PDFInsertResult::writeFailed;
    }
    // The pages to write; all from one parse, as a file's are.
    std::vector<PageToWrite> pages;
    auto& fromSlots = from.slots();
    for (size_t i = 0; i < indices.size(); ++i) {
        const uint64_t index = indices[i];
        if (index >= fromSlots.size() || !fromSlots[index].object.isInitialized()) {
            return PDFInsertResult::refused;
        }
        pages.push_back({from.originOf(fromSlots[index]), fromSlots[index].object, additions, turns ? (*turns)[i] : 0});
        if (!pages.back().origin || pages.back().origin != pages.front().origin) {
            return PDFInsertResult::refused;
        }
    }
    if (pages.empty()) {
        return PDFInsertResult::inserted;
    }
    beginStream(stream, indices.size());
    from.touched = true;
    auto& slots = data.slots();
    const size_t firstNew = slots.size();
    SourceCopy* reading = nullptr;
    // The write ends here, saying why.
    const auto stop = [this, &stream](std::string why, PDFInsertResult result) {
        impl_->lastError = std::move(why);
        stream.dead = true;
        return result;
    };
    try {
        reading = &stream.writer->copyOf(pages.front().origin);
        // Links lead to pages already written: their numbers are known.
        const std::vector<SourceCopy*> copies = writeRun(
            stream, pages, firstNew,
            [&slots](uint64_t target) {
                return target < slots.size() && slots[target].written ? slots[target].written->number : 0;
            },
            [this](const PDFPage& page) { return indexForPage(page); },
            [&data, &slots](WrittenPage written) {
                slots.push_back(PageSlot{data.newSlotId(), nullptr, QPDFObjectHandle(),
                                         std::make_shared<const WrittenPage>(std::move(written))});
                data.slotsChanged();
            });
        SourceCopy& copy = *copies.front();
        // What the source gives besides its pages is read now too, so that the check below
        // covers everything taken from the file.
        copy.settle();
        impl_->lastRepair = copy.repair();
        impl_->lastCatalogLeftOut.clear();
        for (const std::string& key : copy.catalogLeftOut()) {
            impl_->lastCatalogLeftOut += (impl_->lastCatalogLeftOut.empty() ? "" : ", ") + key;
        }
        if (std::string loss = copy.loss(); !loss.empty()) {
            return leaveOutSource(*pages.front().origin, firstNew, std::move(loss));
        }
        copy.commit();
        return PDFInsertResult::inserted;
    } catch (const pdf_detail::WriteCancelled&) {
        return stop("cancelled", PDFInsertResult::cancelled);
    } catch (const pdf_detail::WriteFailure& e) {
        return stop(e.what(), PDFInsertResult::writeFailed);
    } catch (const std::bad_alloc&) {
        // Never a damaged file, nor an empty page in its place: the write cannot go on.
        return stop("not enough memory", PDFInsertResult::writeFailed);
    } catch (const std::exception& e) {
        if (reading && reading->ranOutOfMemory()) {
            return stop("not enough memory", PDFInsertResult::writeFailed);
        }
        // libqpdf could not read what a page needs, or the writer found it cannot be written as
        // it is: the file is damaged.
        return leaveOutSource(*pages.front().origin, firstNew, std::string("damaged: ") + e.what());
    }
}

PDFInsertResult PDFDocument::leaveOutSource(const ParsedFile& origin, size_t firstNew, std::string why) {
    auto& data = *impl_->data;
    // What was written of it stays in the file, unreachable: no page of it is listed.
    impl_->lastError = std::move(why);
    impl_->lastRepair.clear();
    impl_->lastCatalogLeftOut.clear();
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
    if (impl_->data->streaming) {
        beginStream(*impl_->data->streaming, expectedPageCount);
    }
}

bool PDFDocument::finishWriting() {
    auto& data = *impl_->data;
    if (!data.streaming) {
        return false;
    }
    auto& stream = *data.streaming;
    beginStream(stream, data.pageCount());
    bool ok = false;
    if (!stream.dead) {
        try {
            std::vector<const WrittenPage*> pages;
            for (const PageSlot& slot : data.slots()) {
                pages.push_back(slot.written.get());
            }
            finishStream(stream, *impl_, std::move(pages), [this](const PDFPage& page) { return indexForPage(page); });
            ok = true;
        } catch (const pdf_detail::WriteCancelled&) {
            impl_->lastError = "cancelled";
        } catch (const std::bad_alloc&) {
            impl_->lastError = "not enough memory";
        } catch (const std::exception& e) {
            impl_->lastError = e.what();
        }
    }
    endStream(stream);
    return ok;
}

std::optional<std::string> PDFDocument::dataRepresentation(PDFWriteObserver* observer) {
    auto& data = *impl_->data;
    std::string out;
    Streaming stream;
    stream.sink = std::make_unique<pdf_detail::StringSink>(out);
    stream.observer = observer;
    beginStream(stream, data.pageCount());

    std::optional<std::string> bytes;
    impl_->lastError.clear();
    try {
        if (data.streaming) {
            throw std::runtime_error("the document is written to a file");
        }
        outlineRoot();  // read before the pages change hands
        data.touched = true;
        std::vector<PageToWrite> pages;
        PDFVersion version(1, 3);
        for (const PageSlot& slot : data.slots()) {
            pages.push_back({data.originOf(slot), slot.object, slot.additions.get()});
            if (!pages.back().origin || !slot.object.isInitialized()) {
                throw std::runtime_error("a page that was written to a file cannot be written again");
            }
            version.updateIfGreater(pages.back().origin->minimumVersion);
        }
        // Every page is known before the first is written, so the header says the version.
        stream.writer = std::make_unique<pdf_detail::Writer>(*stream.sink, version, pdf_detail::Writer::Options{});
        std::vector<WrittenPage> written;
        written.reserve(pages.size());
        const auto indexOf = [this](const PDFPage& page) { return indexForPage(page); };
        const std::vector<SourceCopy*> copies = writeRun(
            stream, pages, 0, [](uint64_t) { return 0; }, indexOf,
            [&written](WrittenPage page) { written.push_back(std::move(page)); });
        for (SourceCopy* copy : copies) {
            copy->settle();
        }
        for (SourceCopy* copy : copies) {
            if (std::string loss = copy->loss(); !loss.empty()) {
                // What libqpdf could not read it writes empty: do not hand that out.
                throw std::runtime_error("a source file could not be read: " + loss);
            }
        }
        std::vector<const WrittenPage*> writtenPages;
        for (const WrittenPage& page : written) {
            writtenPages.push_back(&page);
        }
        finishStream(stream, *impl_, std::move(writtenPages), indexOf);
        bytes = std::move(out);
    } catch (const std::bad_alloc&) {
        impl_->lastError = "not enough memory";
    } catch (const std::exception& e) {
        impl_->lastError = e.what();
        if (impl_->lastError.empty()) {
            impl_->lastError = "the PDF could not be written";
        }
    }
    endStream(stream);
    return bytes;
}

std::string PDFDocument::lossOfPages(const std::string& path, const std::string& password,
                                     const std::vector<uint64_t>& indices) {
    // Not the listing's parse: what this copy reads of the file would not be read again.
    PDFOpenFailure failure = PDFOpenFailure::none;
    std::shared_ptr<PDFDocument> source = initWithURL(path, password, &failure);
    const int fd = source ? ::open("/dev/null", O_WRONLY | O_CLOEXEC) : -1;
    if (fd < 0) {
        return {};  // what does not open is the listing's to say
    }
    std::string why;
    {
        PDFWriteTarget target;
        target.fd = fd;
        std::shared_ptr<PDFDocument> trial = initWritingToFile(target);
        if (trial->insertPages(*source, indices) == PDFInsertResult::sourceDamaged) {
            why = trial->lastError();
        }
    }
    ::close(fd);
    return why;
}

}  // namespace tomefuse
