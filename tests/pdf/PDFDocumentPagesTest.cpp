#include <gtest/gtest.h>

#include "pdf/PdfTestSupport.h"

namespace tomefuse::test {
namespace {

// The label a fixture page draws, read back from its content stream.
std::string drawnLabel(QPDF& pdf, size_t index) {
    const std::string contents = pageContents(pdf, index);
    const auto open = contents.find('(');
    const auto close = contents.find(") Tj");
    return open == std::string::npos || close == std::string::npos ? "?" : contents.substr(open + 1, close - open - 1);
}

std::string describe(const PDFPage& page) {
    return "media " + rectText(page.boundsForBox(PDFDisplayBox::mediaBox)) + " crop " +
           rectText(page.boundsForBox(PDFDisplayBox::cropBox)) + " rotate " + std::to_string(page.rotation());
}

// What a reader sees of a page of a written file: boxes, rotation (inherited ones included), the
// content it draws and whether its font resource resolves.
std::string describeWritten(QPDF& pdf, size_t index) {
    QPDFPageObjectHelper page(pdf.getAllPages().at(index));
    auto box = [](QPDFObjectHandle array) {
        if (!array.isRectangle()) {
            return std::string("none");
        }
        auto r = array.getArrayAsRectangle();
        return "[" + number(r.llx) + " " + number(r.lly) + " " + number(r.urx) + " " + number(r.ury) + "]";
    };
    QPDFObjectHandle rotate = page.getAttribute("/Rotate", false);
    QPDFObjectHandle font = page.getAttribute("/Resources", false).getKey("/Font").getKey("/F1");
    return "media " + box(page.getAttribute("/MediaBox", false)) + " crop " +
           box(page.getAttribute("/CropBox", false)) + " rotate " +
           (rotate.isInteger() ? std::to_string(rotate.getIntValue()) : "none") + " font " +
           (font.isDictionary() ? font.getKey("/BaseFont").unparse() : "missing") + " draws " + drawnLabel(pdf, index);
}

std::vector<std::string> describeAllWritten(const std::string& path) {
    QPDF pdf;
    pdf.processFile(path.c_str());
    std::vector<std::string> out;
    for (size_t i = 0; i < pdf.getAllPages().size(); ++i) {
        out.push_back(describeWritten(pdf, i));
    }
    return out;
}

std::vector<std::string> labelsOf(const std::string& path) {
    QPDF pdf;
    pdf.processFile(path.c_str());
    std::vector<std::string> out;
    for (size_t i = 0; i < pdf.getAllPages().size(); ++i) {
        out.push_back(drawnLabel(pdf, i));
    }
    return out;
}

std::string writeDocument(PDFDocument& document, const std::string& path) {
    auto bytes = document.dataRepresentation();
    if (!bytes) {
        ADD_FAILURE() << "dataRepresentation failed: " << document.lastError();
        return path;
    }
    writeBytes(path, *bytes);
    return path;
}

TEST(PDFDocumentPages, CopiedPagesLookTheSame) {
    TempDir dir;
    const std::string own = dir.file("own.pdf");
    PdfBuilder()
        .addPage(makePage("Letter"))
        .addPage(makePage("Cropped", 300, 400, 90, std::vector<double>{20, 30, 200, 300}, 10, 20))
        .addPage(makePage("Square", 500, 500, 270))
        .addPage(makePage("Landscape", 842, 595, 180))
        .write(own);
    // MediaBox, CropBox, Rotate and Resources on the /Pages node only; page B has a CropBox of
    // its own.
    const std::string inherited = dir.file("inherited.pdf");
    PdfBuilder()
        .addPage(makePage("Inherited A", 400, 600, 90, std::vector<double>{10, 10, 390, 590}))
        .addPage(makePage("Inherited B", 400, 600, 90))
        .write(dir.file("to-inherit.pdf"));
    makeInherited(dir.file("to-inherit.pdf"), inherited);
    rewritePdf(inherited, inherited + ".2", [](QPDF& pdf) {
        QPDFObjectHandle pageB = pdf.getAllPages().at(1);
        pageB.replaceKey("/CropBox", QPDFObjectHandle::parse("[0 0 300 500]"));
    });
    std::rename((inherited + ".2").c_str(), inherited.c_str());

    auto combined = PDFDocument::init();
    std::vector<std::string> expected;
    for (const std::string& path : {own, inherited}) {
        auto source = PDFDocument::initWithURL(path);
        ASSERT_NE(source, nullptr);
        for (uint64_t i = 0; i < source->pageCount(); ++i) {
            const PDFPage page = source->pageAtIndex(i);
            expected.push_back(describe(page));
            ASSERT_TRUE(combined->insertPage(page, combined->pageCount()));
            EXPECT_EQ(describe(combined->pageAtIndex(combined->pageCount() - 1)), expected.back());
        }
    }
    EXPECT_EQ(expected, (std::vector<std::string>{
                            "media [0 0 612 792] crop [0 0 612 792] rotate 0",
                            "media [10 20 300 400] crop [20 30 180 270] rotate 90",
                            "media [0 0 500 500] crop [0 0 500 500] rotate 270",
                            "media [0 0 842 595] crop [0 0 842 595] rotate 180",
                            "media [0 0 400 600] crop [10 10 380 580] rotate 90",
                            "media [0 0 400 600] crop [0 0 300 500] rotate 90",
                        }));

    const std::string out = writeDocument(*combined, dir.file("combined.pdf"));
    EXPECT_EQ(qpdfCheck(out), 0);
    EXPECT_EQ(describeAllWritten(out), (std::vector<std::string>{
                                           "media [0 0 612 792] crop none rotate none font /Helvetica draws Letter",
                                           "media [10 20 310 420] crop [20 30 200 300] rotate 90 font /Helvetica "
                                           "draws Cropped",
                                           "media [0 0 500 500] crop none rotate 270 font /Helvetica draws Square",
                                           "media [0 0 842 595] crop none rotate 180 font /Helvetica draws Landscape",
                                           "media [0 0 400 600] crop [10 10 390 590] rotate 90 font /Helvetica draws "
                                           "Inherited A",
                                           "media [0 0 400 600] crop [0 0 300 500] rotate 90 font /Helvetica draws "
                                           "Inherited B",
                                       }));
    // And read back through the layer: the same boxes and rotations.
    auto reopened = PDFDocument::initWithURL(out);
    ASSERT_NE(reopened, nullptr);
    ASSERT_EQ(reopened->pageCount(), expected.size());
    for (uint64_t i = 0; i < reopened->pageCount(); ++i) {
        EXPECT_EQ(describe(reopened->pageAtIndex(i)), expected[i]) << i;
    }
}

TEST(PDFDocumentPages, SourceKeepsItsPagesAndHandlesStayMeaningful) {
    TempDir dir;
    const std::string path = dir.file("five.pdf");
    PdfBuilder().addPages(5).write(path);
    auto source = PDFDocument::initWithURL(path);
    ASSERT_NE(source, nullptr);
    std::vector<PDFPage> pages;
    for (uint64_t i = 0; i < source->pageCount(); ++i) {
        pages.push_back(source->pageAtIndex(i));
    }

    auto combined = PDFDocument::init();
    // Pages 1..5 appended, then page 3 at the front and page 5 in the middle.
    for (const PDFPage& page : pages) {
        ASSERT_TRUE(combined->insertPage(page, combined->pageCount()));
    }
    const PDFPage firstCopy = combined->pageAtIndex(0);
    const PDFPage lastCopy = combined->pageAtIndex(4);
    ASSERT_TRUE(combined->insertPage(pages[2], 0));
    ASSERT_TRUE(combined->insertPage(pages[4], 3));
    EXPECT_EQ(combined->pageCount(), 7u);

    // The source answers as before.
    EXPECT_EQ(source->pageCount(), 5u);
    for (uint64_t i = 0; i < 5; ++i) {
        EXPECT_TRUE(source->pageAtIndex(i) == pages[i]);
        EXPECT_EQ(source->indexForPage(pages[i]), i);
        EXPECT_EQ(combined->indexForPage(pages[i]), NSNotFound) << "a page of another document";
    }
    // Handles of the combined document follow their page.
    EXPECT_EQ(combined->indexForPage(firstCopy), 1u);
    EXPECT_EQ(combined->indexForPage(lastCopy), 6u);
    for (uint64_t i = 0; i < combined->pageCount(); ++i) {
        EXPECT_EQ(combined->indexForPage(combined->pageAtIndex(i)), i);
        EXPECT_TRUE(combined->pageAtIndex(i) == combined->pageAtIndex(i));
        EXPECT_FALSE(combined->pageAtIndex(i) == pages[0]);
    }
    EXPECT_FALSE(combined->pageAtIndex(7));
    EXPECT_EQ(combined->indexForPage(PDFPage()), NSNotFound);
    EXPECT_EQ(PDFPage().boundsForBox(PDFDisplayBox::mediaBox), PDFRect());

    // Out of range and no page: refused, nothing changes.
    EXPECT_FALSE(combined->insertPage(pages[0], 8));
    EXPECT_FALSE(combined->insertPage(PDFPage(), 0));
    EXPECT_EQ(combined->pageCount(), 7u);

    const std::string out = writeDocument(*combined, dir.file("out.pdf"));
    EXPECT_EQ(qpdfCheck(out), 0);
    EXPECT_EQ(labelsOf(out),
              (std::vector<std::string>{"Page 3", "Page 1", "Page 2", "Page 5", "Page 3", "Page 4", "Page 5"}));
}

TEST(PDFDocumentPages, SamePageTwiceTwoOpeningsAndItsOwnPages) {
    TempDir dir;
    const std::string path = dir.file("two.pdf");
    PdfBuilder().addPage(makePage("One", 612, 792, 90)).addPage(makePage("Two")).write(dir.file("plain.pdf"));
    makeInherited(dir.file("plain.pdf"), path);
    auto first = PDFDocument::initWithURL(path);
    auto second = PDFDocument::initWithURL(path);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(first->pageAtIndex(0) == second->pageAtIndex(0)) << "two openings are two documents";

    auto combined = PDFDocument::init();
    ASSERT_TRUE(combined->insertPage(first->pageAtIndex(0), 0));
    ASSERT_TRUE(combined->insertPage(first->pageAtIndex(0), 1));  // the same page again
    ASSERT_TRUE(combined->insertPage(second->pageAtIndex(0), 2));
    ASSERT_TRUE(combined->insertPage(second->pageAtIndex(1), 3));
    ASSERT_TRUE(combined->insertPage(combined->pageAtIndex(3), 1));  // a page of its own
    ASSERT_EQ(combined->pageCount(), 5u);
    for (uint64_t i = 0; i < 5; ++i) {
        EXPECT_EQ(combined->indexForPage(combined->pageAtIndex(i)), i) << "every copy is a page object of its own";
        EXPECT_EQ(combined->pageAtIndex(i).rotation(), 90) << "inherited from the source's /Pages node, page " << i;
    }
    first.reset();
    second.reset();

    const std::string out = writeDocument(*combined, dir.file("out.pdf"));
    EXPECT_EQ(qpdfCheck(out), 0);
    EXPECT_EQ(labelsOf(out), (std::vector<std::string>{"One", "Two", "One", "One", "Two"}));
    QPDF written;
    written.processFile(out.c_str());
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(QPDFPageObjectHelper(written.getAllPages()[i]).getAttribute("/Rotate", false).getIntValue(), 90);
    }
}

TEST(PDFDocumentPages, SourcesMayBeDroppedRightAfterInsertion) {
    TempDir dir;
    auto combined = PDFDocument::init();
    std::vector<std::string> expected;
    for (int file = 0; file < 3; ++file) {
        const std::string path = dir.file("f" + std::to_string(file) + ".pdf");
        PdfBuilder()
            .addPage(makePage("File " + std::to_string(file) + " A"))
            .addPage(makePage("File " + std::to_string(file) + " B"))
            .write(path);
        auto source = PDFDocument::initWithURL(path);
        ASSERT_NE(source, nullptr);
        for (uint64_t i = 0; i < source->pageCount(); ++i) {
            ASSERT_TRUE(combined->insertPage(source->pageAtIndex(i), combined->pageCount()));
        }
        expected.push_back("File " + std::to_string(file) + " A");
        expected.push_back("File " + std::to_string(file) + " B");
    }
    // A page handle keeps its document's data: boxes answer after the document is gone.
    PDFPage kept;
    {
        const std::string path = dir.file("kept.pdf");
        PdfBuilder().addPage(makePage("", 100, 200)).write(path);
        kept = PDFDocument::initWithURL(path)->pageAtIndex(0);
    }
    EXPECT_EQ(kept.boundsForBox(PDFDisplayBox::mediaBox), (PDFRect{0, 0, 100, 200}));
    ASSERT_TRUE(combined->insertPage(kept, combined->pageCount()));
    expected.push_back("Page 1");

    const std::string out = writeDocument(*combined, dir.file("out.pdf"));
    EXPECT_EQ(qpdfCheck(out), 0);
    EXPECT_EQ(labelsOf(out), expected);
}

}  // namespace
}  // namespace tomefuse::test
