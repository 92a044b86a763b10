#pragma once

#include <cstddef>
#include <string>

#include "platform/desktop/NotificationCenter.h"
#include "platform/desktop/Outlets.h"

namespace tomefuse {

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
