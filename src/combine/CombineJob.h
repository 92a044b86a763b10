#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "combine/ContentsPage.h"
#include "combine/RightHandStarts.h"
#include "list/PageRotation.h"
#include "list/PageSelection.h"
#include "platform/desktop/AtomicFile.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFParseCache.h"
#include "toc/TocEntry.h"

namespace tomefuse {

// A second file whose pages alternate with an entry's own (see interleavedPages).
struct InterleavedFile {
    std::string path;
    std::string password;
    bool reversed = false;  // taken last page first
};

// What the combine takes of one list entry.
struct CombineFile {
    CombineFile() = default;
    CombineFile(std::string path, std::string filename, uint64_t expectedPages, PageSelection pages = {},
                std::string password = {})
        : path(std::move(path)),
          filename(std::move(filename)),
          expectedPages(expectedPages),
          pages(std::move(pages)),
          password(std::move(password)) {}

    std::string path;
    std::string filename;        // names its bookmark
    uint64_t expectedPages = 0;  // as listed; for the progress bar only
    PageSelection pages;         // the pages taken, in order
    std::string password;        // for a protected file
    // The entry's pages are those of the file, or with interleave those of both files taken in
    // turn; pages and rotation count in them.
    PageRotation rotation;
    std::optional<InterleavedFile> interleave;
};

struct CombineSettings {
    bool fileBookmarks = true;  // one bookmark per file, named after it, over the file's own
    bool keepBookmarks = true;  // each file's own bookmarks
    // A file that cannot be read is left out and named; else it ends the combine, nothing written.
    bool leaveOutUnreadable = true;

    // The combined document for reading and printing; all off unless asked for.
    ContentsOptions contents;
    bool startFilesOnRightHandPages = false;
    PDFDocumentAttributes properties;
    // Each image a page at its own size, or fitted to a sheet.
    ImagePageSize imagePages = ImagePageSize::natural;
};

// A file, and what was wrong with it, in the user's words.
struct FileProblem {
    std::string path;
    std::string reason;
};

struct CombineOutcome {
    enum class Status { written, cancelled, unreadable, failed };
    Status status = Status::failed;
    std::string error;                  // why it was not written
    std::vector<FileProblem> leftOut;   // could not be read: not in the output
    std::vector<FileProblem> repaired;  // damaged, but read without loss
    // Read in full, but entries of its catalog that act on that file alone were not carried.
    std::vector<FileProblem> catalogLeftOut;

    // The log's lines on the files of a combine written to path: repaired, catalog entries left
    // out, not read; both front ends log these.
    std::vector<std::string> logLines(const std::string& path) const;
    // The files not read, a line each after a line break, for the message that names them.
    std::string leftOutList() const;
};

// What a running combine tells as it goes, on the thread it runs on: the write of the combined
// document (begun with the pages expected, each page written, ended), and what it is doing.
class CombineObserver : public PDFWriteObserver {
  public:
    // Reading the file at index (0-based) of count.
    virtual void willReadFile(size_t index, size_t count, const std::string& name) = 0;
    // Every page is written; what ties them together follows.
    virtual void willFinish() = 0;
};

// One combine: the files as they were listed when the save began, each opened in turn and its
// pages written at once into a temporary file beside the target, which replaces the target only
// when the whole document is written and on disk. Each file's parse is let go as soon as its
// pages are written, so memory follows the largest file, not the output. Made on the main
// thread; run() may run on another; cancel() from any. With parses, each file is opened through
// them: the parse its listing left there is taken instead of parsing the file again.
class CombineJob {
  public:
    CombineJob(std::vector<CombineFile> files, const CombineSettings& settings, std::unique_ptr<AtomicFile> target,
               CombineObserver& observer, std::shared_ptr<PDFParseCache> parses = nullptr);
    ~CombineJob();
    CombineJob(const CombineJob&) = delete;
    CombineJob& operator=(const CombineJob&) = delete;

    // The combined document, written as it is assembled.
    const std::shared_ptr<PDFDocument>& document() const { return document_; }
    const std::string& path() const { return path_; }

    void run();
    // Stops within a page: nothing is written at the target and no temporary file is left.
    void cancel() { stop_ = true; }
    const CombineOutcome& outcome() const { return outcome_; }

  private:
    enum class Next { goOn, stop };
    struct Opened;
    Next combineFile(size_t index, PDFOutline& root);
    // Opens a file of the entry: none, with what comes next, when it cannot be read.
    std::optional<Next> open(const std::string& path, const std::string& password,
                             std::shared_ptr<PDFDocument>& source);
    // Writes the pages taken, in runs from one file at a time: none when all are in, else what
    // comes next.
    std::optional<Next> insert(const CombineFile& file, Opened& opened, const std::vector<uint64_t>& taken);
    void addBookmarks(const CombineFile& file, PDFOutline& root, std::vector<TocEntry> toc, uint64_t pageCount);
    // A file that cannot be read: named, and left out or the end of the combine.
    Next leaveOut(const std::string& path, const std::string& reason);
    void end(CombineOutcome::Status status, std::string error);

    std::vector<CombineFile> files_;
    CombineSettings settings_;
    std::unique_ptr<AtomicFile> target_;
    std::string path_;
    CombineObserver& observer_;
    std::shared_ptr<PDFParseCache> parses_;
    std::atomic<bool> stop_{false};
    std::shared_ptr<PDFDocument> document_;
    uint64_t pageOffset_ = 0;
    CombineOutcome outcome_;
    ContentsPage contents_;
    RightHandStarts rightHand_;
};

}  // namespace tomefuse
