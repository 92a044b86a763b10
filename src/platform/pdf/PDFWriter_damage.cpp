// Whether what libqpdf read of a source is what its file holds. libqpdf warns both when it
// repairs (a cross-reference table rebuilt, a missing endobj, a stream length found again) and
// when it gives up on data; a file is refused only for the second. A warning about the
// cross-reference data or the trailer names no object: libqpdf finds the objects again by
// reading the file, and nothing is lost. While a stream is read, the stream itself shows whether
// it came out whole.

#include <algorithm>
#include <exception>
#include <new>
#include <qpdf/Pipeline.hh>
#include <qpdf/Pl_Count.hh>
#include <qpdf/Pl_Discard.hh>
#include <qpdf/QPDFExc.hh>

#include "platform/pdf/PDFDocumentImpl.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

// Signs, in a warning about an object being parsed, that libqpdf gave up on part of it: a read
// that ended early, a token it took for a string, data nested too deep, an object it could not
// read and replaced, a name it dropped, a key it made up; a stream it took for empty when the
// stream was parsed outside the check of streams.
bool losesData(const std::string& warning) {
    static const char* const signs[] = {"treating stream as empty",
                                        "unable to recover stream data",
                                        "unexpected EOF",
                                        "EOF while",
                                        "error reading object",
                                        "could not be read",
                                        "unknown token",
                                        "deeply nested",
                                        "too many errors",
                                        "not allowed in name",
                                        "found non-name object"};
    for (const char* sign : signs) {
        if (warning.find(sign) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// Warnings about what the writer copies exactly all the same: a name with a '#' that is not an
// escape, from before PDF 1.2, is written with the '#' escaped.
bool harmless(const std::string& warning) { return warning.find("name with stray #") != std::string::npos; }

bool outOfMemory(const std::string& warning) { return warning.find("bad_alloc") != std::string::npos; }

// Line ends some producers count in a stream's length and others do not.
constexpr long long lengthSlack = 2;

}  // namespace

void SourceCopy::noteWarning(const QPDFExc& warning) {
    const std::string& detail = warning.getMessageDetail();
    if (harmless(detail)) {
        return;
    }
    outOfMemory_ = outOfMemory_ || outOfMemory(detail);
    // One not about an object is about the cross-reference data or the trailer, which libqpdf
    // rebuilds from the objects themselves; "file is damaged" only announces it.
    const bool aboutObject = warning.getObject().rfind("object ", 0) == 0;
    std::string& kept = aboutObject && losesData(detail) ? loss_ : repair_;
    if (kept.empty() && detail != "file is damaged") {
        kept = detail;
    }
}

// Reads libqpdf's warnings as they come (taking them empties its list).
void SourceCopy::collectWarnings() {
    if (!openingNoted_) {
        openingNoted_ = true;
        for (const QPDFExc& warning : origin_->openingWarnings) {
            noteWarning(warning);
        }
    }
    if (pdf_.numWarnings() == 0) {
        return;
    }
    try {
        for (const QPDFExc& warning : pdf_.getWarnings()) {
            noteWarning(warning);
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
}

void SourceCopy::judgeStream(QPDFObjectHandle stream, bool read) {
    if (!read) {
        ++unreadStreams_;
        collectWarnings();
        return;
    }
    if (pdf_.numWarnings() == 0) {
        return;
    }
    // Warnings about other objects (parsed while this one's dictionary was written, or before)
    // are judged as any; the rest came from parsing or reading this stream.
    const std::string self = "object " + stream.getObjGen().unparse(' ');
    std::string first;
    try {
        for (const QPDFExc& warning : pdf_.getWarnings()) {
            const std::string& where = warning.getObject();
            if (where.rfind("object ", 0) == 0 && where != self) {
                noteWarning(warning);
                continue;
            }
            const std::string& detail = warning.getMessageDetail();
            outOfMemory_ = outOfMemory_ || outOfMemory(detail);
            if (first.empty() && !harmless(detail)) {
                first = detail;
            }
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
    if (first.empty() || outOfMemory_) {
        return;
    }
    if (streamIntact(stream)) {
        if (repair_.empty()) {
            repair_ = first;
        }
    } else if (loss_.empty()) {
        loss_ = "the data of stream " + stream.getObjGen().unparse(' ') + " is cut short (" + first + ")";
    }
}

// A page of a file libqpdf repaired whose /Contents leads to nothing: the reference outlived its
// object (the table rebuilt after the page was first read, say, took the object elsewhere). Such a
// page would come out blank; in a file read clean a dangling reference is the file's own.
void SourceCopy::requireContents(QPDFObjectHandle page, long long index) {
    std::map<std::string, QPDFObjectHandle> items = page.getDictAsMap();
    const auto contents = items.find("/Contents");
    if (contents == items.end()) {
        return;
    }
    QPDFObjectHandle value = contents->second;
    std::vector<QPDFObjectHandle> parts{value};
    if (value.isArray()) {
        parts = value.getArrayAsVector();
    }
    const bool dangling = std::any_of(parts.begin(), parts.end(),
                                      [](QPDFObjectHandle part) { return part.isIndirect() && part.isNull(); });
    if (!dangling) {
        return;
    }
    collectWarnings();
    if (!repair_.empty() && loss_.empty()) {
        loss_ = "the contents of page " + std::to_string(index + 1) + " cannot be found (" + repair_ + ")";
    }
}

// A stream libqpdf had to look for is whole when its filters decode it to their end without
// complaint; with no filter that can tell, when its data is as long as its dictionary says.
bool SourceCopy::streamIntact(QPDFObjectHandle stream) {
    try {
        Pl_Discard discard;
        Pl_Count raw("tomefuse raw", &discard);
        if (!stream.pipeStreamData(&raw, nullptr, 0, qpdf_dl_none, true, false)) {
            return false;
        }
        const long long size = raw.getCount();
        QPDFObjectHandle dict = stream.getDict();
        QPDFObjectHandle length = dict.getKey("/Length");
        QPDFObjectHandle filter = dict.getKey("/Filter");
        const bool hasFilter = filter.isName() || (filter.isArray() && filter.getArrayNItems() > 0);
        pdf_.getWarnings();
        Pl_Discard decoded;
        bool filtered = false;
        const bool decodes = stream.pipeStreamData(&decoded, &filtered, 0, qpdf_dl_specialized, false, false);
        const bool complaints = pdf_.numWarnings() > 0;
        pdf_.getWarnings();
        if (hasFilter && filtered) {
            return decodes && !complaints;
        }
        if (length.isInteger()) {
            return size + lengthSlack >= length.getIntValue();
        }
        return size > 0;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace tomefuse::pdf_detail
