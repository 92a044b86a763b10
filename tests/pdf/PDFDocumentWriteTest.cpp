#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <numeric>

#include "pdf/PdfTestSupport.h"

namespace tomefuse::test {
namespace {

// Records what a write tells as text: "begin", "page N", "end".
class WriteLog final : public PDFWriteObserver {
  public:
    std::vector<std::string> events;
    std::vector<uint64_t> pageCounts;  // told by each begin

    void didBeginWrite(uint64_t expectedPageCount) override {
        events.push_back("begin");
        pageCounts.push_back(expectedPageCount);
    }
    void didEndPageWrite(uint64_t pageIndex) override { events.push_back("page " + std::to_string(pageIndex)); }
    void didEndWrite() override { events.push_back("end"); }
};

std::shared_ptr<PDFDocument> combinedOf(const std::vector<std::string>& paths) {
    auto combined = PDFDocument::init();
    for (const std::string& path : paths) {
        auto source = PDFDocument::initWithURL(path);
        if (!source) {
            ADD_FAILURE() << "cannot open " << path;
            continue;
        }
        for (uint64_t i = 0; i < source->pageCount(); ++i) {
            EXPECT_TRUE(combined->insertPage(source->pageAtIndex(i), combined->pageCount()));
        }
    }
    return combined;
}

TEST(PDFDocumentWrite, ObserverHearsThreeAndZeroPages) {
    TempDir dir;
    PdfBuilder().addPages(3).write(dir.file("three.pdf"));
    auto three = combinedOf({dir.file("three.pdf")});
    auto empty = PDFDocument::init();
    WriteLog threeLog;
    WriteLog emptyLog;

    auto bytes = three->dataRepresentation(&threeLog);
    ASSERT_TRUE(bytes) << three->lastError();
    EXPECT_EQ(threeLog.events, (std::vector<std::string>{"begin", "page 0", "page 1", "page 2", "end"}));
    EXPECT_EQ(threeLog.pageCounts, std::vector<uint64_t>{3});
    EXPECT_TRUE(emptyLog.events.empty()) << "another document's notifications are its own";

    auto none = empty->dataRepresentation(&emptyLog);
    ASSERT_TRUE(none) << empty->lastError();
    EXPECT_EQ(emptyLog.events, (std::vector<std::string>{"begin", "end"}));
    writeBytes(dir.file("empty.pdf"), *none);
    EXPECT_EQ(qpdfCheck(dir.file("empty.pdf")), 0);
    auto reopened = PDFDocument::initWithURL(dir.file("empty.pdf"));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->pageCount(), 0u);

    // Writing again posts the whole sequence again.
    threeLog.events.clear();
    ASSERT_TRUE(three->dataRepresentation(&threeLog));
    EXPECT_EQ(threeLog.events, (std::vector<std::string>{"begin", "page 0", "page 1", "page 2", "end"}));
}

// A document written to its file as it is assembled tells the same: begun once, with the pages
// expected, each page as it is written, its index counting on across sources, and ended once.
// Bytes in memory are not to be had from it.
TEST(PDFDocumentWrite, WrittenAsAssembledTellsEachPageOnce) {
    TempDir dir;
    PdfBuilder().addPages(2).write(dir.file("two.pdf"));
    PdfBuilder().addPages(1).write(dir.file("one.pdf"));
    const std::string out = dir.file("out.pdf");
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    WriteLog log;
    PDFWriteTarget target;
    target.fd = fd;
    target.observer = &log;
    auto combined = PDFDocument::initWritingToFile(std::move(target));
    combined->beginWriting(5);
    for (const char* name : {"two.pdf", "one.pdf"}) {
        auto source = PDFDocument::initWithURL(dir.file(name));
        ASSERT_NE(source, nullptr);
        std::vector<uint64_t> pages(source->pageCount());
        std::iota(pages.begin(), pages.end(), 0);
        EXPECT_EQ(combined->insertPages(*source, pages), PDFInsertResult::inserted);
        combined->finishPagesFrom(*source);
    }
    EXPECT_FALSE(combined->dataRepresentation());
    EXPECT_EQ(combined->lastError(), "the document is written to a file");
    ASSERT_TRUE(combined->finishWriting()) << combined->lastError();
    ::close(fd);
    EXPECT_EQ(log.events, (std::vector<std::string>{"begin", "page 0", "page 1", "page 2", "end"}));
    EXPECT_EQ(log.pageCounts, std::vector<uint64_t>{5});
    EXPECT_EQ(qpdfCheck(out), 0);
}

TEST(PDFDocumentWrite, ManyPagesTellOneWriteEachInOrder) {
    TempDir dir;
    PdfBuilder().addPages(300).write(dir.file("many.pdf"));
    auto combined = combinedOf({dir.file("many.pdf")});
    WriteLog log;
    ASSERT_TRUE(combined->dataRepresentation(&log));
    ASSERT_EQ(log.events.size(), 302u);
    EXPECT_EQ(log.events.front(), "begin");
    EXPECT_EQ(log.events.back(), "end");
    for (size_t i = 0; i < 300; ++i) {
        ASSERT_EQ(log.events[i + 1], "page " + std::to_string(i));
    }
}

// A one-page PDF whose content shows text; padding (a comment in the content stream) sets its size.
std::string textPdf(const std::string& text, size_t padding = 0) {
    const std::string content = "%" + std::string(padding, 'x') + "\nBT /F1 24 Tf 72 720 Td (" + text + ") Tj ET";
    return rawPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                   "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R /Resources << "
                   "/Font << /F1 5 0 R >> >> >>",
                   "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream",
                   "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"});
}

size_t openDescriptors() {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

TEST(PDFDocumentWrite, SourceFileChangedAfterOpening) {
    // Small files are read whole when opened, so what happens to them later cannot reach the
    // output; bigger ones are read from disk as the write needs them, and one that vanished or
    // was replaced makes the write fail instead of writing its pages empty or from another file.
    constexpr size_t big = 17u << 20;
    struct Case {
        const char* name;
        size_t padding;
        bool replace;  // rewritten with other content, else removed
        bool writes;
    };
    const Case cases[] = {
        {"small removed", 0, false, true},
        {"small replaced", 0, true, true},
        {"big removed", big, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.file("source.pdf");
        writeBytes(path, textPdf("Original", c.padding));
        const size_t descriptorsBefore = openDescriptors();
        auto combined = combinedOf({path});
        EXPECT_EQ(openDescriptors(), descriptorsBefore) << "a dropped source holds no descriptor";
        if (c.replace) {
            writeBytes(path, textPdf("Replacement with other offsets", 4096));
        } else {
            std::filesystem::remove(path);
        }
        WriteLog log;
        auto bytes = combined->dataRepresentation(&log);
        ASSERT_FALSE(log.events.empty());
        EXPECT_EQ(log.events.front(), "begin");
        EXPECT_EQ(log.events.back(), "end");
        if (c.writes) {
            ASSERT_TRUE(bytes) << combined->lastError();
            writeBytes(dir.file("out.pdf"), *bytes);
            EXPECT_EQ(qpdfCheck(dir.file("out.pdf")), 0);
            QPDF written;
            written.processFile(dir.file("out.pdf").c_str());
            EXPECT_NE(pageContents(written, 0).find("(Original)"), std::string::npos);
            continue;
        }
        // libqpdf would write the unreadable page contents empty, with a warning; the layer refuses.
        EXPECT_FALSE(bytes);
        EXPECT_NE(combined->lastError().find("source.pdf"), std::string::npos) << combined->lastError();

        // Once a read failed, libqpdf may have taken the stream for empty: a file put back at the
        // path does not make the document whole again.
        writeBytes(path, textPdf("Original", c.padding));
        EXPECT_FALSE(combined->dataRepresentation());
        EXPECT_NE(combined->lastError().find("source.pdf"), std::string::npos) << combined->lastError();
    }
}

TEST(PDFDocumentWrite, CorruptStreamIsCopiedAsItStands) {
    // A page whose content is a damaged LZW stream: the writer must not decode it.
    TempDir dir;
    // The first 9-bit code, 511, is not one an LZW decoder can have seen yet.
    const std::string garbage("\xff\xff\xff\x00\x01 not LZW at all", 21);
    writeBytes(dir.file("lzw.pdf"),
               rawPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                       "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R >>",
                       "<< /Length " + std::to_string(garbage.size()) + " /Filter /LZWDecode >>\nstream\n" + garbage +
                           "\nendstream"}));
    PdfBuilder().addPages(1).write(dir.file("base.pdf"));
    auto combined = combinedOf({dir.file("lzw.pdf"), dir.file("base.pdf")});
    auto bytes = combined->dataRepresentation();
    ASSERT_TRUE(bytes) << combined->lastError();
    writeBytes(dir.file("out.pdf"), *bytes);
    // qpdf --check decodes content streams, so it reports the source's damage in the copy too; no
    // more than that.
    EXPECT_EQ(qpdfCheck(dir.file("out.pdf")), qpdfCheck(dir.file("lzw.pdf")));
    QPDF written;
    written.processFile(dir.file("out.pdf").c_str());
    ASSERT_EQ(written.getAllPages().size(), 2u);
    QPDFObjectHandle contents = pageOf(written, 0).getKey("/Contents");
    EXPECT_EQ(contents.getDict().getKey("/Filter").unparse(), "/LZWDecode");
    auto raw = contents.getRawStreamData();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(raw->getBuffer()), raw->getSize()), garbage);
}

TEST(PDFDocumentWrite, TwoThousandSourcesUnderTheOpenFileLimit) {
    constexpr int files = 2000;
    TempDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < files; ++i) {
        // Written as text: PdfBuilder would take most of this test's time.
        const std::string content = "BT /F1 24 Tf 72 720 Td (Source " + std::to_string(i) + ") Tj ET";
        paths.push_back(dir.file("source-" + std::to_string(i) + ".pdf"));
        writeBytes(paths.back(),
                   rawPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                           "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R /Resources << "
                           "/Font << /F1 5 0 R >> >> >>",
                           "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream",
                           "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"}));
    }

    rlimit original{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &original), 0);
    rlimit lowered = original;
    lowered.rlim_cur = std::min<rlim_t>(1024, original.rlim_max);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
    struct Restore {
        rlimit limit;
        ~Restore() { ::setrlimit(RLIMIT_NOFILE, &limit); }
    } restore{original};

    const size_t descriptorsBefore = openDescriptors();
    auto combined = PDFDocument::init();
    for (const std::string& path : paths) {
        auto source = PDFDocument::initWithURL(path);
        ASSERT_NE(source, nullptr) << path << " (open descriptors: " << openDescriptors() << ")";
        ASSERT_EQ(source->pageCount(), 1u);
        ASSERT_TRUE(combined->insertPage(source->pageAtIndex(0), combined->pageCount()));
        // source is dropped here, right after its page went in
    }
    EXPECT_LE(openDescriptors(), descriptorsBefore + 2) << "dropped sources hold no descriptor";
    EXPECT_EQ(combined->pageCount(), static_cast<uint64_t>(files));

    WriteLog log;
    auto bytes = combined->dataRepresentation(&log);
    ASSERT_TRUE(bytes) << combined->lastError();
    EXPECT_EQ(log.events.size(), static_cast<size_t>(files) + 2);
    EXPECT_EQ(log.events[files], "page " + std::to_string(files - 1));
    EXPECT_LE(openDescriptors(), descriptorsBefore + 2);

    const std::string out = dir.file("combined.pdf");
    writeBytes(out, *bytes);
    auto reopened = PDFDocument::initWithURL(out);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->pageCount(), static_cast<uint64_t>(files));
    QPDF written;
    written.processFile(out.c_str());
    ASSERT_EQ(written.getAllPages().size(), static_cast<size_t>(files));
    for (int i : {0, 1, 999, 1000, files - 1}) {
        EXPECT_NE(pageContents(written, static_cast<size_t>(i)).find("(Source " + std::to_string(i) + ")"),
                  std::string::npos)
            << i;
    }
}

TEST(PDFDocumentWrite, OutputIsAFreshCompactDocument) {
    TempDir dir;
    PdfBuilder().addPages(4).write(dir.file("four.pdf"));
    auto combined = combinedOf({dir.file("four.pdf"), dir.file("four.pdf")});
    auto bytes = combined->dataRepresentation();
    ASSERT_TRUE(bytes) << combined->lastError();
    writeBytes(dir.file("out.pdf"), *bytes);
    EXPECT_EQ(qpdfCheck(dir.file("out.pdf")), 0);
    QPDF written;
    written.processFile(dir.file("out.pdf").c_str());
    EXPECT_EQ(written.getAllPages().size(), 8u);
    EXPECT_EQ(written.getTrailer().getKey("/Info").getKey("/Producer").getUTF8Value(), "Tomefuse");
    EXPECT_FALSE(written.getRoot().hasKey("/Outlines"));
    // Unfiltered content streams are compressed; the shared font is written once.
    EXPECT_EQ(pageOf(written, 0).getKey("/Contents").getDict().getKey("/Filter").unparse(), "/FlateDecode");
    EXPECT_EQ(pageOf(written, 0).getKey("/Resources").getKey("/Font").getKey("/F1").getObjGen(),
              pageOf(written, 3).getKey("/Resources").getKey("/Font").getKey("/F1").getObjGen());
}

}  // namespace
}  // namespace tomefuse::test
