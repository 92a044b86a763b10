#include "cli/ProgressLine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tomefuse::cli {

void waitAtPausePoint(const char* variable) {
    const char* fifo = std::getenv(variable);
    if (!fifo || !*fifo) {
        return;
    }
    if (FILE* gate = std::fopen(fifo, "r")) {
        std::fgetc(gate);
        std::fclose(gate);
    }
}

void ProgressLine::show(const std::string& line) {
    if (!shown_) {
        return;
    }
    // Redrawn in place: back to the start of the line, which is cleared first.
    std::fprintf(stderr, "\r\033[K%s", line.c_str());
    std::fflush(stderr);
    standing_ = true;
}

void ProgressLine::end() {
    if (standing_) {
        std::fprintf(stderr, "\n");
        standing_ = false;
    }
}

void ProgressLine::didBeginWrite(uint64_t expectedPageCount) {
    expected_ = expectedPageCount;
    lastPage_ = 0;
}

void ProgressLine::didEndPageWrite(uint64_t pageIndex) {
    const uint64_t page = pageIndex + 1;
    if (page != lastPage_) {
        lastPage_ = page;
        show("Writing page " + std::to_string(page) + " of " + std::to_string(std::max(page, expected_)));
    }
    if (!paused_) {
        paused_ = true;
        waitAtPausePoint("TOMEFUSE_PAUSE_AFTER_FIRST_PAGE");
    }
}

void ProgressLine::didEndWrite() { end(); }

void ProgressLine::willReadFile(size_t index, size_t count, const std::string& name) {
    show("Reading “" + name + "” (file " + std::to_string(index + 1) + " of " + std::to_string(count) + ")");
}

void ProgressLine::willFinish() { show("Writing bookmarks and links"); }

}  // namespace tomefuse::cli
