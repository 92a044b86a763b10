// Opening files: the parse of a file (a kept one, or a new one), the document over it, and the
// summary the list shows without listing its pages.

#include <algorithm>
#include <exception>
#include <new>
#include <qpdf/QPDFExc.hh>

#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFDocumentImpl.h"
#include "platform/pdf/PDFParseCache.h"

// libqpdf reports damage as exceptions and may throw from any lazy object resolution: nothing
// here lets one through.

namespace tomefuse {

namespace {

using pdf_detail::DocumentData;
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

// A table entry libqpdf had to accept as invalid may give an object a generation its references do
// not use; they would read as null and the object be lost without a word. Reading such an entry
// finds no object of that number and generation at its offset, which makes libqpdf rebuild the
// table from the objects themselves, before anything else is read. The warnings are kept for the
// copy of the file to judge.
void rebuildTableOnInvalidEntries(QPDF& pdf, std::vector<QPDFExc>& warnings) {
    if (!pdf.anyWarnings()) {
        return;
    }
    warnings = pdf.getWarnings();
    const bool invalidEntry = std::any_of(warnings.begin(), warnings.end(), [](const QPDFExc& warning) {
        return warning.getMessageDetail() == "accepting invalid xref table entry";
    });
    if (!invalidEntry) {
        return;
    }
    for (const auto& [og, entry] : pdf.getXRefTable()) {
        if (entry.getType() == 1 && og.getGen() != 0) {
            pdf.getObject(og).isNull();
        }
    }
}

// A new parse of the file; null, with the reason, when it does not parse. Throws what reading the
// file throws past the parse itself.
std::shared_ptr<ParsedFile> newParse(const std::string& path, const std::string& password, ImagePageSize imagePages,
                                     PDFOpenFailure& why) {
    auto parse = std::make_shared<ParsedFile>();
    parse->path = path;
    parse->password = password;
    bool isImage = false;
    std::shared_ptr<InputSource> input =
        pdf_detail::openInput(path, parse->identity, parse->file, why, imagePages, isImage);
    if (!input) {
        return nullptr;
    }
    if (isImage) {
        parse->imagePages = imagePages;
    }
    parse->qpdf = pdf_detail::newQPDF();
    try {
        parse->qpdf->processInputSource(input, password.empty() ? nullptr : password.c_str());
        rebuildTableOnInvalidEntries(*parse->qpdf, parse->openingWarnings);
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
    return why == PDFOpenFailure::none ? parse : nullptr;
}

// The parse of a file: one kept for the same unchanged file and password, or a new one. With
// listPages, the page tree is read now: a loop in /Pages or a broken tree only shows when the
// pages are listed, and the file is refused if that fails.
std::shared_ptr<ParsedFile> parseFile(const std::string& path, const std::string& password, bool listPages,
                                      PDFParseCache* parses, ImagePageSize imagePages, PDFOpenFailure& why) {
    why = PDFOpenFailure::none;
    try {
        if (path.empty()) {
            why = PDFOpenFailure::missing;
            return nullptr;
        }
        std::shared_ptr<ParsedFile> parse;
        if (auto now = parses ? pdf_detail::identityOf(path) : std::nullopt) {
            parse = parses->take(path, *now, password, imagePages);
        }
        if (!parse) {
            parse = newParse(path, password, imagePages, why);
        }
        if (!parse) {
            return nullptr;
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

std::shared_ptr<PDFDocument> PDFDocument::initWithURL(const std::string& path) {
    PDFOpenFailure ignored = PDFOpenFailure::none;
    return initWithURL(path, std::string(), &ignored);
}

std::shared_ptr<PDFDocument> PDFDocument::initWithURL(const std::string& path, const std::string& password,
                                                      PDFOpenFailure* failure, std::shared_ptr<PDFParseCache> parses,
                                                      ImagePageSize imagePages) {
    PDFOpenFailure why = PDFOpenFailure::none;
    std::shared_ptr<ParsedFile> parse = parseFile(path, password, true, parses.get(), imagePages, why);
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
    document->impl_->parses = std::move(parses);
    return document;
}

bool PDFDocument::hasPDFHeader(std::string_view head) { return head.find("%PDF-") != std::string_view::npos; }

PDFFileSummary PDFDocument::summaryOfFile(const std::string& path, const std::string& password, PDFParseCache* parses,
                                          ImagePageSize imagePages) {
    PDFFileSummary summary;
    std::shared_ptr<ParsedFile> parse = parseFile(path, password, false, parses, imagePages, summary.failure);
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
    if (summary.failure == PDFOpenFailure::none && parses) {
        parses->keep(std::move(parse));  // for the combine that may follow
    }
    return summary;
}

std::vector<PDFBookmarkLine> PDFDocument::bookmarksOfFile(const std::string& path, const std::string& password,
                                                          PDFOpenFailure* failure, size_t limit,
                                                          std::shared_ptr<const void>* parse) {
    PDFOpenFailure why = PDFOpenFailure::none;
    std::vector<PDFBookmarkLine> lines;
    if (std::shared_ptr<ParsedFile> parsed = parseFile(path, password, false, nullptr, ImagePageSize::natural, why)) {
        try {
            lines = pdf_detail::readBookmarkLines(*parsed, limit);
        } catch (const std::bad_alloc&) {
            why = PDFOpenFailure::outOfMemory;
        } catch (const std::exception&) {
            why = PDFOpenFailure::damaged;
        }
        if (parse) {
            *parse = std::move(parsed);
        }
    }
    if (failure) {
        *failure = why;
    }
    return lines;
}

}  // namespace tomefuse
