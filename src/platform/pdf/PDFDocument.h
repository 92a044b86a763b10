#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/pdf/PDFOutline.h"
#include "platform/pdf/PDFPage.h"

namespace tomefuse {

// The write notifications that dataRepresentation() posts on NotificationCenter::defaultCenter(),
// synchronously on the calling thread, with the document as the notification's object.
inline constexpr const char* PDFDocumentDidBeginWriteNotification = "PDFDocumentDidBeginWriteNotification";
inline constexpr const char* PDFDocumentDidEndPageWriteNotification = "PDFDocumentDidEndPageWriteNotification";
inline constexpr const char* PDFDocumentDidEndWriteNotification = "PDFDocumentDidEndWriteNotification";
inline constexpr const char* PDFDocumentPageIndexKey = "PDFDocumentPageIndex";

// A PDF document: opened from a file or made empty, assembled page by page, written to bytes.
// Held by shared_ptr; the object's address is its identity in notifications. Nothing here throws:
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

    // Read once, on first use, from the file. Null when the document has no outline.
    std::shared_ptr<PDFOutline> outlineRoot() const;
    // Replaces the outline that dataRepresentation() writes; null writes none.
    void setOutlineRoot(std::shared_ptr<PDFOutline> root);

    // The whole document as PDF bytes, posting the write notifications while it works. Absent
    // when the bytes cannot be produced; lastError() then says why.
    std::optional<std::string> dataRepresentation();
    const std::string& lastError() const;

    struct Impl;

  private:
    struct Unset {};
    explicit PDFDocument(Unset);  // for initWithURL, which fills impl_ itself
    std::shared_ptr<Impl> impl_;
};

}  // namespace tomefuse
