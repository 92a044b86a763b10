#include <gtest/gtest.h>

#include "Fakes.h"
#include "support/Fixtures.h"
#include "support/PdfDump.h"

namespace tomefuse::test {
namespace {

using Pages = std::vector<uint64_t>;

// What a text takes from a file of ten pages, as it is written back, or the refusal.
TEST(PageSelection, TakesRangesInOrderOrSaysWhichPartIsWrong) {
    const struct {
        const char* text;
        Pages pages;  // 0-based
        const char* written;
        const char* error;
    } cases[] = {
        {"", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "all", ""},
        {" ALL ", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "all", ""},
        {"1-3, 7, 9-z", {0, 1, 2, 6, 8, 9}, "1-3, 7, 9-z", ""},
        {"4-2", {3, 2, 1}, "4-2", ""},
        {"z-8;2,2", {9, 8, 7, 1, 1}, "z-8, 2, 2", ""},
        {"10", {9}, "10", ""},
        {"11", {}, "", "“11”: the file has 10 pages"},
        {"0-3", {}, "", "“0-3”: pages count from 1"},
        {"1,,2", {}, "", "a page or range is missing between two commas"},
        {"1-", {}, "", "“1-” is not a page or a range of pages"},
        {"two", {}, "", "“two” is not a page or a range of pages"},
        {"1-3-5", {}, "", "“1-3-5” is not a page or a range of pages"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const PageSelection::Parsed parsed = PageSelection::parse(c.text, 10);
        if (*c.error) {
            EXPECT_FALSE(parsed.selection);
            EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
            continue;
        }
        ASSERT_TRUE(parsed.selection) << parsed.error;
        EXPECT_EQ(parsed.selection->pages(10), c.pages);
        EXPECT_EQ(parsed.selection->count(10), c.pages.size());
        EXPECT_EQ(parsed.selection->text(), c.written);
        // Pages chosen by thumbnail, in any order, come to the same pages.
        EXPECT_EQ(PageSelection::ofPages(c.pages).pages(10), c.pages);
    }
    // z stays the last page of a file that grew; a file that shrank below the pages chosen has
    // none to give.
    const PageSelection tail = *PageSelection::parse("9-z", 10).selection;
    EXPECT_EQ(tail.pages(12), (Pages{8, 9, 10, 11}));
    EXPECT_FALSE(tail.pages(5));
    EXPECT_EQ(tail.count(5), 0u);
}

// Pages chosen by thumbnail, taken alone or left out, from a file of five pages: what stays is
// written as the Pages cell would write it, "all" when every page is, none when nothing is.
TEST(PageSelection, TakesOnlyOrLeavesOutThePagesChosen) {
    const struct {
        const char* before;
        Pages chosen;
        const char* only;
        const char* without;
    } cases[] = {
        {"all", {3, 1, 3}, "2, 4", "1, 3, 5"},  // out of order, twice
        {"all", {4, 3, 2, 1, 0}, "all", ""},    // every page
        {"all", {7, 9}, "", "all"},             // none the file has
        {"4-2, 2", {1}, "2", "4, 3"},           // a page taken twice goes twice
        {"5-1", {0, 4}, "1, 5", "4, 3, 2"},     // what stays keeps its order
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        const auto only = PageSelection::only(c.chosen, 5);
        EXPECT_EQ(only ? only->text() : "", c.only);
        const auto without = PageSelection::parse(c.before, 5).selection->without(c.chosen, 5);
        EXPECT_EQ(without ? without->text() : "", c.without);
    }
}

// The bookmarks of a file of which only some pages are taken, as the combined file has them: an
// item whose page is left out stays only to lead to the first page kept below it.
TEST(PageSelection, BookmarksFollowThePagesKept) {
    TempDir dir;
    const std::string path =
        makePdf(dir, "Book.pdf", 6,
                {item("Part I", 0, 72, 700, {item("One", 1), item("Two", 2, 72, 700, {item("Two.a", 3)})}),
                 item("Part II", 4, 72, 700, {item("Three", 5)})},
                "B");
    const struct {
        const char* pages;
        const char* outline;
    } cases[] = {
        {"all",
         "Part I -> page 0 (72, 700)\n  One -> page 1 (72, 700)\n  Two -> page 2 (72, 700)\n"
         "    Two.a -> page 3 (72, 700)\nPart II -> page 4 (72, 700)\n  Three -> page 5 (72, 700)\n"},
        // Part I's page is left out: it shows One's page whole, the first kept below it.
        {"2-6",
         "Part I -> page 0 /Fit\n  One -> page 0 (72, 700)\n  Two -> page 1 (72, 700)\n"
         "    Two.a -> page 2 (72, 700)\nPart II -> page 3 (72, 700)\n  Three -> page 4 (72, 700)\n"},
        // Two and all below it left out: gone; backwards and repeated pages lead to their first place.
        {"6,5,2,1,2",
         "Part I -> page 3 (72, 700)\n  One -> page 2 (72, 700)\nPart II -> page 1 (72, 700)\n"
         "  Three -> page 0 (72, 700)\n"},
        // Nothing of Part I kept: it goes; Part II stays with Three.
        {"5-6", "Part II -> page 0 (72, 700)\n  Three -> page 1 (72, 700)\n"},
        // Part II's own page gone, its only child kept.
        {"1,6", "Part I -> page 0 (72, 700)\nPart II -> page 1 /Fit\n  Three -> page 1 (72, 700)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pages);
        TempDir out;
        Harness h(out.path());
        h.defaults.setBool(shouldInsertTOCForFilenamesKey, false);
        h.add(path);
        h.add(makePdf(out, "z.pdf", 1));
        h.controller.choosePages(0, c.pages);
        h.controller.writeCombinedPDF(out.file("combined.pdf"));
        ASSERT_EQ(h.controller.lastCombineOutcome()->status, CombineOutcome::Status::written);
        EXPECT_EQ(dumpOutline(out.file("combined.pdf")), c.outline);
    }
}

}  // namespace
}  // namespace tomefuse::test
