#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pdf/ImagePages.h"
#include "platform/pdf/PDFDestination.h"
#include "platform/pdf/PDFOutline.h"
#include "platform/pdf/PDFPage.h"

namespace tomefuse {

namespace pdf_detail {
struct DocumentData;
struct ParsedFile;
}  // namespace pdf_detail

class PDFParseCache;

// What a document tells while it is written, on the thread that writes it: begun (with the
// pages it is to hold, a guess for a progress bar), each page written (its index in the
// document), ended, whether it succeeded or not.
class PDFWriteObserver {
  public:
    virtual ~PDFWriteObserver() = default;
    virtual void didBeginWrite(uint64_t expectedPageCount) = 0;
    virtual void didEndPageWrite(uint64_t pageIndex) = 0;
    virtual void didEndWrite() = 0;
};

// Why a file did not open as a PDF document.
enum class PDFOpenFailure {
    none,
    missing,   // no such file
    notAFile,  // a folder, a device, a pipe
    permissionDenied,
    notAPDF,
    damaged,        // a PDF damaged beyond repair
    needsPassword,  // protected, and no password or a wrong one given
    outOfMemory,    // not enough memory to read it
};

// What the list shows of a file: its pages and bookmarks, or why it cannot be read.
struct PDFFileSummary {
    PDFOpenFailure failure = PDFOpenFailure::none;
    uint64_t pageCount = 0;
    uint64_t outlineCount = 0;  // outline items at every depth
};

// One outline item as a list of bookmarks shows it: its depth (0 at the top), its title, and
// the index of the page it leads to (NSNotFound when none).
struct PDFBookmarkLine {
    int level = 0;
    std::string title;
    uint64_t page = NSNotFound;
};

// What became of pages inserted from a source.
enum class PDFInsertResult {
    inserted,
    sourceDamaged,  // the source could not be read in full (changed, truncated, damaged)
    cancelled,
    writeFailed,  // the output could not be written
    refused,      // nothing to insert: no such page, or a page that cannot be copied again
};

// A document written to a file as it is assembled (see initWritingToFile).
struct PDFWriteTarget {
    int fd = -1;                                   // open for writing, left open
    PDFWriteObserver* observer = nullptr;          // told of the write as it goes, when given
    const std::atomic<bool>* cancelled = nullptr;  // checked between objects and within streams
    // The most one object's text may take while it is written, past which the write fails as
    // out of memory does; 0 for no limit but the machine's (tests set one).
    size_t memoryLimit = 0;
};

// A link area on a page made here: a rectangle in the page's space that leads to a place in the
// same document, or does what an action does.
struct PDFLink {
    PDFRect rect;
    std::optional<PDFDestination> destination;  // a page of the document it is inserted into
    std::shared_ptr<const PDFAction> action;    // when there is no destination
};

// How a page is numbered where the document has page labels.
struct PDFPageLabel {
    enum class Style { none, decimal, upperRoman, lowerRoman, upperLetters, lowerLetters };
    Style style = Style::decimal;
    std::string prefix;
    long long number = 1;
};

// A contents page made here, as the document's structure tree holds it where the document has
// one: what is drawn starting inside an area is the title's or that line's, the rest is
// decoration. Areas are in the page's space.
struct PDFContentsTags {
    struct Line {
        PDFRect area;
        unsigned level = 0;          // a deeper level is a contents list within the one above
        std::optional<size_t> link;  // its link, by index in the page's links
    };
    std::optional<PDFRect> title;
    std::vector<Line> lines;  // in reading order
};

// What a page inserted by insertPage carries besides what its source gives it.
struct PDFPageAdditions {
    std::vector<PDFLink> links;
    // The page is (part of) the document's contents; ignored where the document is not tagged.
    std::optional<PDFContentsTags> contents;
    // Where the document has labels: the page's label; none keeps the one it had in its file.
    std::optional<PDFPageLabel> label;
    // Numbered on from the page before it, as a page put between others is (wins over label).
    bool continuesLabels = false;
    // Degrees, a multiple of 90, added clockwise to the rotation the page has in its file.
    int turn = 0;
};

// What the document says about itself: its information dictionary and metadata. Empty values
// are not written.
struct PDFDocumentAttributes {
    std::string title;
    std::string author;
    std::string subject;
    std::string keywords;
    bool operator==(const PDFDocumentAttributes&) const = default;
};

// A PDF document: opened from a file or made empty, assembled page by page, written to bytes.
// Held by shared_ptr. Nothing here throws:
// a file that cannot be read is "no document", a write that fails answers no bytes and a reason.
class PDFDocument {
  public:
    PDFDocument();  // empty: no pages, no outline
    ~PDFDocument();
    PDFDocument(const PDFDocument&) = delete;
    PDFDocument& operator=(const PDFDocument&) = delete;

    static std::shared_ptr<PDFDocument> init() { return std::make_shared<PDFDocument>(); }

    // Null for anything that cannot be read as a PDF: a missing file, a folder, a file that is
    // not a PDF or is damaged beyond repair, one encrypted with a non-empty user password.
    static std::shared_ptr<PDFDocument> initWithURL(const std::string& path);
    // The same with a password for a protected file (tried as the user and the owner password),
    // saying why when the file does not open. With parses, a parse kept there for the file is
    // taken, and the document's parse goes back there when it is dropped untouched. An image
    // file's pages are made at imagePages.
    static std::shared_ptr<PDFDocument> initWithURL(const std::string& path, const std::string& password,
                                                    PDFOpenFailure* failure,
                                                    std::shared_ptr<PDFParseCache> parses = nullptr,
                                                    ImagePageSize imagePages = ImagePageSize::natural);
    // A file's page and bookmark counts, read without listing its pages (which reads most of a
    // large file's objects): the page count is the one its page tree states. A file whose page
    // tree is broken may still summarise; opening it is what refuses it. With parses, the parse
    // is taken from and left there for the next opening of the same unchanged file.
    static PDFFileSummary summaryOfFile(const std::string& path, const std::string& password,
                                        PDFParseCache* parses = nullptr,
                                        ImagePageSize imagePages = ImagePageSize::natural);
    // Why a combine would leave out these pages of a file that opens (a stream cut short, say),
    // found by copying them from a parse of its own to nowhere; empty when they copy whole.
    static std::string lossOfPages(const std::string& path, const std::string& password,
                                   const std::vector<uint64_t>& indices);
    // The bookmarks of a file in the order they stand, at most limit, for a reader that only
    // lists them: far quicker than opening it for a large file, whose pages are not listed.
    // Empty, with the reason, when it cannot be read. With parse, the parse is handed over
    // instead of torn down here, which takes a good part of the time reading it did.
    static std::vector<PDFBookmarkLine> bookmarksOfFile(const std::string& path, const std::string& password,
                                                        PDFOpenFailure* failure, size_t limit,
                                                        std::shared_ptr<const void>* parse = nullptr);
    // Whether the first bytes of a file, up to headerWindow of them, say it is a PDF at all:
    // readers allow junk before the header.
    static constexpr size_t headerWindow = 1024;
    static bool hasPDFHeader(std::string_view head);

    // A document read from bytes in memory (a document made by another program here). Null when
    // they are not a readable PDF.
    static std::shared_ptr<PDFDocument> initWithData(std::string bytes);

    // A document whose pages go to the file as they are inserted, so that nothing of the output
    // is held in memory. Inserting tells the target's observer the write began before the first
    // page, and of each page written; finishWriting writes the rest and tells it the write ended.
    // Pages can still be inserted anywhere; links among pages inserted in one insertPages call,
    // or to pages inserted earlier, lead where they should.
    static std::shared_ptr<PDFDocument> initWritingToFile(PDFWriteTarget target);

    uint64_t pageCount() const;
    // No page for an index that is not below pageCount().
    PDFPage pageAtIndex(uint64_t index) const;
    // NSNotFound for no page, or a page of another document.
    uint64_t indexForPage(const PDFPage& page) const;

    // Copies a page of any document (this one included) so that it looks the same here; index
    // runs from 0 to pageCount(). The source keeps its page and may be dropped right after: this
    // document keeps alive what it still needs, without holding the source's file open.
    // Answers false, changing nothing, when the page cannot be copied or index is out of range.
    bool insertPage(const PDFPage& page, uint64_t index);
    // The same, giving the copy links and a label of its own. In a document written as it is
    // assembled, a link leads only to a page already written; others are left out.
    bool insertPage(const PDFPage& page, uint64_t index, const PDFPageAdditions& additions);
    // Inserts an empty page that looks like sizedLike (its boxes and rotation), a page of any
    // document; US Letter for no page.
    bool insertBlankPage(uint64_t index, const PDFPage& sizedLike, const PDFPageAdditions& additions = {});

    // Of a document written as it is assembled: each page's label as a reader shows it ("iv",
    // "A-3"), once any page inserted so far came from a file with labels; else empty.
    std::vector<std::string> pageLabels() const;

    const PDFDocumentAttributes& documentAttributes() const;
    // Written to the information dictionary and as XMP metadata; a title also asks readers to
    // show it instead of the file's name.
    void setDocumentAttributes(PDFDocumentAttributes attributes);

    // Inserts pages of source at the end, in the order given (an index may repeat). A document
    // written as it is assembled writes them at once; links among them lead to their copies,
    // links to pages of the source left out are removed. sourceDamaged when the source turned
    // out unreadable while its pages were copied: they are then left out. turns, when given, has
    // one value per index: degrees (a multiple of 90) added to that page's rotation.
    PDFInsertResult insertPages(const PDFDocument& source, const std::vector<uint64_t>& indices,
                                const std::vector<int>& turns = {});
    // No more pages will come from source: what it offers (names, form fields) is settled and
    // its parse let go. Optional; otherwise done when the document is written.
    void finishPagesFrom(const PDFDocument& source);

    // Of a document written as it is assembled: tells the observer the write began, with how
    // many pages are expected (a guess for the progress bar), if no page was written yet.
    void beginWriting(uint64_t expectedPageCount);
    // Writes the outline, names, labels, form and the file's tail; tells the observer it ended.
    // False, with lastError(), when the file could not be written or the write was cancelled.
    bool finishWriting();

    // Read once, on first use, from the file. Null when the document has no outline.
    std::shared_ptr<PDFOutline> outlineRoot() const;
    // Replaces the outline that is written; null writes none.
    void setOutlineRoot(std::shared_ptr<PDFOutline> root);

    // The whole document as PDF bytes, written as a document written as it is assembled writes
    // its file, telling observer as it goes. Absent when the bytes cannot be produced;
    // lastError() then says why.
    std::optional<std::string> dataRepresentation(PDFWriteObserver* observer = nullptr);
    const std::string& lastError() const;
    // Damage in the source of the last insertPages that libqpdf repaired without losing what the
    // file holds (a keyword missing, a stream length found again); empty when it read cleanly.
    const std::string& lastRepair() const;
    // The catalog entries of that source the combined file does not carry, as they act on that
    // file alone ("/OpenAction, /ViewerPreferences"); empty when there were none.
    const std::string& lastCatalogLeftOut() const;

    struct Impl;

  private:
    struct Unset {};
    PDFInsertResult insertSlots(pdf_detail::DocumentData& from, const std::vector<uint64_t>& indices,
                                const PDFPageAdditions* additions = nullptr, const std::vector<int>* turns = nullptr);
    // A source found damaged while its pages were written: its pages from firstNew on go.
    PDFInsertResult leaveOutSource(const pdf_detail::ParsedFile& origin, size_t firstNew, std::string why);
    explicit PDFDocument(Unset);  // for initWithURL, which fills impl_ itself
    std::shared_ptr<Impl> impl_;
};

}  // namespace tomefuse
