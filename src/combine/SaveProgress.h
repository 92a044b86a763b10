#pragma once

#include <cstddef>
#include <string>

#include "platform/desktop/NotificationCenter.h"
#include "platform/desktop/Outlets.h"

namespace tomefuse {

// The write notifications of the combined document, which the sheet observes: posted on the
// main thread by the save session, from what the combine tells, with the combined document as
// their object.
inline constexpr const char* PDFDocumentDidBeginWriteNotification = "PDFDocumentDidBeginWriteNotification";
inline constexpr const char* PDFDocumentDidEndPageWriteNotification = "PDFDocumentDidEndPageWriteNotification";
inline constexpr const char* PDFDocumentDidEndWriteNotification = "PDFDocumentDidEndWriteNotification";
// In the page notification: the index of the page written.
inline constexpr const char* PDFDocumentPageIndexKey = "PDFDocumentPageIndex";
// In the begin notification: how many pages the write is to hold.
inline constexpr const char* PDFDocumentPageCountKey = "PDFDocumentPageCount";

// The progress sheet of a save: shown on the window when the combined document begins to be
// written, its bar following the pages written, its text the file being read, and closed when
// the write ends. Every outlet may be missing.
class SaveProgress {
  public:
    explicit SaveProgress(const Outlets& outlets) : outlets_(outlets) {}

    // The write notifications of the combined document.
    void documentBeginWrite(const Notification& notification);
    void documentEndPageWrite(const Notification& notification);
    void documentEndWrite(const Notification& notification);
    void sheetDidEnd();
    // Reading the file at index (0-based) of count; every page written, the rest to come.
    void willReadFile(size_t index, size_t count, const std::string& name);
    void willFinish();
    // A write that stopped half-way may not have ended its sheet.
    void endIfShown();

  private:
    const Outlets& outlets_;
};

}  // namespace tomefuse
