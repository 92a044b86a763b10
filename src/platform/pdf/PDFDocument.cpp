#include "platform/pdf/PDFDocument.h"

#include <sys/stat.h>

#include <algorithm>
#include <exception>
#include <new>
#include <qpdf/Pl_String.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFWriter.hh>

#include "platform/desktop/NotificationCenter.h"
#include "platform/pdf/PDFDocumentImpl.h"

// libqpdf reports damage as exceptions (QPDFExc, std::runtime_error, std::logic_error, all
// std::exception) and may throw from any lazy object resolution. Every public operation here
// catches at this wall; nothing is thrown to callers.

namespace tomefuse {

namespace pdf_detail {

namespace {
uint64_t ioFailures = 0;  // libqpdf is used from the main thread only
std::string ioLastFailure;
}  // namespace

WatchedFileSource::WatchedFileSource(const std::string& path)
    : file_(std::make_shared<ClosedFileInputSource>(path.c_str())) {}

void WatchedFileSource::stayOpen(bool flag) {
    guarded([&] {
        file_->stayOpen(flag);
        return 0;
    });
}

uint64_t WatchedFileSource::failureCount() { return ioFailures; }

std::string WatchedFileSource::lastFailure() { return ioLastFailure; }

template <class F>
auto WatchedFileSource::guarded(F operation) -> decltype(operation()) {
    try {
        auto result = operation();
        last_offset = file_->getLastOffset();
        return result;
    } catch (const std::exception& e) {
        ++ioFailures;
        ioLastFailure = e.what();
        throw;
    }
}

qpdf_offset_t WatchedFileSource::findAndSkipNextEOL() {
    return guarded([&] { return file_->findAndSkipNextEOL(); });
}

const std::string& WatchedFileSource::getName() const { return file_->getName(); }

qpdf_offset_t WatchedFileSource::tell() {
    return guarded([&] { return file_->tell(); });
}

void WatchedFileSource::seek(qpdf_offset_t offset, int whence) {
    guarded([&] {
        file_->seek(offset, whence);
        return 0;
    });
}

void WatchedFileSource::rewind() {
    guarded([&] {
        file_->rewind();
        return 0;
    });
}

size_t WatchedFileSource::read(char* buffer, size_t length) {
    return guarded([&] { return file_->read(buffer, length); });
}

void WatchedFileSource::unreadCh(char ch) {
    guarded([&] {
        file_->unreadCh(ch);
        return 0;
    });
}

uint64_t DocumentData::pageCount() {
    try {
        return qpdf->getAllPages().size();
    } catch (const std::exception&) {
        return 0;
    }
}

uint64_t DocumentData::indexOfPage(const QPDFObjGen& og) {
    try {
        if (!pageIndexValid) {
            pageIndex.clear();
            const auto& pages = qpdf->getAllPages();
            pageIndex.reserve(pages.size());
            for (size_t i = 0; i < pages.size(); ++i) {
                pageIndex.emplace(pages[i].getObjGen(), i);
            }
            pageIndexValid = true;
        }
        auto it = pageIndex.find(og);
        return it == pageIndex.end() ? NSNotFound : it->second;
    } catch (const std::exception&) {
        invalidatePageIndex();
        return NSNotFound;
    }
}

void DocumentData::keepSourceAlive(const DocumentData& source) {
    minimumVersion.updateIfGreater(source.minimumVersion);
    // Only a document assembled from others has streams that read through its QPDF.
    if (!source.assembly || !source.qpdf || source.qpdf == qpdf) {
        return;
    }
    auto keep = [this](const std::shared_ptr<QPDF>& pdf) {
        if (pdf && pdf != qpdf && keepAliveSet.insert(pdf.get()).second) {
            keepAlive.push_back(pdf);
        }
    };
    keep(source.qpdf);
    // The source may itself hold pages copied from elsewhere; only its list's new tail needs a look.
    size_t& merged = keepAliveMerged[source.qpdf.get()];
    for (; merged < source.keepAlive.size(); ++merged) {
        keep(source.keepAlive[merged]);
    }
}

}  // namespace pdf_detail

namespace {

std::shared_ptr<QPDF> newQPDF() {
    auto pdf = QPDF::create();
    // Damaged files recovered silently are fine; libqpdf would print every warning on stderr.
    pdf->setSuppressWarnings(true);
    return pdf;
}

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

}  // namespace

PDFDocument::PDFDocument() : impl_(std::make_shared<Impl>()) {
    auto data = std::make_shared<pdf_detail::DocumentData>();
    data->qpdf = newQPDF();
    data->qpdf->emptyPDF();
    auto info = data->qpdf->makeIndirectObject(QPDFObjectHandle::newDictionary());
    info.replaceKey("/Producer", QPDFObjectHandle::newString("Tomefuse"));
    data->qpdf->getTrailer().replaceKey("/Info", info);
    data->minimumVersion = versionOf(*data->qpdf);
    data->pageIndexValid = true;  // no pages
    impl_->data = std::move(data);
}

PDFDocument::PDFDocument(Unset) : impl_(std::make_shared<Impl>()) {}

PDFDocument::~PDFDocument() {
    if (!impl_ || !impl_->data) {
        return;
    }
    // Pages and combined documents may still need this file's data; they reopen it on demand.
    // Only live documents keep a descriptor, so thousands of dropped sources cost none.
    if (impl_->data->file) {
        try {
            impl_->data->file->stayOpen(false);
        } catch (const std::exception&) {
        }
    }
    if (impl_.use_count() == 1) {
        impl_->outline.reset();  // its items hold pages of this document
        pdf_detail::parkParsedFile(std::move(impl_->data));
    }
}

std::shared_ptr<PDFDocument> PDFDocument::initWithURL(const std::string& path) {
    // Only regular files: a folder is no PDF, and a FIFO or device could block forever.
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    try {
        // Not the public constructor: the empty document it makes would be thrown away.
        std::shared_ptr<PDFDocument> document(new PDFDocument(Unset{}));
        if (auto parsed = pdf_detail::takeParsedFile(path, pdf_detail::FileIdentity::of(info))) {
            document->impl_->data = std::move(parsed);
            return document;
        }
        auto data = std::make_shared<pdf_detail::DocumentData>();
        data->qpdf = newQPDF();
        data->path = path;
        data->inputBytes = static_cast<uint64_t>(info.st_size);
        std::shared_ptr<InputSource> input = pdf_detail::snapshotOf(path, data->identity);
        if (!input) {
            data->file = std::make_shared<pdf_detail::WatchedFileSource>(path);
            data->file->stayOpen(true);
            input = data->file;
        }
        // No password: a file whose user password is not empty throws here.
        data->qpdf->processInputSource(input);
        // The page tree is read lazily; a loop in /Pages or a broken tree only shows when the
        // pages are listed, so list them now and refuse the file if that fails.
        data->qpdf->getAllPages();
        data->minimumVersion = versionOf(*data->qpdf);
        document->impl_->data = std::move(data);
        return document;
    } catch (...) {
        return nullptr;
    }
}

uint64_t PDFDocument::pageCount() const { return impl_->data->pageCount(); }

PDFPage PDFDocument::pageAtIndex(uint64_t index) const {
    try {
        const auto& pages = impl_->data->qpdf->getAllPages();
        if (index >= pages.size()) {
            return {};
        }
        return PDFPage(std::make_shared<const PDFPage::Impl>(PDFPage::Impl{impl_->data, pages[index]}));
    } catch (const std::exception&) {
        return {};
    }
}

uint64_t PDFDocument::indexForPage(const PDFPage& page) const {
    if (!page || page.impl_->doc != impl_->data) {
        return NSNotFound;
    }
    try {
        return impl_->data->indexOfPage(page.impl_->page.getObjGen());
    } catch (const std::exception&) {
        return NSNotFound;
    }
}

// The one place pages are copied into a document. What the copy depends on beyond its own
// objects (links, names, form fields, labels) is recorded here and settled before writing.
bool PDFDocument::insertPage(const PDFPage& page, uint64_t index) {
    if (!page) {
        return false;
    }
    auto& data = *impl_->data;
    const auto& source = page.impl_->doc;
    try {
        QPDF& pdf = *data.qpdf;
        const uint64_t count = pdf.getAllPages().size();
        if (index > count) {
            return false;
        }
        // libqpdf pushes the source's inherited MediaBox, CropBox, Rotate and Resources down to its
        // pages, copies the page with everything it references (once per source object), and makes
        // a shallow copy when the same page object would be listed twice.
        QPDFObjectHandle sourcePage = page.impl_->page;
        data.touched = true;
        source->touched = true;
        pdf_detail::prepareInsertion(data, *source);
        if (index == count) {
            pdf.addPage(sourcePage, false);
        } else {
            QPDFObjectHandle before = pdf.getAllPages().at(index);
            pdf.addPageAt(sourcePage, true, before);
        }
        QPDFObjectHandle copy = pdf.getAllPages().at(index);
        if (index == count && data.pageIndexValid) {
            data.pageIndex[copy.getObjGen()] = index;
        } else {
            data.invalidatePageIndex();
        }
        pdf_detail::noteInsertedPage(data, *source, sourcePage, copy);
        if (source.get() != &data) {
            data.keepSourceAlive(*source);
        }
        return true;
    } catch (const std::exception& e) {
        impl_->lastError = e.what();
        data.invalidatePageIndex();
        return false;
    } catch (...) {
        data.invalidatePageIndex();
        return false;
    }
}

std::shared_ptr<PDFOutline> PDFDocument::outlineRoot() const {
    if (!impl_->outlineLoaded) {
        impl_->outlineLoaded = true;
        try {
            impl_->outline = pdf_detail::readOutline(*impl_->data, [this](uint64_t i) { return pageAtIndex(i); });
        } catch (const std::exception&) {
            impl_->outline = nullptr;
        }
    }
    return impl_->outline;
}

void PDFDocument::setOutlineRoot(std::shared_ptr<PDFOutline> root) {
    impl_->outline = std::move(root);
    impl_->outlineLoaded = true;
    impl_->outlineReplaced = true;
}

std::optional<std::string> PDFDocument::dataRepresentation() {
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.postNotification({PDFDocumentDidBeginWriteNotification, this, {}});

    auto& data = *impl_->data;
    const uint64_t pages = data.pageCount();
    uint64_t posted = 0;
    auto postPagesUpTo = [&](uint64_t target) {
        for (; posted < std::min(target, pages); ++posted) {
            center.postNotification({PDFDocumentDidEndPageWriteNotification,
                                     this,
                                     {{PDFDocumentPageIndexKey, static_cast<double>(posted)}}});
        }
    };

    std::optional<std::string> bytes;
    try {
        impl_->lastError.clear();
        data.touched = true;
        pdf_detail::finishAssembly(data);
        if (impl_->outlineReplaced) {
            pdf_detail::writeOutline(data, impl_->outline.get(), [this](const PDFPage& p) { return indexForPage(p); });
        }
        std::string out;
        try {
            // Mostly the sources' bytes again. Room that is never written costs no memory, while
            // growing the string as it fills would hold two copies at once.
            out.reserve(std::min<uint64_t>(data.inputBytes + (1u << 20), uint64_t{1} << 33));
        } catch (const std::exception&) {
        }
        Pl_String sink("tomefuse output", nullptr, out);
        QPDFWriter writer(*data.qpdf);
        writer.setOutputPipeline(&sink);
        // Plain objects, as the tools people compare with write them: packing them into compressed
        // object streams makes a smaller file but takes more than twice as long to write.
        writer.setObjectStreamMode(qpdf_o_disable);
        // Compress only streams that have no filter; never decode a stream to re-encode it, so a
        // stream whose data is damaged (a corrupt LZW stream, say) is copied as it stands.
        writer.setCompressStreams(true);
        writer.setDecodeLevel(qpdf_dl_none);
        std::string version;
        int extension = 0;
        data.minimumVersion.getVersion(version, extension);
        writer.setMinimumPDFVersion(version, extension);
        // The writer reports 0..100 percent as it goes; spread the page notifications over it.
        writer.registerProgressReporter(std::make_shared<QPDFWriter::FunctionProgressReporter>([&](int percent) {
            const uint64_t p = static_cast<uint64_t>(std::clamp(percent, 0, 100));
            postPagesUpTo(p * pages / 100);
        }));
        const uint64_t failuresBefore = pdf_detail::WatchedFileSource::failureCount();
        writer.write();
        if (pdf_detail::WatchedFileSource::failureCount() != failuresBefore) {
            // libqpdf wrote the unreadable streams empty, with a warning: do not hand that out.
            throw std::runtime_error("a source file could not be read: " +
                                     pdf_detail::WatchedFileSource::lastFailure());
        }
        postPagesUpTo(pages);
        bytes = std::move(out);
    } catch (const std::exception& e) {
        impl_->lastError = e.what();
        if (impl_->lastError.empty()) {
            impl_->lastError = "the PDF could not be written";
        }
    } catch (...) {
        impl_->lastError = "the PDF could not be written";
    }

    center.postNotification({PDFDocumentDidEndWriteNotification, this, {}});
    return bytes;
}

const std::string& PDFDocument::lastError() const { return impl_->lastError; }

}  // namespace tomefuse
