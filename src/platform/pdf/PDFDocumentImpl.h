#pragma once

// Private to platform/pdf: the libqpdf side of documents and pages. Nothing outside this folder
// includes it, so no libqpdf type reaches the rest of the program.

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <qpdf/InputSource.hh>
#include <qpdf/PDFVersion.hh>
#include <qpdf/QPDF.hh>
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

// A file larger than what is read into memory, read through a descriptor that is open only
// while its document lives (stayOpen), so thousands of dropped sources hold none. Reopening
// checks that the path still names the same regular file, without blocking on a pipe or device
// put in its place; a read that fails (the file replaced or cut short) is counted, because
// libqpdf turns a failed read of stream data into a warning and carries on.
class FileSource : public InputSource {
  public:
    // fd: the file, opened and checked by the caller; taken over.
    FileSource(std::string path, int fd, const struct ::stat& info);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    void stayOpen(bool flag);
    // Why the file is not the one that was opened any more (rewritten in place, cut short,
    // grown); empty when it is. A file changed within its clock's resolution of being opened
    // has the bytes read from it read again and compared.
    std::string changedSinceOpened();
    uint64_t failureCount() const { return failures_; }
    const std::string& lastFailure() const { return lastFailure_; }

    qpdf_offset_t findAndSkipNextEOL() override;
    const std::string& getName() const override { return path_; }
    qpdf_offset_t tell() override { return position_; }
    void seek(qpdf_offset_t offset, int whence) override;
    void rewind() override { position_ = 0; }
    size_t read(char* buffer, size_t length) override;
    void unreadCh(char) override;

  private:
    bool ensureOpen();
    void fail(const std::string& why);
    size_t fill(qpdf_offset_t at);

    std::string path_;
    int fd_ = -1;
    bool stayOpen_ = true;
    FileIdentity identity_;
    qpdf_offset_t size_ = 0;
    qpdf_offset_t position_ = 0;
    std::string window_;  // the bytes at windowStart_
    qpdf_offset_t windowStart_ = 0;
    // For a file modified just before it was opened, whose times cannot tell a rewrite: a
    // fingerprint of each window read, by offset.
    bool recent_ = false;
    std::map<qpdf_offset_t, std::pair<size_t, uint64_t>> windowsRead_;
    uint64_t failures_ = 0;
    std::string lastFailure_;
};

// How a page looks: its boxes (the crop box clipped to the media box) and its rotation.
struct PageGeometry {
    PDFRect media;
    PDFRect crop;
    int rotation = 0;
};

// The parse of one opening of a file. Pages, outlines and copies refer to it; it refers to no
// document, so no ownership cycle can form.
class NamedDestinations;

struct ParsedFile {
    std::shared_ptr<QPDF> qpdf;
    // Set when the file is read through the file, not from a copy in memory.
    std::shared_ptr<FileSource> file;
    std::string path;
    // For a file read whole into memory: the file as it was then, and the password it took.
    std::optional<FileIdentity> identity;
    std::string password;
    // Of an image file: the size its pages were made at, which another opening must share.
    std::optional<ImagePageSize> imagePages;
    PDFVersion minimumVersion{1, 3};
    bool pagesListed = false;  // the page tree was read: most of a large file's objects are
    // What of the file was left out on purpose while it was read (an action too large to
    // copy), in words for the user; empty for nothing.
    std::string leftOut;
    // What libqpdf warned of while the file was opened, taken to be looked at then; a copy of the
    // file judges them with the rest.
    std::vector<QPDFExc> openingWarnings;

    // Throw nothing.
    const std::vector<QPDFObjectHandle>& pages();
    uint64_t indexOfPage(const QPDFObjGen& og);
    // Its named destinations, read once for the outline and the copy alike.
    NamedDestinations& names();

  private:
    std::unique_ptr<NamedDestinations> names_;
    std::unordered_map<QPDFObjGen, uint64_t, ObjGenHash> pageIndex_;
    bool pageIndexValid_ = false;
};

struct WrittenPage;

// One page of a document: a page object of a parsed file, and, once a document written as it is
// assembled has written it, what the writing left (then the file is no longer held).
struct PageSlot {
    uint64_t id = 0;  // the page's identity in its document
    std::shared_ptr<ParsedFile> origin;
    QPDFObjectHandle object;
    std::shared_ptr<const WrittenPage> written;
    std::shared_ptr<const PDFPageAdditions> additions = nullptr;  // until written
};

// A document being written as it is assembled: its writer and where the bytes go.
struct Streaming;

// The data behind a PDFDocument, shared by the document and its page handles (a page keeps its
// document alive). Its pages are, until pages are inserted, those of its own file.
struct DocumentData {
    std::shared_ptr<ParsedFile> parse;  // null for a document made here
    // Pages were taken from it or put into it: its parse is not handed on.
    bool touched = false;
    std::unique_ptr<Streaming> streaming;

    DocumentData();
    ~DocumentData();
    DocumentData(const DocumentData&) = delete;
    DocumentData& operator=(const DocumentData&) = delete;

    std::vector<PageSlot>& slots();
    // The parse a slot's page object lives in: the slot's, or the document's own file.
    const std::shared_ptr<ParsedFile>& originOf(const PageSlot& slot) const {
        return slot.origin ? slot.origin : parse;
    }
    uint64_t pageCount();
    uint64_t indexOfSlot(uint64_t id);
    uint64_t newSlotId() { return nextSlotId_++; }
    void slotsChanged() { slotIndexValid_ = false; }

  private:
    std::vector<PageSlot> slots_;
    bool slotsMade_ = false;
    uint64_t nextSlotId_ = 0;
    std::unordered_map<uint64_t, uint64_t> slotIndex_;
    bool slotIndexValid_ = false;
};

// A libqpdf document that keeps its warnings to itself: damage is looked at where it matters.
std::shared_ptr<QPDF> newQPDF();

// Opens a file for reading as a PDF: a regular file only, without blocking on a pipe or device
// put in its place. A file up to the snapshot size is read whole into memory (then identity is
// set); a larger one is read through its descriptor. Null, with the reason, when it cannot be
// read at all.
// An image file becomes the PDF made of it, its pages at imageSize (then isImage is set).
std::shared_ptr<InputSource> openInput(const std::string& path, std::optional<FileIdentity>& identity,
                                       std::shared_ptr<FileSource>& file, PDFOpenFailure& failure,
                                       ImagePageSize imageSize, bool& isImage);
// The identity of the file at path now, when it is a regular file.
std::optional<FileIdentity> identityOf(const std::string& path);
// Opens without blocking (a path may name a pipe or a device, or be swapped for one after it
// was checked) and checks what was opened, not what the path named a moment before: a regular
// file's descriptor, or -1 with the reason.
int openRegularFile(const std::string& path, struct ::stat& info, PDFOpenFailure& failure);

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

// A page label as the file writes it: numbering style ("/D", "/r", ..., or none), prefix as
// PDF string bytes, and number (the first one, for a range of a label tree).
struct PageLabel {
    std::string style;
    std::optional<std::string> prefix;
    long long number = 1;
};

// A page label tree's entries by first page index; those that are not a page index and a
// dictionary are left out.
std::map<long long, PageLabel> labelEntries(QPDFObjectHandle tree);

// Rectangles and attributes of page objects, tolerant of anything a damaged file holds.
PDFRect mediaBoxOf(QPDFObjectHandle page);
PDFRect cropBoxOf(QPDFObjectHandle page);
int rotationOf(QPDFObjectHandle page);
// A rotation of 0, 90, 180 or 270 degrees turned on by degrees (a multiple of 90, any sign).
inline int quarterTurned(int rotation, int degrees) { return ((rotation + degrees % 360) % 360 + 360) % 360; }
PageGeometry geometryOf(QPDFObjectHandle page);
// Looks a key up on the page and then up its /Parent chain, as PDF inheritance does; null when
// it is nowhere. Stops at a loop.
QPDFObjectHandle inheritedAttribute(QPDFObjectHandle node, const std::string& key);

// Reads the document's /Outlines into a tree of PDFOutline items, iteratively, cutting loops.
// pageAt makes the page handle for an index of this document. Null when there is no outline.
std::shared_ptr<PDFOutline> readOutline(ParsedFile& parse, const std::function<PDFPage(uint64_t)>& pageAt);
// Visits the items of /Outlines in pre-order, as readOutline walks them, with each item's depth
// (0 at the top): a chain ends at a non-dictionary or an item seen before, and an item that
// cannot be read ends its own. Stops when visit answers false.
void forEachOutlineItem(QPDFObjectHandle outlines, const std::function<bool(QPDFObjectHandle item, int depth)>& visit);
// The number of outline items at every depth, read without resolving where they lead.
uint64_t countOutlineItems(ParsedFile& parse);
// The outline as lines, at most limit of them, without listing the pages where the page tree's
// counts give their indexes.
std::vector<PDFBookmarkLine> readBookmarkLines(ParsedFile& parse, size_t limit);

}  // namespace tomefuse::pdf_detail

namespace tomefuse {

// A page handle: a page of a document (by its identity there), and the page object it shows,
// while its file is held; a page written by a document written as it is assembled keeps only
// what the writing left.
struct PDFPage::Impl {
    std::shared_ptr<pdf_detail::DocumentData> doc;  // declared first: destroyed after the handle
    uint64_t id = 0;
    std::shared_ptr<pdf_detail::ParsedFile> origin;  // the parse object lives in
    QPDFObjectHandle object;
    std::shared_ptr<const pdf_detail::WrittenPage> written;
};

struct PDFAction::Impl {
    QPDFObjectHandle object;  // a dictionary of direct objects only
};

struct PDFDocument::Impl {
    std::shared_ptr<pdf_detail::DocumentData> data;
    std::shared_ptr<PDFParseCache> parses;  // where the parse goes back when dropped untouched
    bool outlineLoaded = false;             // outline holds what the file has, or what was set
    std::shared_ptr<PDFOutline> outline;
    bool outlineOutOfMemory = false;  // the outline read short for want of memory
    std::string lastError;
    std::string lastRepair;
    std::string lastCatalogLeftOut;
    PDFDocumentAttributes attributes;
};

}  // namespace tomefuse
