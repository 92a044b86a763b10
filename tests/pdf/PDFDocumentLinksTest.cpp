#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>

#include "pdf/LinkDump.h"
#include "support/PdfDump.h"
#include "toc/TableOfContents.h"

namespace tomefuse::test {
namespace {

using Lines = std::vector<std::string>;

// Four pages whose links use every form of destination, with names in both tables.
void writeLinkFile(const std::string& path) {
    PdfBuilder()
        .addPages(4)
        .addNamedDestination("intro", 1, 50, 600)
        .addNameTreeDestination("chapter.1", "[@2 /FitR 10 20 300 400]")
        .addNameTreeDestination("section.2", "[@3 /FitH 500]")
        .addLink(0, "[@3 /XYZ 72 700 null]")
        .addLink(0, "/intro")
        .addLink(0, "(chapter.1)")
        .addLink(0, "<< /S /GoTo /D [@1 /Fit] >>")
        .addLink(0, "<< /S /GoTo /D (section.2) >>")
        .addLink(0, "<< /S /URI /URI (https://example.org/) /Next << /S /GoTo /D [@3 /FitV 33] >> >>")
        .addLink(0, "<< /S /URI /URI (https://example.org/) >>")
        .addLink(0, "(no.such.name)")
        .addLink(0, "<< /S /GoToR /F (other.pdf) /D [0 /Fit] >>")
        .addLink(2, "[@0 /FitH 500]")
        .addLink(2,
                 "<< /S /GoTo /D [@0 /FitB] /Next [ << /S /URI /URI (https://example.org/) >> "
                 "<< /S /GoTo /D (chapter.1) >> ] >>")
        .addLink(3, "[2 /Fit]")
        .write(path);
}

// Three pages using the same names as the file above for other pages, and one name it lacks.
void writeClashingFile(const std::string& path) {
    PdfBuilder()
        .addPages(3)
        .addNamedDestination("intro", 2, 0, 792)
        .addNameTreeDestination("chapter.1", "[@0 /Fit]")
        .addNameTreeDestination("b.only", "[@1 /Fit]")
        .addLink(0, "/intro")
        .addLink(0, "(chapter.1)")
        .addLink(0, "(b.only)")
        .addLink(0, "(section.2)")
        .write(path);
}

// The links of writeLinkFile's pages, as they must read when its first page lands at index at.
Lines linkFileLines(int at) {
    auto n = [at](int i) { return std::to_string(at + i); };
    return {
        n(0) + ".0 -> " + n(3) + " /XYZ 72 700 null",
        n(0) + ".1 -> " + n(1) + " /XYZ 50 600 null",
        n(0) + ".2 -> " + n(2) + " /FitR 10 20 300 400",
        n(0) + ".3 -> goto " + n(1) + " /Fit",
        n(0) + ".4 -> goto " + n(3) + " /FitH 500",
        n(0) + ".5 -> uri https://example.org/ + goto " + n(3) + " /FitV 33",
        n(0) + ".6 -> uri https://example.org/",
        // A name its own file does not offer leads nowhere, and must not lead into another file.
        n(0) + ".7 -> nothing",
        n(0) + ".8 -> GoToR [ 0 /Fit ]",
        n(2) + ".0 -> " + n(0) + " /FitH 500",
        n(2) + ".1 -> goto " + n(0) + " /FitB + uri https://example.org/ + goto " + n(2) + " /FitR 10 20 300 400",
        n(3) + ".0 -> " + n(2) + " /Fit",
    };
}

// The text each page draws, "|" between pages.
std::string pageTexts(const std::string& path) {
    std::string out;
    for (const std::string& contents : pageContents(path)) {
        const auto open = contents.find('(');
        const auto close = contents.find(')', open);
        out += (out.empty() ? "" : "|") + contents.substr(open + 1, close - open - 1);
    }
    return out;
}

Lines concat(std::vector<Lines> parts) {
    Lines all;
    for (auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(PDFDocumentLinks, EveryFormOfLinkLeadsToTheCopyOfItsTarget) {
    TempDir dir;
    PdfBuilder().addPages(2).write(dir.file("front.pdf"));
    writeLinkFile(dir.file("a.pdf"));
    writeClashingFile(dir.file("b.pdf"));
    // The source reads as intended (the page number in place of a page reference aside).
    Lines source = linkFileLines(0);
    source[7] = "0.7 -> unresolved (no.such.name)";
    source.back() = "3.0 -> unresolved [ 2 /Fit ]";
    EXPECT_EQ(linkLines(dir.file("a.pdf")), source);

    const std::string out = dir.file("out.pdf");
    ASSERT_TRUE(combineFiles({dir.file("front.pdf"), dir.file("a.pdf"), dir.file("b.pdf"), dir.file("a.pdf")}, out));
    EXPECT_EQ(qpdfCheck(out), 0);

    const Lines clashing = {
        "6.0 -> 8 /XYZ 0 792 null",
        "6.1 -> 6 /Fit",
        "6.2 -> 7 /Fit",
        // Not a name of this file: it must not jump to the first file's "section.2".
        "6.3 -> nothing",
    };
    // The same file listed twice is two copies, each linking within itself.
    EXPECT_EQ(linkLines(out), concat({linkFileLines(2), clashing, linkFileLines(9)}));

    // The first file to use a name keeps it; later ones are renamed after their place in the list.
    EXPECT_EQ(nameLines(out), (Lines{
                                  "b.only -> 7 /Fit",
                                  "chapter.1 -> 4 /FitR 10 20 300 400",
                                  "chapter.1-3 -> 6 /Fit",
                                  "chapter.1-4 -> 11 /FitR 10 20 300 400",
                                  "intro -> 3 /XYZ 50 600 null",
                                  "intro-3 -> 8 /XYZ 0 792 null",
                                  "intro-4 -> 10 /XYZ 50 600 null",
                                  "section.2 -> 5 /FitH 500",
                                  "section.2-4 -> 12 /FitH 500",
                              }));
    // Links to pages not yet copied drag no page in: the page tree holds every page object.
    EXPECT_EQ(pageObjectCount(out), 13u);
}

// A source is settled and let go as soon as no more pages can come from it, or else when the
// document is written: the links and names come out the same either way.
TEST(PDFDocumentLinks, SourcesLetGoEarlyLinkAsThoseKeptToTheEnd) {
    TempDir dir;
    writeLinkFile(dir.file("a.pdf"));
    writeClashingFile(dir.file("b.pdf"));
    const std::vector<std::string> paths = {dir.file("b.pdf"), dir.file("a.pdf"), dir.file("b.pdf"), dir.file("a.pdf")};
    ASSERT_TRUE(combineFiles(paths, dir.file("dropped.pdf")));

    auto combined = PDFDocument::init();
    std::vector<std::shared_ptr<PDFDocument>> kept;
    for (const std::string& path : paths) {
        kept.push_back(PDFDocument::initWithURL(path));
        ASSERT_NE(kept.back(), nullptr);
        for (uint64_t i = 0; i < kept.back()->pageCount(); ++i) {
            ASSERT_TRUE(combined->insertPage(kept.back()->pageAtIndex(i), combined->pageCount()));
        }
    }
    auto bytes = combined->dataRepresentation();
    ASSERT_TRUE(bytes) << combined->lastError();
    writeBytes(dir.file("kept.pdf"), *bytes);

    EXPECT_EQ(linkLines(dir.file("dropped.pdf")), linkLines(dir.file("kept.pdf")));
    EXPECT_EQ(nameLines(dir.file("dropped.pdf")), nameLines(dir.file("kept.pdf")));
    EXPECT_EQ(linkLines(dir.file("kept.pdf")).at(3), "0.3 -> nothing") << "b's (section.2), offered by a";
}

TEST(PDFDocumentLinks, PagesInsertedInAnyOrderLinkToWhereTheirTargetsLanded) {
    TempDir dir;
    writeLinkFile(dir.file("a.pdf"));
    writeClashingFile(dir.file("b.pdf"));
    auto a = PDFDocument::initWithURL(dir.file("a.pdf"));
    auto b = PDFDocument::initWithURL(dir.file("b.pdf"));
    ASSERT_TRUE(a && b);

    // Built as b2 a3 a1 b0 a0 a2 b1, by insertions at the front, the end and in between; then
    // a3 again at the end: links to a3 lead to its first copy.
    auto combined = PDFDocument::init();
    const std::vector<std::tuple<PDFDocument*, int, int>> steps = {{a.get(), 0, 0}, {b.get(), 0, 0}, {a.get(), 3, 0},
                                                                   {a.get(), 2, 3}, {b.get(), 2, 0}, {a.get(), 1, 2},
                                                                   {b.get(), 1, 6}, {a.get(), 3, 7}};
    for (const auto& [source, page, index] : steps) {
        ASSERT_TRUE(combined->insertPage(source->pageAtIndex(page), index));
    }
    auto bytes = combined->dataRepresentation();
    ASSERT_TRUE(bytes) << combined->lastError();
    writeBytes(dir.file("out.pdf"), *bytes);
    EXPECT_EQ(pageTexts(dir.file("out.pdf")), "Page 3|Page 4|Page 2|Page 1|Page 1|Page 3|Page 2|Page 4");

    EXPECT_EQ(linkLines(dir.file("out.pdf")),
              (Lines{
                  "1.0 -> 5 /Fit",  // a3 at 1 links to a2 at 5
                  "3.0 -> 0 /XYZ 0 792 null",
                  "3.1 -> 3 /Fit",
                  "3.2 -> 6 /Fit",
                  "3.3 -> nothing",
                  "4.0 -> 1 /XYZ 72 700 null",
                  "4.1 -> 2 /XYZ 50 600 null",
                  "4.2 -> 5 /FitR 10 20 300 400",
                  "4.3 -> goto 2 /Fit",
                  "4.4 -> goto 1 /FitH 500",
                  "4.5 -> uri https://example.org/ + goto 1 /FitV 33",
                  "4.6 -> uri https://example.org/",
                  "4.7 -> nothing",
                  "4.8 -> GoToR [ 0 /Fit ]",
                  "5.0 -> 4 /FitH 500",
                  "5.1 -> goto 4 /FitB + uri https://example.org/ + goto 5 /FitR 10 20 300 400",
                  "7.0 -> 5 /Fit",
              }));
    EXPECT_EQ(pageObjectCount(dir.file("out.pdf")), 8u);

    // Only a's first page: what it linked to is not here, and brings no page along. Names of a
    // lead to pages not here, so none is offered. Links to pages not here are removed; a link
    // that goes on to such a page after another action loses that part.
    auto first = PDFDocument::init();
    ASSERT_TRUE(first->insertPage(a->pageAtIndex(0), 0));
    bytes = first->dataRepresentation();
    ASSERT_TRUE(bytes) << first->lastError();
    writeBytes(dir.file("first.pdf"), *bytes);
    EXPECT_EQ(pageObjectCount(dir.file("first.pdf")), 1u);
    EXPECT_EQ(nameLines(dir.file("first.pdf")), Lines{});
    EXPECT_EQ(linkLines(dir.file("first.pdf")), (Lines{
                                                    "0.0 -> uri https://example.org/ + goto unresolved null",
                                                    "0.1 -> uri https://example.org/",
                                                    "0.2 -> nothing",
                                                    "0.3 -> GoToR [ 0 /Fit ]",
                                                }));
    // a's last page: its page number 2 counts a's pages, and a's page 2 is not here.
    ASSERT_TRUE(first->insertPage(a->pageAtIndex(3), 1));
    bytes = first->dataRepresentation();
    ASSERT_TRUE(bytes) << first->lastError();
    writeBytes(dir.file("first.pdf"), *bytes);
    EXPECT_EQ(linkLines(dir.file("first.pdf")).back(), "0.5 -> GoToR [ 0 /Fit ]") << "page 1 keeps no link";
    EXPECT_EQ(linkLines(dir.file("first.pdf")).front(), "0.0 -> 1 /XYZ 72 700 null") << "written again, fixed anew";
}

// A document assembled from others, not written yet, is itself a source: its pages carry their
// links and names on.
TEST(PDFDocumentLinks, AnAssembledDocumentPassesItsLinksOn) {
    TempDir dir;
    writeLinkFile(dir.file("a.pdf"));
    auto first = PDFDocument::init();
    {
        auto a = PDFDocument::initWithURL(dir.file("a.pdf"));
        ASSERT_NE(a, nullptr);
        for (uint64_t i = 0; i < a->pageCount(); ++i) {
            ASSERT_TRUE(first->insertPage(a->pageAtIndex(i), i));
        }
    }
    auto second = PDFDocument::init();
    for (uint64_t i = 0; i < first->pageCount(); ++i) {
        ASSERT_TRUE(second->insertPage(first->pageAtIndex(i), i));
    }
    auto bytes = second->dataRepresentation();
    ASSERT_TRUE(bytes) << second->lastError();
    writeBytes(dir.file("out.pdf"), *bytes);
    EXPECT_EQ(linkLines(dir.file("out.pdf")), linkFileLines(0));
    EXPECT_EQ(nameLines(dir.file("out.pdf")),
              (Lines{"chapter.1 -> 2 /FitR 10 20 300 400", "intro -> 1 /XYZ 50 600 null", "section.2 -> 3 /FitH 500"}));
}

// Large documents have thousands of names: the tree written is balanced and every name, kept or
// renamed, is found by a reader's search through its /Limits.
TEST(PDFDocumentLinks, ThousandsOfNamesStayFindable) {
    TempDir dir;
    PdfBuilder builder;
    builder.addPages(50);
    for (int i = 0; i < 3000; ++i) {
        builder.addNameTreeDestination("n" + std::to_string(i), "[@" + std::to_string(i % 50) + " /Fit]");
    }
    builder.addLink(49, "(n2999)").write(dir.file("names.pdf"));
    const std::string out = dir.file("out.pdf");
    ASSERT_TRUE(combineFiles({dir.file("names.pdf"), dir.file("names.pdf")}, out));
    EXPECT_EQ(qpdfCheck(out), 0);
    EXPECT_EQ(nameLines(out).size(), 6000u);
    QPDF pdf;
    pdf.processFile(out.c_str());
    for (int i = 0; i < 3000; i += 7) {
        const std::string key = "n" + std::to_string(i);
        EXPECT_EQ(destinationText(pdf, lookUpName(pdf, key)), std::to_string(i % 50) + " /Fit") << key;
        EXPECT_EQ(destinationText(pdf, lookUpName(pdf, key + "-2")), std::to_string(50 + i % 50) + " /Fit") << key;
    }
    EXPECT_EQ(linkLines(pdf), (Lines{"49.0 -> 49 /Fit", "99.0 -> 99 /Fit"}));
}

// Outlines are rebuilt with explicit destinations from what the reader resolved in each file, so
// an item that named a destination keeps leading into its own file when names clash.
TEST(PDFDocumentLinks, OutlineItemsByNameStayInTheirFile) {
    TempDir dir;
    auto byName = [](const std::string& title, const std::string& dest) {
        OutlineSpec item;
        item.title = title;
        item.dest = dest;
        return item;
    };
    PdfBuilder()
        .addPages(3)
        .addNamedDestination("intro", 1, 0, 700)
        .setOutline({byName("One intro", "/intro")})
        .write(dir.file("one.pdf"));
    PdfBuilder()
        .addPages(3)
        .addNameTreeDestination("intro", "[@2 /XYZ 0 600 null]")
        .setOutline({byName("Two intro", "(intro)")})
        .write(dir.file("two.pdf"));

    auto combined = PDFDocument::init();
    auto root = PDFOutline::init();
    uint64_t offset = 0;
    for (const char* name : {"one.pdf", "two.pdf"}) {
        auto source = PDFDocument::initWithURL(dir.file(name));
        ASSERT_NE(source, nullptr);
        for (uint64_t i = 0; i < source->pageCount(); ++i) {
            ASSERT_TRUE(combined->insertPage(source->pageAtIndex(i), combined->pageCount()));
        }
        const auto toc = arrayFromOutline(*source);
        LevelBuckets buckets = outlineArrayFromArray(*combined, &toc, offset);
        ASSERT_GE(buckets.size(), 2u);
        for (auto& item : buckets[1]) {
            root->insertChild(item, root->numberOfChildren());
        }
        offset += source->pageCount();
    }
    combined->setOutlineRoot(root);
    auto bytes = combined->dataRepresentation();
    ASSERT_TRUE(bytes) << combined->lastError();
    writeBytes(dir.file("out.pdf"), *bytes);
    EXPECT_EQ(dumpOutline(dir.file("out.pdf")), "One intro -> page 1 (0, 700)\nTwo intro -> page 5 (0, 600)\n");
    EXPECT_EQ(nameLines(dir.file("out.pdf")), (Lines{"intro -> 1 /XYZ 0 700 null", "intro-2 -> 5 /XYZ 0 600 null"}));
}

// Damage real files have: /Annots not an array, entries that are not annotations, a destination
// on something that is not a page, actions whose /Next loops, names that name each other, and a
// name tree whose kids loop. The combine ends, writes a sound file, and fixes what can be fixed.
TEST(PDFDocumentLinks, DamagedLinksAndNameTreesStayBounded) {
    TempDir dir;
    writeTextFile(dir.file("damaged.pdf"),
                  rawPdf({
                      "<< /Type /Catalog /Pages 2 0 R /Dests << /a /b /b /a /c [4 0 R /Fit] >> "
                      "/Names << /Dests 9 0 R >> >>",
                      "<< /Type /Pages /Kids [3 0 R 4 0 R 5 0 R] /Count 3 >>",
                      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Annots 5 >>",
                      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
                      "/Annots [null 7 13 0 R 8 0 R 10 0 R 11 0 R 12 0 R] >>",
                      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /AA << /O 6 0 R >> >>",
                      "<< /S /GoTo /D [5 0 R /Fit] /Next 6 0 R >>",
                      "<< /Font 7 0 R >>",
                      "<< /Type /Annot /Subtype /Link /Rect [0 0 10 10] /Dest [7 0 R /Fit] >>",
                      "<< /Kids [9 0 R 14 0 R] >>",
                      "<< /Type /Annot /Subtype /Link /Rect [0 0 10 10] /Dest /a >>",
                      "<< /Type /Annot /Subtype /Link /Rect [0 0 10 10] /Dest (t) >>",
                      "<< /Type /Annot /Subtype /Link /Rect [0 0 10 10] /A << /S /GoTo /D /c /Next [1 2] >> "
                      "/AA 5 >>",
                      "<< /Type /Annot /Subtype /Link /Rect [0 0 10 10] /A 6 0 R >>",
                      "<< /Names [(t) [5 0 R /FitH 10]] /Limits [(t) (t)] >>",
                  }));
    const std::string out = dir.file("out.pdf");
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(combineFiles({dir.file("damaged.pdf"), dir.file("damaged.pdf")}, out));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    std::string problems;
    EXPECT_EQ(qpdfCheck(out, &problems), 0) << problems;
    EXPECT_EQ(pageObjectCount(out), 6u);

    Lines links = linkLines(out);
    ASSERT_EQ(links.size(), 10u);
    for (std::string& line : links) {
        line = std::regex_replace(line, std::regex("[0-9]+ 0 R"), "R");  // object numbers vary
    }
    for (int copy = 0; copy < 2; ++copy) {
        const std::string p = std::to_string(1 + 3 * copy) + ".";
        const std::string page2 = std::to_string(2 + 3 * copy);
        const std::string page1 = std::to_string(1 + 3 * copy);
        EXPECT_EQ(Lines(links.begin() + 5 * copy, links.begin() + 5 * copy + 5),
                  (Lines{p + "0 -> goto " + page2 + " /Fit", p + "1 -> nothing", p + "2 -> nothing",
                         p + "3 -> " + page2 + " /FitH 10", p + "4 -> goto " + page1 + " /Fit"}));
    }
    QPDF pdf;
    pdf.processFile(out.c_str());
    QPDFObjectHandle opening = QPDFObjectHandle(pdf.getAllPages().at(5)).getKey("/AA").getKey("/O");
    EXPECT_EQ(destinationText(pdf, opening.getKey("/D")), "5 /Fit") << "a page's own actions are fixed too";
}

// Real files: every link that led to a page in its file leads to the copy of that page, with its
// view, when the file is combined after another one.
TEST(PDFDocumentLinks, CorpusLinksKeepLeadingWhereTheyLed) {
    const std::filesystem::path corpus = std::filesystem::path(TOMEFUSE_CORPUS_DIR) / "qpdf";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << "the corpus is missing: " << corpus;
    TempDir dir;
    PdfBuilder().addPages(2).write(dir.file("front.pdf"));
    const std::regex target("(-> |goto )([0-9]+)( |$)");
    size_t filesWithLinks = 0;
    size_t resolvedLinks = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const std::string path = entry.path().string();
        if (entry.path().extension() != ".pdf" || !PDFDocument::initWithURL(path)) {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string());
        Lines source;
        try {
            source = linkLines(path);
        } catch (const std::exception&) {
            continue;  // needs a password for libqpdf's plain open
        }
        const std::string out = dir.file("out.pdf");
        if (entry.path().filename() == "fuzz-16214.pdf") {
            EXPECT_FALSE(combineFiles({dir.file("front.pdf"), path}, out)) << "its page cannot be parsed";
            continue;
        }
        ASSERT_TRUE(combineFiles({dir.file("front.pdf"), path}, out));
        EXPECT_EQ(pageObjectCount(out), 2 + PDFDocument::initWithURL(path)->pageCount());
        const Lines combined = linkLines(out);
        size_t resolvedHere = 0;
        for (const std::string& line : source) {
            // "p.a -> t view" becomes "p+2.a -> t+2 view": shift the page of the annotation and
            // of every target. Links to the web read the same, on their shifted page.
            std::string expected;
            std::smatch m;
            std::string rest = line;
            const auto dot = rest.find('.');
            expected = std::to_string(std::stoi(rest.substr(0, dot)) + 2);
            rest = rest.substr(dot);
            while (std::regex_search(rest, m, target)) {
                expected += m.prefix().str() + m[1].str() + std::to_string(std::stoi(m[2].str()) + 2) + m[3].str();
                rest = m.suffix().str();
            }
            expected += rest;
            EXPECT_NE(std::find(combined.begin(), combined.end(), expected), combined.end()) << expected;
            resolvedHere += std::regex_search(line, target) ? 1 : 0;
        }
        if (!source.empty()) {
            std::cout << "[ corpus   ] " << entry.path().filename().string() << ": " << source.size()
                      << " annotations with a destination or action, " << resolvedHere
                      << " led to a page of the file; each checked in the combined file\n";
        }
        if (resolvedHere > 0) {
            ++filesWithLinks;
            resolvedLinks += resolvedHere;
        }
    }
    EXPECT_GE(filesWithLinks, 1u);
    EXPECT_GE(resolvedLinks, 16u) << "link-annots.pdf alone has 16";
}

}  // namespace
}  // namespace tomefuse::test
