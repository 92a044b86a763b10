#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/pdf/ImagePages.h"

namespace tomefuse {

namespace pdf_detail {
struct ParsedFile;
struct FileIdentity;
}  // namespace pdf_detail

// Parses of files kept from one reading of a file for the next. The list reads every file to
// count its pages and bookmarks, and the combine that follows opens the same files again;
// parsing is most of the work of both. So whoever lists files and then combines them owns one
// cache and hands it to both: a summary leaves its parse here, and a document opened through the
// cache leaves its parse here when it is dropped untouched. A parse is handed out once, to an
// opening of the same unchanged file with the same password, so two openings never share
// objects; the oldest go first when the parses kept would pass the budget. A document opened
// through the cache keeps it alive until it has handed its parse back. Safe from any thread.
class PDFParseCache {
  public:
    // A parse holds its file's bytes and libqpdf's objects for the pages and bookmarks read so
    // far, ten to twenty times the file's size, and a few kilobytes however small the file.
    static constexpr size_t defaultBudget = 64u << 20;

    explicit PDFParseCache(size_t budget = defaultBudget);
    ~PDFParseCache();
    PDFParseCache(const PDFParseCache&) = delete;
    PDFParseCache& operator=(const PDFParseCache&) = delete;

    size_t count() const;  // parses kept
    size_t cost() const;   // what they are reckoned to hold, in bytes

    // For the PDF layer. Keeps a parse that nothing else holds any of; others are let go.
    void keep(std::shared_ptr<pdf_detail::ParsedFile> parse);
    // The parse kept for this file as it is now and this password, taken out; null for none. An
    // image's parse is only one made at the same page size.
    std::shared_ptr<pdf_detail::ParsedFile> take(const std::string& path, const pdf_detail::FileIdentity& now,
                                                 const std::string& password, ImagePageSize imagePages);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tomefuse
