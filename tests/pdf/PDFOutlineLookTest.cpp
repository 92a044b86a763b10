#include <gtest/gtest.h>

#include "pdf/LinkDump.h"
#include "toc/TableOfContents.h"

namespace tomefuse::test {
namespace {

// An item as written: "title: page N /View ..." for a destination, "title: action /S ..." for an
// action, "title: nothing"; then its colour, flags and count where it has them.
std::string writtenItem(QPDF& pdf, QPDFObjectHandle item) {
    std::string text = item.getKey("/Title").getUTF8Value() + ":";
    QPDFObjectHandle dest = item.getKey("/Dest");
    QPDFObjectHandle action = item.getKey("/A");
    if (dest.isArray()) {
        text += " page " + std::to_string(pageIndexOf(pdf, dest.getArrayItem(0)));
        for (int i = 1; i < dest.getArrayNItems(); ++i) {
            text += " " + dest.getArrayItem(i).unparse();
        }
    } else if (action.isDictionary()) {
        text += " action " + action.getKey("/S").unparse();
        for (const char* key : {"/URI", "/N", "/F"}) {
            if (action.hasKey(key)) {
                text += " " + action.getKey(key).unparse();
            }
        }
    } else {
        text += " nothing";
    }
    for (const char* key : {"/C", "/F", "/Count"}) {
        if (item.hasKey(key)) {
            text += " " + std::string(key) + " " + item.getKey(key).unparse();
        }
    }
    return text;
}

// Every kind of target a bookmark can have, and its look, through the whole road: read from the
// file, flattened, rebuilt behind another file's page, written, read back. Only the page moves.
TEST(PDFOutline, BookmarksKeepTheirViewActionAndLook) {
    struct Case {
        std::string item;     // the item's keys in the source file; 4 0 R is its second page
        std::string written;  // as read back; its pages sit behind the front file's one page
    };
    const std::vector<Case> cases = {
        {"/Dest [4 0 R /XYZ 72 700 2]", "page 2 /XYZ 72 700 2"},
        {"/Dest [4 0 R /XYZ null null null]", "page 2 /XYZ null null null"},
        {"/Dest [4 0 R /Fit]", "page 2 /Fit"},
        {"/Dest [3 0 R /FitH 500]", "page 1 /FitH 500"},
        {"/Dest [4 0 R /FitV 30]", "page 2 /FitV 30"},
        {"/Dest [4 0 R /FitR 10 20 300 400]", "page 2 /FitR 10 20 300 400"},
        {"/Dest [4 0 R /FitB]", "page 2 /FitB"},
        {"/Dest [4 0 R /FitBH 600]", "page 2 /FitBH 600"},
        {"/Dest [4 0 R /FitBV 40]", "page 2 /FitBV 40"},
        {"/A << /S /GoTo /D [4 0 R /Fit] >>", "page 2 /Fit"},
        {"/A << /S /URI /URI (https://example.org/) >>", "action /URI (https://example.org/)"},
        {"/A << /S /Named /N /NextPage >>", "action /Named /NextPage"},
        {"/A << /S /GoToR /F (other.pdf) /D [0 /Fit] >>", "action /GoToR (other.pdf)"},
        {"", "nothing"},
        {"/Dest [7 0 R /Fit]", "page 1 /XYZ 0 792 null"},  // leads to no page: the file's first
        {"/Dest [4 0 R /Fit] /C [1 0 0.5] /F 3", "page 2 /Fit /C [ 1 0 0.5 ] /F 3"},
    };
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R /Outlines 5 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>",
        "<< /Type /Outlines /First 6 0 R /Last " + std::to_string(6 + cases.size()) + " 0 R /Count " +
            std::to_string(cases.size() + 1) + " >>",
    };
    std::vector<std::string> expected;
    for (size_t i = 0; i < cases.size(); ++i) {
        const int number = static_cast<int>(6 + i);
        objects.push_back("<< /Title (" + std::to_string(i) + ") /Parent 5 0 R " +
                          (i > 0 ? "/Prev " + std::to_string(number - 1) + " 0 R " : "") + "/Next " +
                          std::to_string(number + 1) + " 0 R " + cases[i].item + " >>");
        expected.push_back("  " + std::to_string(i) + ": " + cases[i].written);
    }
    // Last, an open item with a child: it stays open.
    const int open = static_cast<int>(6 + cases.size());
    objects.push_back("<< /Title (open) /Parent 5 0 R /Prev " + std::to_string(open - 1) +
                      " 0 R /Dest [3 0 R /Fit] /First " + std::to_string(open + 1) + " 0 R /Last " +
                      std::to_string(open + 1) + " 0 R /Count 1 >>");
    objects.push_back("<< /Title (child) /Parent " + std::to_string(open) + " 0 R /Dest [4 0 R /Fit] >>");
    expected.push_back("  open: page 1 /Fit /Count 1");
    expected.push_back("    child: page 2 /Fit");

    TempDir dir;
    writeTextFile(dir.file("targets.pdf"), rawPdf(objects));
    PdfBuilder().addPages(1).write(dir.file("front.pdf"));
    auto front = PDFDocument::initWithURL(dir.file("front.pdf"));
    auto source = PDFDocument::initWithURL(dir.file("targets.pdf"));
    ASSERT_TRUE(front && source);
    auto combined = PDFDocument::init();
    ASSERT_EQ(combined->insertPages(*front, {0}), PDFInsertResult::inserted);
    ASSERT_EQ(combined->insertPages(*source, {0, 1}), PDFInsertResult::inserted);
    const std::vector<TocEntry> toc = arrayFromOutline(*source);
    auto root = PDFOutline::init();
    root->insertChild(outlineFromArray(*combined, &toc, "targets", 1), 0);
    combined->setOutlineRoot(root);
    auto bytes = combined->dataRepresentation();
    ASSERT_TRUE(bytes) << combined->lastError();
    writeBytes(dir.file("out.pdf"), *bytes);
    EXPECT_EQ(qpdfCheck(dir.file("out.pdf")), 0);

    QPDF pdf;
    pdf.processFile(dir.file("out.pdf").c_str());
    std::vector<std::string> lines;
    std::vector<std::pair<QPDFObjectHandle, int>> stack{{pdf.getRoot().getKey("/Outlines").getKey("/First"), 0}};
    while (!stack.empty()) {
        auto [node, depth] = stack.back();
        stack.pop_back();
        if (!node.isDictionary()) {
            continue;
        }
        lines.push_back(std::string(static_cast<size_t>(depth) * 2, ' ') + writtenItem(pdf, node));
        stack.push_back({node.getKey("/Next"), depth});
        stack.push_back({node.getKey("/First"), depth + 1});
    }
    ASSERT_FALSE(lines.empty());
    // The file's bookmark leads to the top left of its first page here. Closed, it counts what
    // opening it shows: its items, and the child of the open one.
    EXPECT_EQ(lines.front(), "targets: page 1 /XYZ 0 792 null /Count -" + std::to_string(cases.size() + 2));
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), expected);
}

}  // namespace
}  // namespace tomefuse::test
