#pragma once

// Private to platform/pdf: a document being written, to its file as it is assembled or to
// memory, through the one writer.

#include <memory>

#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

// A document being written: its writer, where the bytes go, and who hears of it.
struct Streaming {
    std::unique_ptr<ByteSink> sink;
    std::unique_ptr<Writer> writer;
    PDFWriteObserver* observer = nullptr;
    bool begun = false;
    bool dead = false;  // cancelled or failed: nothing more is written
};

}  // namespace tomefuse::pdf_detail
