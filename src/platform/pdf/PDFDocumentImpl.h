#pragma once

// Private to platform/pdf: the libqpdf side of documents and pages. Nothing outside this folder
// includes it, so no libqpdf type reaches the rest of the program.

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <qpdf/ClosedFileInputSource.hh>
#include <qpdf/PDFVersion.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFObjGen.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFGeometry.h"
#include "platform/pdf/PDFOutline.h"
#include "platform/pdf/PDFPage.h"

namespace tomefuse::pdf_detail {

struct ObjGenHash {
    size_t operator()(const QPDFObjGen& og) const noexcept {
        return std::hash<uint64_t>()((static_cast<uint64_t>(static_cast<uint32_t>(og.getObj())) << 32) ^
                                     static_cast<uint32_t>(og.getGen()));
    }
};

using ObjGenSet = std::unordered_set<QPDFObjGen, ObjGenHash>;

struct Assembly;

// What tells one state of a file from another: a file rewritten in place or replaced differs in
// its times or its inode.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modified = 0;  // nanoseconds
    int64_t changed = 0;
    static FileIdentity of(const struct ::stat& info);
    bool operator==(const FileIdentity&) const = default;
};

// A PDF file read through libqpdf's ClosedFileInputSource (open only while stayOpen(true), so a
// dropped source holds no descriptor), with a record of the reads that failed. libqpdf turns a
// failed read of stream data into a warning and writes the stream empty; a document being written
// compares the count before and after, and fails instead of losing pages' contents silently.
class WatchedFileSource : public InputSource {
  public:
    explicit WatchedFileSource(const std::string& path);
    void stayOpen(bool flag);

    // Over all files, since the program started; and the latest failure's description.
    static uint64_t failureCount();
    static std::string lastFailure();

    qpdf_offset_t findAndSkipNextEOL() override;
    const std::string& getName() const override;
    qpdf_offset_t tell() override;
    void seek(qpdf_offset_t offset, int whence) override;
    void rewind() override;
    size_t read(char* buffer, size_t length) override;
    void unreadCh(char ch) override;

  private:
    template <class F>
    auto guarded(F operation) -> decltype(operation());
    std::shared_ptr<ClosedFileInputSource> file_;
};

// The libqpdf document behind a PDFDocument, shared by the document and its page handles (a page
// keeps its document's data alive). It holds no reference back to any PDFDocument or outline, so
// page handles stored in outlines never make cycles.
struct DocumentData {
    std::shared_ptr<QPDF> qpdf;
    // The file a document was opened from; null for a document made empty or a file read whole
    // into memory. Held open only while the PDFDocument object lives, so dropped sources hold no
    // descriptor.
    std::shared_ptr<WatchedFileSource> file;
    // The file it was opened from; and, for a file read whole into memory, the file as it was
    // then (none for a document made empty or read through the file).
    std::string path;
    std::optional<FileIdentity> identity;
    // Pages were copied into it or out of it, or it was written: its parse is not handed on.
    bool touched = false;
    // The size of its file and of the files it copied pages from; a guess at the output's size.
    uint64_t inputBytes = 0;

    // Every document assembled from others that this document copied pages from, and
    // transitively theirs: their copied streams read their data through them when this document
    // is written. A document parsed from a file need not be kept: libqpdf's copy of one of its
    // streams holds only the file (or its bytes). Only QPDF objects are held (never a
    // DocumentData), so no ownership cycle can form.
    std::vector<std::shared_ptr<QPDF>> keepAlive;
    std::unordered_set<const QPDF*> keepAliveSet;
    // How much of each source's own keepAlive list has been merged into ours already.
    std::unordered_map<const QPDF*, size_t> keepAliveMerged;

    // The highest PDF version among this document and the sources it copied from; the output is
    // written with at least this version, as qpdf's own page merging does.
    PDFVersion minimumVersion;

    // What pages copied from other documents depend on (links, names, forms, labels); null until
    // the first such copy.
    std::shared_ptr<Assembly> assembly;

    // Page object -> index, rebuilt lazily; kept up to date for insertions at the end.
    std::unordered_map<QPDFObjGen, uint64_t, ObjGenHash> pageIndex;
    bool pageIndexValid = false;

    // Throw nothing.
    uint64_t pageCount();
    uint64_t indexOfPage(const QPDFObjGen& og);
    void invalidatePageIndex() {
        pageIndexValid = false;
        pageIndex.clear();
    }
    void keepSourceAlive(const DocumentData& source);
};

// The whole file in one buffer, with the file's identity, or null when it is too big, over budget
// or unreadable (the caller then reads it through the file, which reports what went wrong).
std::shared_ptr<InputSource> snapshotOf(const std::string& path, std::optional<FileIdentity>& identity);

// Keeps the parse of a file whose document was dropped, if nothing else holds any of it, for the
// next opening of the same file; takeParsedFile hands it out once, if the file is unchanged.
void parkParsedFile(std::shared_ptr<DocumentData> data);
std::shared_ptr<DocumentData> takeParsedFile(const std::string& path, const FileIdentity& now);

// Visits the entries of a name tree ("/Names") or number tree ("/Nums") depth first, reading past
// what libqpdf's tree helpers give up on: missing /Limits, entries out of order, kids that loop
// (each node is read once) or are damaged. Stops when visit answers false.
void walkTree(QPDFObjectHandle root, const std::string& entriesKey,
              const std::function<bool(QPDFObjectHandle, QPDFObjectHandle)>& visit);

// The named destinations of one document: its PDF 1.1 /Dests dictionary (name keys) and its
// /Names /Dests tree (string keys, UTF-8 here), read on first use.
class NamedDestinations {
  public:
    explicit NamedDestinations(QPDF& pdf) : pdf_(pdf) {}

    // The value of a name, null when there is none. Producers mix the two tables, so a name
    // object or a string is looked up in both, the dictionary first.
    QPDFObjectHandle find(const std::string& rawKey, const std::string& utf8Key);

    // Follows names and /D dictionaries to an explicit destination array; null when there is
    // none. A cycle of names ends after a few steps.
    QPDFObjectHandle resolve(QPDFObjectHandle destination);

    // Every name with its value, in key order; the dictionary's value wins over the tree's.
    std::map<std::string, QPDFObjectHandle> all();

  private:
    void load();
    QPDF& pdf_;
    bool loaded_ = false;
    QPDFObjectHandle dests_;
    std::map<std::string, QPDFObjectHandle> tree_;
};

// A page label, as plain values: its numbering style ("/D", "/r", ..., or none), prefix and
// first number.
struct PageLabel {
    std::string style;
    std::optional<std::string> prefix;
    long long start = 1;
};

// A destination of a copied link that names something its own document does not lead to here.
// Left as it is, unless this document comes to offer that name for another document's page.
struct UnresolvedName {
    QPDFObjectHandle holder;  // the copied annotation or action
    std::string key;
    std::string name;
};

// A document that pages were copied from, as the document copied into sees it.
struct SourceRecord {
    std::shared_ptr<QPDF> qpdf;  // declared first: the helpers below refer to it
    bool own = false;            // the copying document itself, for the pages it had already
    size_t ordinal = 0;          // 1, 2, ... among the other documents, in order of first copy
    // Page of this source -> its first copy in the document copied into.
    std::unordered_map<QPDFObjGen, QPDFObjectHandle, ObjGenHash> copies;
    // Pages copied from this source that may hold links (source page, copy).
    std::vector<std::pair<QPDFObjectHandle, QPDFObjectHandle>> linking;
    std::unique_ptr<QPDFAcroFormDocumentHelper> form;  // when the source has an interactive form
    bool formChecked = false;
    // Read at the first copy, while the source's file is still open: read later, every object
    // would reopen it. Each name with the explicit destination it resolves to (null for none).
    std::unique_ptr<NamedDestinations> names;
    std::map<std::string, QPDFObjectHandle> namedTargets;
    std::map<long long, PageLabel> labels;
    // Of the copying document itself, as they were before anything was copied in.
    std::vector<std::pair<std::string, QPDFObjectHandle>> ownNames;

    // Once no more pages can come from the source, everything it gave is settled in the document
    // copied into and its parse is let go: its names as they lead here, qpdf null.
    bool released = false;
    std::vector<std::pair<std::string, QPDFObjectHandle>> settledNames;
};

// Where a page of a document came from: a page of a source, and its index there.
struct PageOrigin {
    SourceRecord* source = nullptr;
    long long index = 0;
    QPDFObjectHandle sourcePage;  // not to be used once the source is released
    bool mayLink = false;         // the source page has annotations or actions
};

struct Assembly {
    std::vector<std::unique_ptr<SourceRecord>> sources;  // the document itself first, if it had pages
    std::unordered_map<const QPDF*, SourceRecord*> byQpdf;  // of the sources not released
    std::unordered_map<QPDFObjGen, PageOrigin, ObjGenHash> origins;  // by page of this document
    std::unique_ptr<QPDFAcroFormDocumentHelper> form;                // of this document
    size_t nextOrdinal = 1;
    bool pending = false;  // pages were copied since the last finishAssembly
    std::vector<UnresolvedName> unresolvedNames;  // from the links of released sources
};

// Around each copy of a page of source into data: before, so that what the copy depends on can
// be found later (and a source assembled from others has its own links settled first); after,
// with the new page. Throw nothing.
void prepareInsertion(DocumentData& data, DocumentData& source);
void noteInsertedPage(DocumentData& data, DocumentData& source, QPDFObjectHandle sourcePage, QPDFObjectHandle copy);

// Makes the copied pages' links lead to the copies of their targets, offers the sources' named
// destinations, and labels the pages; repeatable, as more pages may be copied in between.
void finishAssembly(DocumentData& data);

// Parts of finishAssembly. writeNamedDestinations answers the names the document now offers.
std::unordered_set<std::string> writeNamedDestinations(DocumentData& data, Assembly& assembly);
void writePageLabels(DocumentData& data, Assembly& assembly);

// Makes the links of the pages copied from source lead to the copies of their targets. A name
// that leads nowhere here is added to unresolved.
void fixLinks(SourceRecord& source, std::vector<UnresolvedName>& unresolved);
// The source's named destinations that lead to pages copied here, rewritten to lead to them.
std::vector<std::pair<std::string, QPDFObjectHandle>> retargetedNames(SourceRecord& source);

// A page label tree's entries; those that are not a page index and a dictionary are left out.
std::map<long long, PageLabel> labelEntries(QPDFObjectHandle tree);

// Rectangles and attributes of page objects, tolerant of anything a damaged file holds.
PDFRect mediaBoxOf(QPDFObjectHandle page);
PDFRect cropBoxOf(QPDFObjectHandle page);
int rotationOf(QPDFObjectHandle page);

// Reads the document's /Outlines into a tree of PDFOutline items, iteratively, cutting loops.
// pageAt makes the page handle for an index of this document. Null when there is no outline.
std::shared_ptr<PDFOutline> readOutline(DocumentData& data, const std::function<PDFPage(uint64_t)>& pageAt);

// Replaces the document's /Outlines with a fresh tree written from root (none when root is null
// or has no children). indexOf answers a destination page's index in this document or NSNotFound.
void writeOutline(DocumentData& data, const PDFOutline* root, const std::function<uint64_t(const PDFPage&)>& indexOf);

}  // namespace tomefuse::pdf_detail

namespace tomefuse {

struct PDFPage::Impl {
    std::shared_ptr<pdf_detail::DocumentData> doc;  // declared first: destroyed after the handle
    QPDFObjectHandle page;
};

struct PDFDocument::Impl {
    std::shared_ptr<pdf_detail::DocumentData> data;
    bool outlineLoaded = false;    // outline holds what the file has, or what was set
    bool outlineReplaced = false;  // setOutlineRoot was called: dataRepresentation writes outline
    std::shared_ptr<PDFOutline> outline;
    std::string lastError;
};

}  // namespace tomefuse
