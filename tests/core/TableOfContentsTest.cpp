#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "support/Fixtures.h"
#include "toc/TableOfContents.h"

namespace tomefuse::test {
namespace {

std::string describe(const PDFOutline& item) {
    std::string text = item.label().value_or("?");
    if (item.numberOfChildren() > 0) {
        text += "(";
        for (size_t i = 0; i < item.numberOfChildren(); ++i) {
            text += (i ? "," : "") + describe(*item.childAtIndex(i));
        }
        text += ")";
    }
    return text;
}

std::string describe(const LevelBuckets& buckets) {
    std::string text;
    for (size_t k = 0; k < buckets.size(); ++k) {
        text += (k ? " " : "") + std::to_string(k) + "[";
        for (size_t i = 0; i < buckets[k].size(); ++i) {
            text += (i ? " " : "") + describe(*buckets[k][i]);
        }
        text += "]";
    }
    return text;
}

std::vector<TocEntry> entries(std::initializer_list<std::pair<const char*, uint64_t>> items) {
    std::vector<TocEntry> list;
    for (const auto& [text, level] : items) {
        list.push_back(TocEntry{level, 0, {}, text});
    }
    return list;
}

TEST(Flattening, WalksDepthFirstWithLevelsPagesAndPoints) {
    TempDir dir;
    std::string path = makePdf(
        dir, "tree.pdf", 5,
        {item("A", 0, 10, 20, {item("A1", 1, 30, 40, {item("A1a", 2, 50, 60)}), item("", 3)}), item("B", 4, 0, 792)});
    std::string rootTitle = "Root label";
    touchOutlineRoot(path, &rootTitle);
    auto document = PDFDocument::initWithURL(path);
    ASSERT_TRUE(document);
    std::vector<TocEntry> expected = {
        {1, 0, {10, 20}, "A"}, {2, 1, {30, 40}, "A1"}, {3, 2, {50, 60}, "A1a"},
        {2, 3, {72, 700}, ""}, {1, 4, {0, 792}, "B"},
    };
    EXPECT_EQ(arrayFromOutline(*document), expected);
}

TEST(Flattening, ItemsWithoutLabelOrPageAndDocumentsWithoutOutline) {
    TempDir dir;
    OutlineSpec untitled = item("x", 0);
    untitled.title.reset();
    OutlineSpec nowhere;
    nowhere.title = "nowhere";
    std::string path = makePdf(dir, "odd.pdf", 2, {untitled, nowhere});
    auto document = PDFDocument::initWithURL(path);
    ASSERT_TRUE(document);
    EXPECT_EQ(arrayFromOutline(*document),
              (std::vector<TocEntry>{{1, 0, {72, 700}, ""}, {1, NSNotFound, {0, 0}, "nowhere"}}));

    std::string plain = makePdf(dir, "plain.pdf", 1);
    std::string emptyRoot = makePdf(dir, "empty.pdf", 1);
    touchOutlineRoot(emptyRoot);
    for (const auto& file : {plain, emptyRoot}) {
        auto opened = PDFDocument::initWithURL(file);
        ASSERT_TRUE(opened);
        EXPECT_TRUE(arrayFromOutline(*opened).empty()) << file;
    }
    EXPECT_TRUE(arrayFromOutline(PDFDocument()).empty());
}

TEST(Flattening, DeepAndLoopingOutlinesAreWalkedToTheEnd) {
    PDFDocument document;
    const size_t depth = 100'000;
    auto top = PDFOutline::init();
    top->setLabel("0");
    auto current = top;
    for (size_t i = 1; i < depth; ++i) {
        auto child = PDFOutline::init();
        current->insertChild(child, 0);
        current = child;
    }
    std::vector<TocEntry> deep;
    addOutlineChildren(document, top, deep, 1);
    ASSERT_EQ(deep.size(), depth);
    EXPECT_EQ(deep.front().level, 1u);
    EXPECT_EQ(deep.back().level, depth);

    // A cycle of shared items cannot be freed by reference counting: keep the leak checker out.
    std::shared_ptr<PDFOutline> root, a, b;
    {
#if defined(__SANITIZE_ADDRESS__)
        __lsan::ScopedDisabler leaking;
#endif
        root = PDFOutline::init();
        a = PDFOutline::init();
        b = PDFOutline::init();
        a->setLabel("A");
        b->setLabel("B");
        root->insertChild(a, 0);
        a->insertChild(b, 0);
        b->insertChild(a, 0);
        b->insertChild(root, 1);
        b->insertChild(b, 2);
    }
    std::vector<TocEntry> looped;
    addOutlineChildren(document, a, looped, 1);
    EXPECT_EQ(looped,
              (std::vector<TocEntry>{{1, NSNotFound, {}, "A"}, {2, NSNotFound, {}, "B"}, {3, NSNotFound, {}, ""}}))
        << "the root, reached from b, is an item of its own here";
    document.setOutlineRoot(root);
    EXPECT_EQ(arrayFromOutline(document), (std::vector<TocEntry>{{1, NSNotFound, {}, "A"}, {2, NSNotFound, {}, "B"}}));
}

TEST(Rebuilding, BucketsAndTreesFollowTheLevels) {
    PDFDocument document;
    struct Case {
        std::vector<TocEntry> list;
        std::string buckets;
    };
    const Case cases[] = {
        {{}, "0[] 1[] 2[] 3[] 4[]"},
        {entries({{"A", 1}}), "0[] 1[A] 2[] 3[] 4[]"},
        {entries({{"A", 1}, {"A1", 2}, {"A1a", 3}}), "0[] 1[A(A1(A1a))] 2[] 3[] 4[]"},
        {entries({{"A", 1}, {"A1", 2}, {"A1a", 3}, {"x", 4}}), "0[] 1[A(A1(A1a(x)))] 2[] 3[] 4[] 5[]"},
        {entries({{"X", 7}}), "0[] 1[] 2[] 3[] 4[] 5[] 6[] 7[X] 8[]"},
        {entries({{"A", 1}, {"A1", 2}, {"A2", 2}, {"B", 1}}), "0[] 1[A(A1,A2) B] 2[] 3[] 4[]"},
        {entries({{"A", 1}, {"A1", 2}, {"A1a", 3}, {"A2", 2}, {"B", 1}}), "0[] 1[A(A1(A1a),A2) B] 2[] 3[] 4[]"},
        {entries({{"X", 2}, {"A", 1}}), "0[] 1[A] 2[X] 3[] 4[]"},
        {entries({{"A", 1}, {"B", 3}}), "0[] 1[A] 2[] 3[B] 4[]"},
        {entries({{"A", 1}, {"A1", 2}, {"B", 1}, {"D", 3}}), "0[] 1[A(A1(D)) B] 2[] 3[] 4[]"},
        {entries({{"Z", 0}, {"A", 1}, {"B", 1}}), "0[Z(A,B)] 1[] 2[] 3[] 4[]"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(describe(outlineArrayFromArray(document, &c.list, 0)), c.buckets);
    }
    EXPECT_EQ(describe(outlineArrayFromArray(document, nullptr, 0)), "0[] 1[] 2[] 3[] 4[]");
    auto zab = entries({{"Z", 0}, {"A", 1}, {"B", 1}});
    EXPECT_EQ(describe(*outlineFromArray(document, &zab, "file", 0)), "file");
    auto tree = entries({{"A", 1}, {"A1", 2}, {"B", 1}});
    EXPECT_EQ(describe(*outlineFromArray(document, &tree, "file", 0)), "file(A(A1),B)");

    // Siblings by the thousand: the backwards walk must not slow down with their number.
    std::vector<TocEntry> wide(200'000, TocEntry{2, 0, {}, "s"});
    wide.insert(wide.begin(), TocEntry{1, 0, {}, "top"});
    auto buckets = outlineArrayFromArray(document, &wide, 0);
    ASSERT_EQ(buckets[1].size(), 1u);
    EXPECT_EQ(buckets[1][0]->numberOfChildren(), 200'000u);
}

TEST(Rebuilding, DestinationsMoveByTheOffsetOrFallBackToTheFilesFirstPage) {
    TempDir dir;
    PdfBuilder builder;
    builder.addPage({612, 792, 0, 0, 0, {}, "plain"});
    builder.addPage({600, 800, 10, 20, 0, {}, "shifted"});
    builder.addPages(11);
    builder.write(dir.file("thirteen.pdf"));
    auto document = PDFDocument::initWithURL(dir.file("thirteen.pdf"));
    ASSERT_TRUE(document);
    ASSERT_EQ(document->pageCount(), 13u);

    // The top left corner: a reader zoomed in does not scroll sideways.
    EXPECT_EQ(pageTopPoint(document->pageAtIndex(0)), (PDFPoint{0, 792}));
    EXPECT_EQ(pageTopPoint(document->pageAtIndex(1)), (PDFPoint{10, 820}));
    EXPECT_EQ(pageTopPoint(PDFPage()), (PDFPoint{0, 0}));

    std::vector<TocEntry> list = {
        {1, 2, {50, 60}, "inside"}, {1, 3, {50, 60}, "past the end"}, {1, NSNotFound, {}, "no page"}};
    auto buckets = outlineArrayFromArray(*document, &list, 10);
    ASSERT_EQ(buckets[1].size(), 3u);
    const auto& inside = buckets[1][0]->destination();
    ASSERT_TRUE(inside);
    EXPECT_EQ(document->indexForPage(inside->page()), 12u);
    EXPECT_EQ(inside->point(), (PDFPoint{50, 60}));
    for (size_t i : {1u, 2u}) {
        const auto& fallback = buckets[1][i]->destination();
        ASSERT_TRUE(fallback);
        EXPECT_EQ(document->indexForPage(fallback->page()), 10u);
        EXPECT_EQ(fallback->point(), (PDFPoint{0, 792}));
    }

    auto named = outlineFromArray(*document, &list, "file", 1);
    EXPECT_EQ(named->label(), "file");
    ASSERT_TRUE(named->destination());
    EXPECT_EQ(document->indexForPage(named->destination()->page()), 1u);
    EXPECT_EQ(named->destination()->point(), (PDFPoint{10, 820}));

    // A file that gave no pages, at the end so far: its item leads nowhere.
    auto nowhere = outlineFromArray(*document, nullptr, "gone", 13);
    ASSERT_TRUE(nowhere->destination());
    EXPECT_FALSE(nowhere->destination()->page());
    EXPECT_EQ(nowhere->destination()->point(), (PDFPoint{0, 0}));
    EXPECT_EQ(nowhere->numberOfChildren(), 0u);
}

}  // namespace
}  // namespace tomefuse::test
