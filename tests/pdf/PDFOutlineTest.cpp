#include <gtest/gtest.h>

#include "pdf/LinkDump.h"
#include "toc/TableOfContents.h"

namespace tomefuse::test {
namespace {

std::shared_ptr<PDFOutline> item(std::optional<std::string> label, PDFPage page = {}, PDFPoint point = {}) {
    auto outline = PDFOutline::init();
    if (label) {
        outline->setLabel(*label);
    }
    if (page) {
        outline->setDestination(PDFDestination::initWithPage(std::move(page), point));
    }
    return outline;
}

void append(const std::shared_ptr<PDFOutline>& parent, std::shared_ptr<PDFOutline> child) {
    parent->insertChild(std::move(child), parent->numberOfChildren());
}

std::string objectId(QPDFObjectHandle object) {
    return object.isIndirect() ? object.getObjGen().unparse(' ') : "direct";
}

// Checks every link of a written /Outlines tree against PDF 32000 12.3.3, with all items closed:
// /Parent, /First, /Last, /Prev, /Next agree; an item's /Count is minus its number of children
// (absent without children); the outline dictionary's /Count is the number of top-level items.
// Answers the number of items. Iterative: the tree may be very deep.
size_t checkWrittenOutline(QPDF& pdf) {
    QPDFObjectHandle outlines = pdf.getRoot().getKey("/Outlines");
    EXPECT_TRUE(outlines.isIndirect());
    EXPECT_EQ(outlines.getKey("/Type").unparse(), "/Outlines");
    size_t items = 0;
    std::vector<QPDFObjectHandle> parents{outlines};
    while (!parents.empty()) {
        QPDFObjectHandle parent = parents.back();
        parents.pop_back();
        long long children = 0;
        QPDFObjectHandle previous;
        for (QPDFObjectHandle child = parent.getKey("/First"); !child.isNull(); child = child.getKey("/Next")) {
            ++children;
            ++items;
            EXPECT_EQ(objectId(child.getKey("/Parent")), objectId(parent));
            EXPECT_TRUE(child.getKey("/Title").isString());
            if (previous.isInitialized()) {
                EXPECT_EQ(objectId(child.getKey("/Prev")), objectId(previous));
            } else {
                EXPECT_FALSE(child.hasKey("/Prev"));
            }
            previous = child;
            parents.push_back(child);
        }
        if (children == 0) {
            EXPECT_FALSE(parent.hasKey("/First"));
            EXPECT_FALSE(parent.hasKey("/Last"));
            EXPECT_FALSE(parent.hasKey("/Count"));
        } else {
            EXPECT_EQ(objectId(parent.getKey("/Last")), objectId(previous));
            const bool isRoot = objectId(parent) == objectId(outlines);
            EXPECT_EQ(parent.getKey("/Count").getIntValue(), isRoot ? children : -children);
        }
    }
    return items;
}

// Builds the /Outlines of a file with libqpdf, for the shapes PdfBuilder does not make.
void writeOutlineFixture(const std::string& base, const std::string& path,
                         const std::function<void(QPDF&, QPDFObjectHandle outlines)>& build) {
    rewritePdf(base, path, [&](QPDF& pdf) {
        auto outlines = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Outlines >>"));
        pdf.getRoot().replaceKey("/Outlines", outlines);
        build(pdf, outlines);
    });
}

QPDFObjectHandle newItem(QPDF& pdf, const std::string& title) {
    auto item = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
    item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(title));
    return item;
}

TEST(PDFOutline, WrittenOutlineReadsBack) {
    TempDir dir;
    PdfBuilder()
        .addPage(makePage("A"))
        .addPage(makePage("B", 300, 400))
        .addPage(makePage("C", 500, 500))
        .write(dir.file("pages.pdf"));
    PdfBuilder().addPage().write(dir.file("other.pdf"));
    auto source = PDFDocument::initWithURL(dir.file("pages.pdf"));
    auto other = PDFDocument::initWithURL(dir.file("other.pdf"));
    ASSERT_NE(source, nullptr);
    ASSERT_NE(other, nullptr);
    auto document = PDFDocument::init();
    for (uint64_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(document->insertPage(source->pageAtIndex(i), i));
    }

    auto root = PDFOutline::init();
    root->setLabel("the root's label is never written");
    auto greek = item("Ωμέγα 日本", document->pageAtIndex(0), {72, 700});
    auto chapter = item("Chapter 1 — Ünïcödé", document->pageAtIndex(1), {0, 400});
    append(chapter, item("Section 1.1", document->pageAtIndex(1), {10.5, 200.25}));
    append(greek, chapter);
    append(greek, item("No destination"));
    append(greek, item("", document->pageAtIndex(2), {0, 0}));
    append(root, greek);
    append(root, item(std::nullopt, document->pageAtIndex(2), {5, 6}));
    append(root, item("Other document's page", other->pageAtIndex(0), {1, 1}));
    append(root, item("Plain ASCII", document->pageAtIndex(0), {0, 792}));
    document->setOutlineRoot(root);
    EXPECT_EQ(document->outlineRoot(), root);

    auto bytes = document->dataRepresentation();
    ASSERT_TRUE(bytes) << document->lastError();
    const std::string path = dir.file("out.pdf");
    writeBytes(path, *bytes);
    std::string check;
    EXPECT_EQ(qpdfCheck(path, &check), 0) << check;

    auto reopened = PDFDocument::initWithURL(path);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(dumpOutline(*reopened),
              "Ωμέγα 日本 -> page 0 (72 700)\n"
              "  Chapter 1 — Ünïcödé -> page 1 (0 400)\n"
              "    Section 1.1 -> page 1 (10.50 200.25)\n"
              "  No destination -> none\n"
              "   -> page 2 (0 0)\n"
              " -> page 2 (5 6)\n"
              "Other document's page -> none\n"
              "Plain ASCII -> page 0 (0 792)\n");

    QPDF written;
    written.processFile(path.c_str());
    EXPECT_EQ(checkWrittenOutline(written), 8u);
    QPDFObjectHandle outlines = written.getRoot().getKey("/Outlines");
    EXPECT_EQ(outlines.getKey("/Count").getIntValue(), 4);
    QPDFObjectHandle first = outlines.getKey("/First");
    EXPECT_EQ(first.getKey("/Count").getIntValue(), -3);
    EXPECT_EQ(first.getKey("/Title").getStringValue().substr(0, 2), "\xfe\xff") << "UTF-16BE with its mark";
    EXPECT_EQ(first.getKey("/First").getKey("/Title").getStringValue(),
              "Chapter 1 \x84 \xdc"
              "n\xef"
              "c\xf6"
              "d\xe9")
        << "PDFDocEncoding where it can";
    QPDFObjectHandle firstPage = written.getAllPages()[0];
    EXPECT_EQ(first.getKey("/Dest").unparse(), "[ " + firstPage.unparse() + " /XYZ 72 700 null ]");
    EXPECT_EQ(outlines.getKey("/Last").getKey("/Title").getStringValue(), "Plain ASCII");
    EXPECT_EQ(written.getRoot().getKey("/PageMode").unparse(), "/UseOutlines");
}

TEST(PDFOutline, EmptyOrNullRootWritesNoOutline) {
    TempDir dir;
    PdfBuilder()
        .addPages(2)
        .setOutline({{.title = "One", .page = 0, .left = 0, .top = 0, .dest = "", .children = {}}})
        .write(dir.file("with-outline.pdf"));
    for (const bool null : {true, false}) {
        auto document = PDFDocument::initWithURL(dir.file("with-outline.pdf"));
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(dumpOutline(*document), "One -> page 0 (0 0)\n");
        document->setOutlineRoot(null ? nullptr : PDFOutline::init());
        auto bytes = document->dataRepresentation();
        ASSERT_TRUE(bytes) << document->lastError();
        writeBytes(dir.file("out.pdf"), *bytes);
        EXPECT_EQ(qpdfCheck(dir.file("out.pdf")), 0);
        auto reopened = PDFDocument::initWithURL(dir.file("out.pdf"));
        ASSERT_NE(reopened, nullptr);
        EXPECT_EQ(reopened->outlineRoot(), nullptr);
        EXPECT_EQ(reopened->pageCount(), 2u);
    }
}

struct DestinationCase {
    std::string title;
    std::optional<int> page;
    std::string dest;
    std::string expected;  // the dump line
};

TEST(PDFOutline, DestinationFormsResolve) {
    // Page tops: page 0 at 792, page 1 at 10 + 700, page 2 at 400.
    const std::vector<DestinationCase> cases = {
        {"XYZ", 1, "[PAGE /XYZ 10 20 null]", "XYZ -> page 1 (10 20)"},
        {"XYZ nulls", 1, "[PAGE /XYZ null null null]", "XYZ nulls -> page 1 (0 710)"},
        {"XYZ short", 1, "[PAGE /XYZ 5]", "XYZ short -> page 1 (5 710)"},
        {"XYZ reals", 0, "[PAGE /XYZ 10.5 -20.25 1.5]", "XYZ reals -> page 0 (10.50 -20.25)"},
        {"Fit", 2, "[PAGE /Fit]", "Fit -> page 2 (0 400)"},
        {"FitB", 2, "[PAGE /FitB]", "FitB -> page 2 (0 400)"},
        {"FitH", 0, "[PAGE /FitH 500]", "FitH -> page 0 (0 500)"},
        {"FitH null", 0, "[PAGE /FitH null]", "FitH null -> page 0 (0 792)"},
        {"FitBH", 0, "[PAGE /FitBH 450]", "FitBH -> page 0 (0 450)"},
        {"FitV", 0, "[PAGE /FitV 30]", "FitV -> page 0 (30 792)"},
        {"FitBV", 0, "[PAGE /FitBV 40]", "FitBV -> page 0 (40 792)"},
        {"FitR", 1, "[PAGE /FitR 10 20 300 400]", "FitR -> page 1 (10 400)"},
        {"Page only", 1, "[PAGE]", "Page only -> page 1 (0 710)"},
        {"Integer page", std::nullopt, "[2 /XYZ 15 25 null]", "Integer page -> page 2 (15 25)"},
        {"Integer first page", std::nullopt, "[0 /FitH 100]", "Integer first page -> page 0 (0 100)"},
        {"Integer past the end", std::nullopt, "[3 /Fit]", "Integer past the end -> none"},
        {"Negative integer", std::nullopt, "[-1 /Fit]", "Negative integer -> none"},
        {"Dests name", std::nullopt, "/old", "Dests name -> page 1 (11 22)"},
        {"Dests string", std::nullopt, "(old)", "Dests string -> page 1 (11 22)"},
        {"Dests dictionary", std::nullopt, "/olddict", "Dests dictionary -> page 2 (0 123)"},
        {"Tree string", std::nullopt, "(tree1)", "Tree string -> page 0 (1 2)"},
        {"Tree dictionary", std::nullopt, "(tree2)", "Tree dictionary -> page 1 (7 710)"},
        {"Tree by name object", std::nullopt, "/tree1", "Tree by name object -> page 0 (1 2)"},
        {"Tree in UTF-16", std::nullopt, "<FEFF0074007200650065003300B5>", "Tree in UTF-16 -> page 2 (9 9)"},
        {"GoTo explicit", 2, "<< /S /GoTo /D [PAGE /XYZ 3 4 null] >>", "GoTo explicit -> page 2 (3 4)"},
        {"GoTo name", std::nullopt, "<< /S /GoTo /D /old >>", "GoTo name -> page 1 (11 22)"},
        {"GoTo tree", std::nullopt, "<< /S /GoTo /D (tree2) >>", "GoTo tree -> page 1 (7 710)"},
        {"GoTo integer", std::nullopt, "<< /Type /Action /S /GoTo /D [1 /Fit] >>", "GoTo integer -> page 1 (0 710)"},
        {"URI action", std::nullopt, "<< /S /URI /URI (https://example.org/) >>", "URI action -> none"},
        {"GoToR action", std::nullopt, "<< /S /GoToR /F (other.pdf) /D [0 /Fit] >>", "GoToR action -> none"},
        {"Missing name", std::nullopt, "/nowhere", "Missing name -> none"},
        {"Missing string", std::nullopt, "(nowhere)", "Missing string -> none"},
        {"Name loop", std::nullopt, "/loop", "Name loop -> none"},
        {"Empty array", std::nullopt, "[]", "Empty array -> none"},
        {"Null page", std::nullopt, "[null /Fit]", "Null page -> none"},
        {"Not a page", std::nullopt, "[<< /Type /Page >> /Fit]", "Not a page -> none"},
        {"Number", std::nullopt, "42", "Number -> none"},
    };

    TempDir dir;
    std::vector<OutlineSpec> specs;
    for (const auto& c : cases) {
        specs.push_back({.title = c.title, .page = c.page, .left = 0, .top = 0, .dest = c.dest, .children = {}});
    }
    // Two more: one without /Title, one without any destination.
    specs.push_back({.title = std::nullopt, .page = 0, .left = 8, .top = 9, .dest = "", .children = {}});
    specs.push_back({.title = "No destination", .page = std::nullopt, .left = 0, .top = 0, .dest = "", .children = {}});
    PdfBuilder()
        .addPage(makePage("P0"))
        .addPage(makePage("P1", 400, 700, 0, std::nullopt, 0, 10))
        .addPage(makePage("P2", 300, 400))
        .addNamedDestination("old", 1, 11, 22)
        .setOutline(specs)
        .write(dir.file("base.pdf"));
    // What PdfBuilder does not make: a /Dests value that is a dictionary with /D, a loop of names,
    // and a /Names /Dests name tree with two leaves.
    rewritePdf(dir.file("base.pdf"), dir.file("dests.pdf"), [](QPDF& pdf) {
        const auto& pages = pdf.getAllPages();
        auto dests = pdf.getRoot().getKey("/Dests");
        dests.replaceKey("/olddict",
                         QPDFObjectHandle::newDictionary(
                             {{"/D", QPDFObjectHandle::newArray({pages[2], QPDFObjectHandle::newName("/FitH"),
                                                                 QPDFObjectHandle::newInteger(123)})}}));
        dests.replaceKey("/loop", QPDFObjectHandle::parse("<< /D /loop >>"));
        auto leaf1 = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        leaf1.replaceKey("/Limits", QPDFObjectHandle::parse("[(tree1) (tree1)]"));
        leaf1.replaceKey("/Names", QPDFObjectHandle::newArray({QPDFObjectHandle::newString("tree1"),
                                                               QPDFObjectHandle::parse("[null /XYZ 1 2 null]")}));
        leaf1.getKey("/Names").getArrayItem(1).setArrayItem(0, pages[0]);
        auto leaf2 = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        leaf2.replaceKey("/Limits", QPDFObjectHandle::parse("[(tree2) <FEFF0074007200650065003300B5>]"));
        auto dict = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /D [null /FitV 7] >>"));
        dict.getKey("/D").setArrayItem(0, pages[1]);
        leaf2.replaceKey(
            "/Names",
            QPDFObjectHandle::newArray(
                {QPDFObjectHandle::newString("tree2"), dict, QPDFObjectHandle::parse("<FEFF0074007200650065003300B5>"),
                 QPDFObjectHandle::newArray({pages[2], QPDFObjectHandle::newName("/XYZ"),
                                             QPDFObjectHandle::newInteger(9), QPDFObjectHandle::newInteger(9)})}));
        auto tree = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        tree.replaceKey("/Kids", QPDFObjectHandle::newArray({leaf1, leaf2}));
        pdf.getRoot().replaceKey("/Names", QPDFObjectHandle::newDictionary({{"/Dests", tree}}));
    });

    auto document = PDFDocument::initWithURL(dir.file("dests.pdf"));
    ASSERT_NE(document, nullptr);
    std::string expected;
    for (const auto& c : cases) {
        expected += c.expected + "\n";
    }
    expected += "<none> -> page 0 (8 9)\n";
    expected += "No destination -> none\n";
    EXPECT_EQ(dumpOutline(*document), expected);
    EXPECT_EQ(document->outlineRoot(), document->outlineRoot()) << "read once";
}

TEST(PDFOutline, LoopsAndOddItemsAreCut) {
    TempDir dir;
    PdfBuilder().addPages(2).write(dir.file("base.pdf"));
    writeOutlineFixture(dir.file("base.pdf"), dir.file("loops.pdf"), [](QPDF& pdf, QPDFObjectHandle outlines) {
        auto a = newItem(pdf, "A");
        auto a1 = newItem(pdf, "A1");
        auto b = newItem(pdf, "B");
        auto c = newItem(pdf, "C");
        auto d = newItem(pdf, "D");
        auto e = newItem(pdf, "E");
        outlines.replaceKey("/First", a);
        a.replaceKey("/Next", b);
        b.replaceKey("/Next", c);
        c.replaceKey("/Next", d);
        d.replaceKey("/Next", a);  // back to the first item
        a.replaceKey("/First", a1);
        a1.replaceKey("/Next", a1);                               // to itself
        a1.replaceKey("/First", a);                               // to its parent
        b.replaceKey("/First", outlines);                         // to the root
        c.replaceKey("/First", QPDFObjectHandle::newInteger(7));  // not a dictionary
        d.replaceKey("/First", e);
        e.replaceKey("/Next", QPDFObjectHandle::parse("[1 2]"));  // not a dictionary
        e.replaceKey("/First", pdf.makeIndirectObject(QPDFObjectHandle::newNull()));
        a.replaceKey("/Dest", QPDFObjectHandle::newArray({pdf.getAllPages()[1], QPDFObjectHandle::newName("/Fit")}));
    });
    auto document = PDFDocument::initWithURL(dir.file("loops.pdf"));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(dumpOutline(*document),
              "A -> page 1 (0 792)\n"
              "  A1 -> none\n"
              "B -> none\n"
              "C -> none\n"
              "D -> none\n"
              "  E -> none\n");

    // Writing what was read gives a clean tree.
    document->setOutlineRoot(document->outlineRoot());
    auto bytes = document->dataRepresentation();
    ASSERT_TRUE(bytes) << document->lastError();
    writeBytes(dir.file("out.pdf"), *bytes);
    EXPECT_EQ(qpdfCheck(dir.file("out.pdf")), 0);
    QPDF written;
    written.processFile(dir.file("out.pdf").c_str());
    EXPECT_EQ(checkWrittenOutline(written), 6u);

    // An outline tree in memory that lists an item twice is written with the item once.
    auto root = PDFOutline::init();
    auto shared = item("Shared", document->pageAtIndex(0));
    append(root, shared);
    append(root, shared);
    append(shared, item("Child"));
    append(shared, nullptr);
    document->setOutlineRoot(root);
    bytes = document->dataRepresentation();
    ASSERT_TRUE(bytes) << document->lastError();
    writeBytes(dir.file("out2.pdf"), *bytes);
    EXPECT_EQ(qpdfCheck(dir.file("out2.pdf")), 0);
    auto reopened = PDFDocument::initWithURL(dir.file("out2.pdf"));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(dumpOutline(*reopened), "Shared -> page 0 (0 0)\n  Child -> none\n");
}

constexpr int deepLevels = 100000;

TEST(PDFOutline, DeepOutlineFromAFileReads) {
    TempDir dir;
    PdfBuilder().addPages(1).write(dir.file("base.pdf"));
    writeOutlineFixture(dir.file("base.pdf"), dir.file("deep.pdf"), [](QPDF& pdf, QPDFObjectHandle outlines) {
        QPDFObjectHandle parent = outlines;
        QPDFObjectHandle page = pdf.getAllPages()[0];
        for (int level = 0; level < deepLevels; ++level) {
            auto child = newItem(pdf, "Level " + std::to_string(level));
            child.replaceKey("/Parent", parent);
            child.replaceKey("/Dest", QPDFObjectHandle::newArray({page, QPDFObjectHandle::newName("/FitH"),
                                                                  QPDFObjectHandle::newInteger(level % 792)}));
            parent.replaceKey("/First", child);
            parent.replaceKey("/Last", child);
            parent = child;
        }
        parent.replaceKey("/First", outlines.getKey("/First"));  // and the deepest item loops to the top
    });
    auto document = PDFDocument::initWithURL(dir.file("deep.pdf"));
    ASSERT_NE(document, nullptr);
    auto root = document->outlineRoot();
    ASSERT_NE(root, nullptr);
    int depth = 0;
    const PDFOutline* at = root.get();
    while (at->numberOfChildren() == 1) {
        at = at->childAtIndex(0).get();
        ASSERT_EQ(at->label(), "Level " + std::to_string(depth));
        ASSERT_TRUE(at->destination());
        ASSERT_EQ(at->destination()->point(), (PDFPoint{0, static_cast<double>(depth % 792)}));
        ++depth;
    }
    EXPECT_EQ(depth, deepLevels);
    EXPECT_EQ(at->numberOfChildren(), 0u);
}

TEST(PDFOutline, DeepOutlineWritesAndReadsBack) {
    TempDir dir;
    PdfBuilder().addPages(2).write(dir.file("base.pdf"));
    auto source = PDFDocument::initWithURL(dir.file("base.pdf"));
    ASSERT_NE(source, nullptr);
    auto document = PDFDocument::init();
    ASSERT_TRUE(document->insertPage(source->pageAtIndex(0), 0));
    ASSERT_TRUE(document->insertPage(source->pageAtIndex(1), 1));
    source.reset();

    auto root = PDFOutline::init();
    PDFOutline* parent = root.get();
    for (int level = 0; level < deepLevels; ++level) {
        auto child = item("Level " + std::to_string(level), document->pageAtIndex(level % 2),
                          {static_cast<double>(level % 100), 5});
        PDFOutline* next = child.get();
        parent->insertChild(std::move(child), 0);
        parent = next;
    }
    append(root, item("Last top-level item", document->pageAtIndex(1)));
    document->setOutlineRoot(root);
    root.reset();

    auto bytes = document->dataRepresentation();
    ASSERT_TRUE(bytes) << document->lastError();
    const std::string path = dir.file("deep-out.pdf");
    writeBytes(path, *bytes);
    std::string check;
    EXPECT_EQ(qpdfCheck(path, &check), 0) << check;
    // (The links and counts are checked on the shallow outlines; the read-back below follows every
    // level here.)

    auto reopened = PDFDocument::initWithURL(path);
    ASSERT_NE(reopened, nullptr);
    auto read = reopened->outlineRoot();
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->numberOfChildren(), 2u);
    EXPECT_EQ(read->childAtIndex(1)->label(), "Last top-level item");
    EXPECT_EQ(reopened->indexForPage(read->childAtIndex(1)->destination()->page()), 1u);
    int depth = 0;
    const PDFOutline* at = read.get();
    while (at->numberOfChildren() > 0) {
        at = at->childAtIndex(0).get();
        ASSERT_EQ(at->label(), "Level " + std::to_string(depth));
        ASSERT_TRUE(at->destination());
        ASSERT_EQ(reopened->indexForPage(at->destination()->page()), static_cast<uint64_t>(depth % 2));
        ASSERT_EQ(at->destination()->point(), (PDFPoint{static_cast<double>(depth % 100), 5}));
        ++depth;
    }
    EXPECT_EQ(depth, deepLevels);
}

TEST(PDFOutline, ItemsHoldChildrenInOrderAndReleaseDeepTrees) {
    auto root = PDFOutline::init();
    EXPECT_FALSE(root->label());
    EXPECT_FALSE(root->destination());
    root->insertChild(item("b"), 0);
    root->insertChild(item("a"), 0);
    root->insertChild(item("c"), 2);
    EXPECT_THROW(root->insertChild(item("d"), 4), std::out_of_range);
    ASSERT_EQ(root->numberOfChildren(), 3u);
    EXPECT_EQ(root->childAtIndex(0)->label(), "a");
    EXPECT_EQ(root->childAtIndex(1)->label(), "b");
    EXPECT_EQ(root->childAtIndex(2)->label(), "c");
    EXPECT_THROW(root->childAtIndex(3), std::out_of_range);

    // A million levels: dropping the root must not recurse.
    auto deep = PDFOutline::init();
    PDFOutline* at = deep.get();
    for (int i = 0; i < 1000000; ++i) {
        auto child = PDFOutline::init();
        PDFOutline* next = child.get();
        at->insertChild(std::move(child), 0);
        at = next;
    }
    // A subtree still held elsewhere survives its parent.
    std::shared_ptr<PDFOutline> kept = deep->childAtIndex(0)->childAtIndex(0);
    deep.reset();
    EXPECT_EQ(kept->numberOfChildren(), 1u);
    kept.reset();
}

}  // namespace
}  // namespace tomefuse::test

namespace tomefuse::test {
namespace {

// The lines a list of bookmarks shows find their pages from the page tree's counts; a tree whose
// counts do not tell pages from nodes is listed instead. Either way each item finds its page.
TEST(PDFOutline, BookmarkLinesFindTheirPagesInAnyPageTree) {
    using Tree = std::function<QPDFObjectHandle(QPDF&, const std::vector<QPDFObjectHandle>&)>;
    auto node = [](QPDF& pdf, long long count, std::vector<QPDFObjectHandle> kids) {
        auto made = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Pages >>"));
        made.replaceKey("/Count", QPDFObjectHandle::newInteger(count));
        made.replaceKey("/Kids", QPDFObjectHandle::newArray(kids));
        return made;
    };
    const std::vector<std::pair<std::string, Tree>> trees = {
        {"two levels",
         [&](QPDF& pdf, auto& p) {
             return node(pdf, 6, {node(pdf, 3, {p[0], p[1], p[2]}), node(pdf, 3, {p[3], p[4], p[5]})});
         }},
        {"pages beside a node",
         [&](QPDF& pdf, auto& p) {
             return node(pdf, 6, {p[0], node(pdf, 4, {p[1], p[2], p[3], p[4]}), p[5]});
         }},
        {"a node of one page among pages",
         [&](QPDF& pdf, auto& p) {
             return node(pdf, 6, {node(pdf, 3, {p[0], node(pdf, 1, {p[1]}), p[2]}), p[3], p[4], p[5]});
         }},
        {"a count that lies",
         [&](QPDF& pdf, auto& p) {
             return node(pdf, 9, {p[0], p[1], p[2], p[3], p[4], p[5]});
         }},
    };
    TempDir dir;
    PdfBuilder().addPages(6).write(dir.file("base.pdf"));
    for (const auto& [name, tree] : trees) {
        const std::string path = dir.file(name + ".pdf");
        writeOutlineFixture(dir.file("base.pdf"), path, [&](QPDF& pdf, QPDFObjectHandle outlines) {
            const std::vector<QPDFObjectHandle> pages = pdf.getAllPages();
            pdf.getRoot().replaceKey("/Pages", tree(pdf, pages));
            // Items for pages 5 to 0, the second below the first, then one leading nowhere.
            QPDFObjectHandle previous;
            for (int i = 5; i >= 0; --i) {
                auto item = newItem(pdf, "p" + std::to_string(i));
                item.replaceKey("/Dest", QPDFObjectHandle::newArray(
                                             {pages[static_cast<size_t>(i)], QPDFObjectHandle::newName("/Fit")}));
                if (i == 5) {
                    outlines.replaceKey("/First", item);
                } else if (i == 4) {
                    previous.replaceKey("/First", item);
                } else {
                    previous.replaceKey("/Next", item);
                }
                previous = item;
            }
            previous.replaceKey("/Next", newItem(pdf, "nowhere"));
        });
        PDFOpenFailure failure = PDFOpenFailure::damaged;
        std::string lines;
        for (const PDFBookmarkLine& line : PDFDocument::bookmarksOfFile(path, "", &failure, 100)) {
            lines += std::to_string(line.level) + " " + line.title + " " +
                     (line.page == NSNotFound ? "-" : std::to_string(line.page)) + "\n";
        }
        EXPECT_EQ(failure, PDFOpenFailure::none) << name;
        EXPECT_EQ(lines, "0 p5 5\n1 p4 4\n1 p3 3\n1 p2 2\n1 p1 1\n1 p0 0\n1 nowhere -\n") << name;
    }
    PDFOpenFailure failure = PDFOpenFailure::none;
    EXPECT_TRUE(PDFDocument::bookmarksOfFile(dir.file("missing.pdf"), "", &failure, 100).empty());
    EXPECT_EQ(failure, PDFOpenFailure::missing);
}

}  // namespace
}  // namespace tomefuse::test
