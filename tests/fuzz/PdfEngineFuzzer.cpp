// Feeds arbitrary bytes to the engine the way the application uses it: opened as a file, listed
// (pages, boxes, outline) and combined with a small fixed document, both through a document
// written to a file as it is assembled and through one held in memory. A combine that reports
// success must leave a PDF that opens again with every page in it.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "FuzzOracle.h"
#include "platform/pdf/PDFDocument.h"
#include "support/PdfBuilder.h"
#include "toc/TableOfContents.h"

namespace {

using namespace tomefuse;

// No page tree of a small input is this large unless it repeats itself; the list stops there.
constexpr uint64_t pagesListed = 2000;

// A file in memory, so that nothing of a run touches the disk.
class MemoryFile {
  public:
    MemoryFile() : fd_(::memfd_create("tomefuse-fuzz", MFD_CLOEXEC)) {
        if (fd_ < 0) {
            std::abort();
        }
    }
    ~MemoryFile() { ::close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    int fd() const { return fd_; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

    void fill(const uint8_t* data, size_t size) {
        if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0) {
            std::abort();
        }
        while (size > 0) {
            const ssize_t written = ::write(fd_, data, size);
            if (written <= 0) {
                std::abort();
            }
            data += written;
            size -= static_cast<size_t>(written);
        }
    }

  private:
    int fd_;
};

// Two pages with an outline, a link between them and a named destination: something for the
// fuzzed document's names and links to meet. Made once; opened afresh for every run, as the
// combine opens each file.
std::shared_ptr<PDFDocument> openFixedDocument() {
    static const std::string bytes = [] {
        const test::TempDir dir;
        const std::string path = dir.file("fixed.pdf");
        test::PdfBuilder()
            .addPages(2)
            .setOutline({{"One", 0, 0, 792, "", {{"Two", 1, 0, 0, "", {}}}}})
            .addLink(0, "[@1 /Fit]")
            .addNamedDestination("fixed", 1)
            .write(path);
        return test::readTextFile(path);
    }();
    MemoryFile file;
    file.fill(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    auto opened = PDFDocument::initWithURL(file.path());
    if (!opened) {
        std::abort();
    }
    return opened;
}

std::vector<uint64_t> allPages(const PDFDocument& document) {
    std::vector<uint64_t> pages(document.pageCount());
    std::iota(pages.begin(), pages.end(), 0);
    return pages;
}

// What the list shows of a file, and what the combine reads of it before copying.
std::vector<TocEntry> list(const PDFDocument& document) {
    const uint64_t count = document.pageCount();
    for (uint64_t i = 0; i < count && i < pagesListed; ++i) {
        const PDFPage page = document.pageAtIndex(i);
        (void)page.boundsForBox(PDFDisplayBox::mediaBox);
        (void)page.boundsForBox(PDFDisplayBox::cropBox);
        (void)page.rotation();
        if (document.indexForPage(page) != i) {
            std::abort();
        }
    }
    return arrayFromOutline(document);
}

// A document that claims to be written must open again with the pages it was given, read
// clean, and hold what it took from the input as the input had it.
void expectReadable(const std::string& path, const fuzz::InputReading& input, const fuzz::OutputPlan& plan) {
    auto written = PDFDocument::initWithURL(path);
    if (!written || written->pageCount() != plan.pageCount) {
        std::abort();
    }
    (void)list(*written);
    written.reset();
    fuzz::expectFaithful(path, input, plan);
}

// As the combine does it: each file opened, listed, copied whole and let go, and an outline
// item for each file. The fuzzed input comes twice, as a file listed twice does.
void combineToFile(const MemoryFile& input, const fuzz::InputReading& reading) {
    MemoryFile output;
    PDFWriteTarget target;
    target.fd = output.fd();
    auto combined = PDFDocument::initWritingToFile(std::move(target));
    combined->beginWriting(10);

    auto root = PDFOutline::init();
    uint64_t offset = 0;
    bool complete = true;
    fuzz::OutputPlan plan;
    for (int round = 0; round < 3; ++round) {
        auto source = round == 0 ? openFixedDocument() : PDFDocument::initWithURL(input.path());
        if (!source) {
            complete = false;
            continue;
        }
        const std::vector<TocEntry> toc = list(*source);
        const std::vector<uint64_t> pages = allPages(*source);
        const PDFInsertResult result = combined->insertPages(*source, pages);
        combined->finishPagesFrom(*source);
        source.reset();
        if (result != PDFInsertResult::inserted) {
            complete = false;
            continue;
        }
        root->insertChild(outlineFromArray(*combined, &toc, "file", offset), root->numberOfChildren());
        if (round > 0) {
            plan.inputPages = pages.size();
            plan.inputStarts.push_back(offset);
        }
        offset += pages.size();
    }
    combined->setOutlineRoot(root);
    root.reset();
    if (combined->finishWriting() && complete) {
        plan.pageCount = offset;
        expectReadable(output.path(), reading, plan);
    }
}

// A document held in memory: the fuzzed pages, the fixed ones after them, written as bytes.
void combineInMemory(const PDFDocument& fuzzed, const std::vector<TocEntry>& toc, const fuzz::InputReading& reading) {
    auto combined = PDFDocument::init();
    if (combined->insertPages(fuzzed, allPages(fuzzed)) != PDFInsertResult::inserted) {
        return;
    }
    auto fixed = openFixedDocument();
    const bool fixedAdded = combined->insertPages(*fixed, allPages(*fixed)) == PDFInsertResult::inserted;
    LevelBuckets buckets = outlineArrayFromArray(*combined, &toc, 0);
    auto root = PDFOutline::init();
    for (auto& item : buckets[1]) {
        root->insertChild(std::move(item), root->numberOfChildren());
    }
    combined->setOutlineRoot(root);
    const std::optional<std::string> bytes = combined->dataRepresentation();
    if (bytes && fixedAdded) {
        MemoryFile output;
        output.fill(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size());
        expectReadable(output.path(), reading, {combined->pageCount(), fuzzed.pageCount(), {0}});
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryFile input;
    input.fill(data, size);
    PDFOpenFailure failure = PDFOpenFailure::none;
    auto fuzzed = PDFDocument::initWithURL(input.path(), std::string(), &failure);
    if (!fuzzed) {
        return 0;
    }
    const fuzz::InputReading reading(std::string(reinterpret_cast<const char*>(data), size));
    const std::vector<TocEntry> toc = list(*fuzzed);
    combineInMemory(*fuzzed, toc, reading);
    fuzzed.reset();
    combineToFile(input, reading);
    return 0;
}
