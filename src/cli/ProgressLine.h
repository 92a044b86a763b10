#pragma once

#include <string>

#include "combine/CombineJob.h"

namespace tomefuse::cli {

// What the combine is doing, as one line on standard error redrawn in place ("Writing page 3 of
// 40"), when shown; it pauses once after the first page written when a test asks for it
// (TOMEFUSE_PAUSE_AFTER_FIRST_PAGE).
class ProgressLine final : public CombineObserver {
  public:
    explicit ProgressLine(bool shown) : shown_(shown) {}

    void didBeginWrite(uint64_t expectedPageCount) override;
    void didEndPageWrite(uint64_t pageIndex) override;
    void didEndWrite() override;
    void willReadFile(size_t index, size_t count, const std::string& name) override;
    void willFinish() override;
    // Ends the line, so that what is said next starts on a line of its own.
    void end();

  private:
    void show(const std::string& line);

    bool shown_;
    bool standing_ = false;  // a progress line stands on the terminal
    bool paused_ = false;
    uint64_t expected_ = 0;
    uint64_t lastPage_ = 0;  // 1-based; 0 for none yet
};

// Pause points for tests that change files, or send signals, at a given moment of a run without
// racing it: when the variable names a FIFO, the run waits there until someone writes to it.
void waitAtPausePoint(const char* variable);

}  // namespace tomefuse::cli
