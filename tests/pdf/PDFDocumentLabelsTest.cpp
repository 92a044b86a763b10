#include <gtest/gtest.h>

#include <filesystem>

#include "pdf/LinkDump.h"

namespace tomefuse::test {
namespace {

TEST(PDFDocumentLabels, EveryPageKeepsTheLabelItHadInItsFile) {
    TempDir dir;
    PdfBuilder().addPages(4).addPageLabel(0, "<< /S /r >>").addPageLabel(2, "<< /S /D >>").write(dir.file("roman.pdf"));
    PdfBuilder().addPages(3).addPageLabel(0, "<< /S /D /P (A-) /St 5 >>").write(dir.file("prefixed.pdf"));
    PdfBuilder().addPages(3).write(dir.file("plain.pdf"));
    // The first range starts late: readers number the pages before it.
    PdfBuilder().addPages(3).addPageLabel(1, "<< /S /R >>").write(dir.file("late.pdf"));

    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"roman.pdf", "plain.pdf"}, "i ii 1 2 1 2 3"},
        {{"plain.pdf", "roman.pdf"}, "1 2 3 i ii 1 2"},
        {{"plain.pdf", "roman.pdf", "prefixed.pdf", "plain.pdf"}, "1 2 3 i ii 1 2 A-5 A-6 A-7 1 2 3"},
        {{"prefixed.pdf", "prefixed.pdf"}, "A-5 A-6 A-7 A-5 A-6 A-7"},
        {{"plain.pdf", "late.pdf"}, "1 2 3 1 I II"},
        // No file has labels: neither has the combined document.
        {{"plain.pdf", "plain.pdf"}, ""},
    };
    for (const auto& [files, labels] : cases) {
        std::vector<std::string> paths;
        for (const auto& f : files) {
            paths.push_back(dir.file(f));
        }
        ASSERT_TRUE(combineFiles(paths, dir.file("out.pdf")));
        EXPECT_EQ(pageLabels(dir.file("out.pdf")), labels) << files.front() << " + ...";
    }

    // Pages out of their order, interleaved with another file's, keep their own labels.
    auto roman = PDFDocument::initWithURL(dir.file("roman.pdf"));
    auto plain = PDFDocument::initWithURL(dir.file("plain.pdf"));
    ASSERT_TRUE(roman && plain);
    auto combined = PDFDocument::init();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(combined->insertPage(plain->pageAtIndex(static_cast<uint64_t>(i)), combined->pageCount()));
    }
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(combined->insertPage(roman->pageAtIndex(static_cast<uint64_t>(i)), 1));
    }
    auto bytes = combined->dataRepresentation();
    ASSERT_TRUE(bytes) << combined->lastError();
    writeBytes(dir.file("out.pdf"), *bytes);
    EXPECT_EQ(pageLabels(dir.file("out.pdf")), "1 2 1 ii i 2 3");
}

// Real label trees (several levels, no entry for page 0, damaged entries) read as they read in
// their own file once combined after a file without labels.
TEST(PDFDocumentLabels, CorpusLabelsCarryOver) {
    const std::filesystem::path corpus = std::filesystem::path(TOMEFUSE_CORPUS_DIR) / "qpdf";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << "the corpus is missing: " << corpus;
    TempDir dir;
    PdfBuilder().addPages(2).write(dir.file("front.pdf"));
    for (const char* name : {"page-labels-num-tree.pdf", "page-labels-no-zero.pdf", "11-pages-with-labels.pdf",
                             "page-labels-and-outlines.pdf", "duplicate-pages.pdf"}) {
        SCOPED_TRACE(name);
        const std::string path = (corpus / name).string();
        ASSERT_TRUE(combineFiles({dir.file("front.pdf"), path}, dir.file("out.pdf")));
        EXPECT_EQ(pageLabels(dir.file("out.pdf")), "1 2 " + pageLabels(path));
    }
    // Entries out of order are taken in page order, as a reader that reads the whole tree does;
    // an entry that is not a dictionary is passed over.
    ASSERT_TRUE(combineFiles({dir.file("front.pdf"), (corpus / "page-labels-num-tree-damaged.pdf").string()},
                             dir.file("out.pdf")));
    EXPECT_EQ(pageLabels(dir.file("out.pdf")),
              "1 2 i ii blank X-/A17 X-/A18  III IV V 1 2 3 /a3 /a4 /a5 q.6 q.7 q.8 q.9 www 12 13 16059 L LI LII LIII "
              "LIV LV liv");
}

}  // namespace
}  // namespace tomefuse::test
