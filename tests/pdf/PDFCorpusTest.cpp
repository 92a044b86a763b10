// Every file of the corpus of real-world PDFs from qpdf's test suite (see its README.md): opened
// or refused without crash or hang, its outline read, its pages combined into a new document.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "pdf/PdfTestSupport.h"

namespace tomefuse::test {
namespace {

const std::string corpusDir = std::string(TOMEFUSE_CORPUS_DIR) + "/qpdf";

// The README's "unopenable" files, and the encrypted ones whose user password is not empty.
const std::set<std::string> refused = {
    "bad1.pdf",
    "bad7.pdf",
    "issue-335b.pdf",
    "issue-141a.pdf",
    "issue-146.pdf",
    "pages-loop.pdf",
    "deep-pages.pdf",
    "enc-R2,V1,U=view,O=view.pdf",
    "enc-XI-R6,V5,U=view,O=master.pdf",
    "enc-XI-long-password.pdf",
    "enc-long-password.pdf",
    "20-pages.pdf",
    "c-r5-in.pdf",
    "nontrivial-crypt-filter.pdf",
    "encrypted-40-bit-R3.pdf",
};

// Files that open but whose pages libqpdf cannot parse as the file has them (it takes a token
// for a string and makes up keys): copying would change them, so the combine refuses them.
const std::set<std::string> damagedPages = {"fuzz-16214.pdf"};

// Pages as the README (qpdf 11.3) counts them.
const std::map<std::string, uint64_t> pageCounts = {
    {"11-pages-with-labels.pdf", 11},
    {"V4-aes.pdf", 30},
    {"annotations-rotated-90.pdf", 1},
    {"append-xref-loop.pdf", 30},
    {"bad2.pdf", 1},
    {"bad3.pdf", 1},
    {"bad8.pdf", 1},
    {"bad24.pdf", 1},
    {"bad33.pdf", 1},
    {"bad39.pdf", 1},
    {"big-ostream.pdf", 1},
    {"boxes.pdf", 8},
    {"compress-objstm-xref.pdf", 1},
    {"content-stream-errors.pdf", 4},
    {"damaged-stream.pdf", 1},
    {"digitally-signed.pdf", 1},
    {"direct-outlines.pdf", 30},
    {"direct-pages.pdf", 2},
    {"duplicate-page-inherited.pdf", 2},
    {"duplicate-pages.pdf", 7},
    {"enc-R3,V2,O=master.pdf", 30},
    {"enc-XI-R6,V5,O=master.pdf", 30},
    {"encrypted-with-images.pdf", 2},
    {"eof-reading-token.pdf", 1},
    {"field-types.pdf", 1},
    {"fields-two-pages.pdf", 2},
    {"form-bad-fields-array.pdf", 3},
    {"form-empty-from-odt.pdf", 3},
    {"form-fields-and-annotations.pdf", 1},
    {"form-filled-by-acrobat.pdf", 3},
    {"fuzz-16214.pdf", 1},
    {"hybrid-xref.pdf", 30},
    {"incremental-2.pdf", 1},
    {"inherited-rotate.pdf", 1},
    {"leading-junk.pdf", 30},
    {"lin-special.pdf", 5},
    {"link-annots.pdf", 4},
    {"minimal-signed-restricted.pdf", 2},
    {"minimal.pdf", 1},
    {"no-contents.pdf", 1},
    {"object-stream-self-ref.pdf", 1},
    {"object-stream.pdf", 1},
    {"outlines-with-actions.pdf", 30},
    {"outlines-with-loop.pdf", 30},
    {"outlines-with-old-root-dests-dict.pdf", 30},
    {"outlines-with-old-root-dests.pdf", 30},
    {"overlay-copy-annotations.pdf", 16},
    {"page-inherit-mediabox.pdf", 3},
    {"page-labels-and-outlines.pdf", 30},
    {"page-labels-no-zero.pdf", 30},
    {"page-labels-num-tree-damaged.pdf", 30},
    {"page-labels-num-tree.pdf", 30},
    {"page-with-no-resources.pdf", 1},
    {"pages-is-page.pdf", 1},
    {"reuse-xref-stream.pdf", 1},
    {"rotated.pdf", 20},
    {"sample-form.pdf", 1},
    {"shared-images.pdf", 10},
    {"shared-unnamed-field.pdf", 1},
    {"utf16le.pdf", 1},
    {"xref-compressed-in-compressed.pdf", 30},
    {"xref-with-short-size.pdf", 1},
    {"zero-offset.pdf", 1},
};

// Outline items, all levels. The README counts 11 for these; outlines-with-loop has 11 items of
// which 8 are reachable before its /Next chain loops back. Every other file has none.
const std::map<std::string, size_t> outlineCounts = {
    {"V4-aes.pdf", 11},
    {"direct-outlines.pdf", 11},
    {"enc-R3,V2,O=master.pdf", 11},
    {"enc-XI-R6,V5,O=master.pdf", 11},
    {"hybrid-xref.pdf", 11},
    {"leading-junk.pdf", 11},
    {"outlines-with-actions.pdf", 11},
    {"outlines-with-loop.pdf", 8},
    {"outlines-with-old-root-dests-dict.pdf", 11},
    {"outlines-with-old-root-dests.pdf", 11},
    {"page-labels-and-outlines.pdf", 11},
};

std::vector<std::string> corpusFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(corpusDir)) {
        if (entry.path().extension() == ".pdf") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The outline items of these files say where they lead: "Potato 1 -> 5: /XYZ null null null"
// is page index 5, with the destination's form and operands. Checks every item against it.
void checkTitledDestinations(const PDFDocument& document) {
    static const std::regex pattern(R"(-> (\d+): (/\w+)((?: +\S+)*)\s*$)");
    std::vector<const PDFOutline*> stack{document.outlineRoot().get()};
    while (!stack.empty()) {
        const PDFOutline* item = stack.back();
        stack.pop_back();
        for (size_t i = 0; i < item->numberOfChildren(); ++i) {
            stack.push_back(item->childAtIndex(i).get());
        }
        if (item == document.outlineRoot().get()) {
            continue;
        }
        ASSERT_TRUE(item->label());
        SCOPED_TRACE(*item->label());
        std::smatch match;
        ASSERT_TRUE(std::regex_search(*item->label(), match, pattern));
        ASSERT_TRUE(item->destination());
        const uint64_t page = std::stoull(match[1]);
        EXPECT_EQ(document.indexForPage(item->destination()->page()), page);
        std::vector<std::string> operands;
        std::istringstream in(match[3].str());
        for (std::string word; in >> word;) {
            operands.push_back(word);
        }
        auto value = [&](size_t i, double otherwise) {
            return i < operands.size() && operands[i] != "null" ? std::stod(operands[i]) : otherwise;
        };
        const PDFRect media = document.pageAtIndex(page).boundsForBox(PDFDisplayBox::mediaBox);
        const double top = media.y + media.height;
        const std::string form = match[2];
        PDFPoint expected{0, top};
        if (form == "/XYZ") {
            expected = {value(0, 0), value(1, top)};
        } else if (form == "/FitH" || form == "/FitBH") {
            expected = {0, value(0, top)};
        } else if (form == "/FitV" || form == "/FitBV") {
            expected = {value(0, 0), top};
        } else if (form == "/FitR") {
            expected = {value(0, 0), value(3, top)};
        }
        EXPECT_EQ(item->destination()->point(), expected);
    }
}

TEST(PDFCorpus, EveryFileOpensOrIsRefusedAndCombines) {
    const auto names = corpusFiles();
    ASSERT_GE(names.size(), 70u) << "the corpus is missing: " << corpusDir;
    TempDir dir;
    size_t opened = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string path = corpusDir + "/" + name;
        testing::internal::CaptureStderr();
        auto document = PDFDocument::initWithURL(path);
        std::shared_ptr<PDFOutline> outline;
        std::shared_ptr<PDFDocument> combined;
        std::optional<std::string> bytes;
        if (document) {
            outline = document->outlineRoot();
            combined = PDFDocument::init();
            for (uint64_t i = 0; i < document->pageCount(); ++i) {
                EXPECT_TRUE(combined->insertPage(document->pageAtIndex(i), combined->pageCount())) << "page " << i;
            }
            bytes = combined->dataRepresentation();
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "libqpdf's warnings stay quiet";

        if (refused.count(name)) {
            EXPECT_EQ(document, nullptr);
            continue;
        }
        ASSERT_NE(document, nullptr);
        ++opened;
        auto pages = pageCounts.find(name);
        ASSERT_NE(pages, pageCounts.end()) << "a file the test does not know";
        EXPECT_EQ(document->pageCount(), pages->second);
        auto items = outlineCounts.find(name);
        EXPECT_EQ(countItems(outline), items == outlineCounts.end() ? 0u : items->second);
        if (items != outlineCounts.end()) {
            checkTitledDestinations(*document);
        }

        EXPECT_EQ(combined->pageCount(), document->pageCount());
        if (damagedPages.count(name)) {
            EXPECT_FALSE(bytes.has_value());
            EXPECT_NE(combined->lastError().find("damaged: "), std::string::npos) << combined->lastError();
            continue;
        }
        if (!bytes) {
            // Allowed, but it must say why.
            EXPECT_FALSE(combined->lastError().empty());
            ADD_FAILURE() << "write failed: " << combined->lastError();
            continue;
        }
        const std::string out = dir.file("combined-" + name);
        writeBytes(out, *bytes);
        std::string check;
        EXPECT_NE(qpdfCheck(out, &check), 2) << check;
        auto reopened = PDFDocument::initWithURL(out);
        ASSERT_NE(reopened, nullptr);
        EXPECT_EQ(reopened->pageCount(), document->pageCount());
        for (uint64_t i = 0; i < reopened->pageCount(); ++i) {
            EXPECT_EQ(reopened->pageAtIndex(i).boundsForBox(PDFDisplayBox::cropBox),
                      document->pageAtIndex(i).boundsForBox(PDFDisplayBox::cropBox));
            EXPECT_EQ(reopened->pageAtIndex(i).rotation(), document->pageAtIndex(i).rotation());
        }
    }
    EXPECT_EQ(opened + refused.size(), names.size());
}

TEST(PDFCorpus, OutlinesOfTheCorpusCombineWithTheirPages) {
    // The files with outlines, each outline copied onto its pages in one combined document: the
    // layer's own writer and reader agree with what the file had.
    TempDir dir;
    auto combined = PDFDocument::init();
    auto root = PDFOutline::init();
    std::string expected;
    for (const auto& [name, count] : outlineCounts) {
        auto source = PDFDocument::initWithURL(corpusDir + "/" + name);
        ASSERT_NE(source, nullptr) << name;
        const uint64_t offset = combined->pageCount();
        for (uint64_t i = 0; i < source->pageCount(); ++i) {
            ASSERT_TRUE(combined->insertPage(source->pageAtIndex(i), combined->pageCount()));
        }
        // Rebuild the outline against the combined document, as the combine does, iteratively.
        auto named = PDFOutline::init();
        named->setLabel(name);
        named->setDestination(PDFDestination(combined->pageAtIndex(offset), {0, 0}));
        root->insertChild(named, root->numberOfChildren());
        std::vector<std::pair<const PDFOutline*, PDFOutline*>> stack{{source->outlineRoot().get(), named.get()}};
        while (!stack.empty()) {
            auto [from, to] = stack.back();
            stack.pop_back();
            for (size_t i = 0; i < from->numberOfChildren(); ++i) {
                const auto& child = from->childAtIndex(i);
                auto copy = PDFOutline::init();
                if (child->label()) {
                    copy->setLabel(*child->label());
                }
                if (child->destination()) {
                    const uint64_t index = source->indexForPage(child->destination()->page());
                    copy->setDestination(
                        PDFDestination(combined->pageAtIndex(offset + index), child->destination()->point()));
                }
                stack.push_back({child.get(), copy.get()});
                to->insertChild(std::move(copy), to->numberOfChildren());
            }
        }
        std::string dump = dumpOutline(*source);
        // Shift the page numbers of the source's dump by the offset, and indent it one level.
        std::string shifted = name + " -> page " + std::to_string(offset) + " (0 0)\n";
        std::istringstream lines(dump);
        static const std::regex pageNumber(R"(-> page (\d+) )");
        for (std::string line; std::getline(lines, line);) {
            std::smatch m;
            if (std::regex_search(line, m, pageNumber)) {
                line =
                    m.prefix().str() + "-> page " + std::to_string(offset + std::stoull(m[1])) + " " + m.suffix().str();
            }
            shifted += "  " + line + "\n";
        }
        expected += shifted;
        EXPECT_EQ(countItems(source->outlineRoot()), count);
    }
    combined->setOutlineRoot(root);
    auto bytes = combined->dataRepresentation();
    ASSERT_TRUE(bytes) << combined->lastError();
    const std::string out = dir.file("outlines.pdf");
    writeBytes(out, *bytes);
    std::string check;
    EXPECT_EQ(qpdfCheck(out, &check), 0) << check;
    auto reopened = PDFDocument::initWithURL(out);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(dumpOutline(*reopened), expected);
}

}  // namespace
}  // namespace tomefuse::test
