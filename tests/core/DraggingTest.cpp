#include <gtest/gtest.h>

#include <filesystem>

#include "Fakes.h"
#include "support/Fixtures.h"

namespace tomefuse::test {
namespace {

using Names = std::vector<std::string>;

struct DragFixture {
    TempDir dir;
    Harness h{dir.path()};
    std::vector<std::pair<std::string, bool>> changes;

    explicit DragFixture(const Names& names) {
        for (const auto& name : names) {
            h.add(makePdf(dir, name + ".pdf", 1));
        }
        h.controller.addKeyValueObserver(
            [this](const std::string& key, bool prior) { changes.emplace_back(key, prior); });
    }

    FakeDraggingInfo fromTable() {
        FakeDraggingInfo info;
        info.source = &h.table;
        return info;
    }
};

TEST(Dragging, RowMoveInsertsTheSelectedBlockAtTheDropGap) {
    struct Case {
        IndexSet selected;
        int64_t row;
        Names result;
        IndexSet selectedAfter;
    };
    const std::vector<Case> moves = {
        {{1}, 0, {"Q", "P", "R", "S"}, {0}},       {{1}, 1, {"P", "Q", "R", "S"}, {1}},
        {{1}, 2, {"P", "Q", "R", "S"}, {1}},       {{1}, 3, {"P", "R", "Q", "S"}, {2}},
        {{1}, 4, {"P", "R", "S", "Q"}, {3}},       {{0, 2}, 4, {"Q", "S", "P", "R"}, {2, 3}},
        {{3}, 4, {"P", "Q", "R", "S"}, {3}},       {{1, 3}, 1, {"P", "Q", "S", "R"}, {1, 2}},
        {{0, 2}, 0, {"P", "R", "Q", "S"}, {0, 1}}, {{3}, 0, {"S", "P", "Q", "R"}, {0}},
    };
    for (const Case& c : moves) {
        SCOPED_TRACE(testing::Message() << "drop above " << c.row << ", first selected " << *c.selected.begin());
        DragFixture f({"P", "Q", "R", "S"});
        f.h.table.selection = c.selected;
        int reloads = f.h.table.reloads;
        auto info = f.fromTable();
        EXPECT_TRUE(f.h.controller.acceptDrop(info, c.row, NSTableViewDropAbove));
        EXPECT_EQ(f.h.filenames(), c.result);
        ASSERT_EQ(f.h.table.selectCalls.size(), 1u);
        EXPECT_EQ(f.h.table.selectCalls[0], std::make_pair(c.selectedAfter, false));
        EXPECT_EQ(f.h.table.selection, c.selectedAfter);
        EXPECT_EQ(f.h.table.reloads, reloads + 1);
        EXPECT_EQ(f.changes, (std::vector<std::pair<std::string, bool>>{{"pdfsList", true}, {"pdfsList", false}}));
        EXPECT_EQ(info.pasteboard.reads, 0);
    }
}

TEST(Dragging, RowMoveIsNotMisledByEqualEntriesOrByTheDraggedRows) {
    DragFixture f({"P", "Q"});
    f.h.add(f.h.controller.pdfsList()[0].path);  // P2, equal to P
    ASSERT_EQ(f.h.controller.pdfsList()[0], f.h.controller.pdfsList()[2]);
    f.h.table.selection = {1};
    auto info = f.fromTable();
    f.h.controller.acceptDrop(info, 2, NSTableViewDropAbove);
    EXPECT_EQ(f.h.filenames(), (Names{"P", "Q", "P"}));
    EXPECT_EQ(f.h.table.selection, IndexSet{1});

    // The table moves what is selected, whatever the drag began with.
    DragFixture g({"P", "Q", "R"});
    FakePasteboard dragged;
    g.h.controller.writeRowsWithIndexes({0}, dragged);
    g.h.table.selection = {2};
    auto moved = g.fromTable();
    g.h.controller.acceptDrop(moved, 0, NSTableViewDropAbove);
    EXPECT_EQ(g.h.filenames(), (Names{"R", "P", "Q"}));
}

TEST(Dragging, ValidationTellsRowMovesFromFileDrops) {
    DragFixture f({"P"});
    auto own = f.fromTable();
    own.pasteboard.items = {{f.dir.file("P.pdf")}};
    EXPECT_EQ(f.h.controller.validateDrop(own, 0, NSTableViewDropOn), NSDragOperationNone);
    EXPECT_EQ(f.h.controller.validateDrop(own, 1, NSTableViewDropAbove), NSDragOperationMove);
    EXPECT_EQ(own.pasteboard.reads, 0);

    FakeDraggingInfo foreign;  // no source: another process
    foreign.pasteboard.items = {{"/x/readme.txt", true, false}, {f.dir.file("P.pdf")}};
    EXPECT_EQ(f.h.controller.validateDrop(foreign, 0, NSTableViewDropOn), NSDragOperationNone);
    EXPECT_EQ(f.h.controller.validateDrop(foreign, 0, NSTableViewDropAbove), NSDragOperationCopy);

    FakeDraggingInfo noPdf;
    noPdf.source = &f;  // some other object of this process
    noPdf.pasteboard.items = {{"/x/readme.txt", true, false}, {"https://example.org/a.pdf", false, true}};
    EXPECT_EQ(f.h.controller.validateDrop(noPdf, 0, NSTableViewDropAbove), NSDragOperationNone);

    // Without a table outlet a sourceless drag is still a file drop, not a row move.
    f.h.controller.setTableView(nullptr);
    EXPECT_EQ(f.h.controller.validateDrop(foreign, 0, NSTableViewDropAbove), NSDragOperationCopy);
}

TEST(Dragging, FileDropInsertsAtTheDropLineAndSaysWhatItLeftOut) {
    DragFixture f({"P", "Q"});
    std::string good = makePdf(f.dir, "good.pdf", 2);
    std::string damaged = f.dir.file("damaged.pdf");
    writeTextFile(damaged, "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 9 0 R >>\nendobj\ngarbage");
    std::string text = f.dir.file("notes.txt");
    writeTextFile(text, "hello");
    // A folder of PDFs, found by content in natural order, hidden ones and other files left out;
    // and a folder without any.
    std::filesystem::create_directories(f.dir.file("book/sub"));
    std::filesystem::create_directories(f.dir.file("empty"));
    makePdf(f.dir, "book/ch10.pdf", 1);
    makePdf(f.dir, "book/ch2.pdf", 1);
    makePdf(f.dir, "book/sub/ch3", 1);
    makePdf(f.dir, "book/.hidden.pdf", 1);
    writeTextFile(f.dir.file("book/readme.txt"), "words");
    writeTextFile(f.dir.file("empty/readme.txt"), "words");
    f.h.table.selection = {1};
    int reloads = f.h.table.reloads;

    FakeDraggingInfo mixed;
    mixed.pasteboard.items = {{damaged},
                              {text, true, false},
                              {good},
                              {f.dir.file("book"), true, false, true},
                              {f.dir.file("empty"), true, false, true},
                              {f.h.controller.pdfsList()[0].path}};
    EXPECT_EQ(f.h.controller.validateDrop(mixed, 1, NSTableViewDropAbove), NSDragOperationCopy);
    EXPECT_TRUE(f.h.controller.acceptDrop(mixed, 1, NSTableViewDropAbove));
    EXPECT_EQ(f.h.filenames(), (Names{"P", "good", "ch2", "ch10", "ch3", "P", "Q"}));
    EXPECT_EQ(f.h.table.reloads, reloads + 1);
    EXPECT_EQ(f.h.table.selection, IndexSet{6}) << "the selection stays on its entry";
    EXPECT_EQ(f.h.table.scrolledTo, 1);
    EXPECT_EQ(f.h.window.statusMessages,
              Names{"1 folder without PDFs, 2 files that are not PDFs and 1 damaged file were left out"});
    EXPECT_TRUE(f.changes.empty());

    FakeDraggingInfo onlyDamaged;
    onlyDamaged.pasteboard.items = {{damaged}, {damaged}};
    EXPECT_FALSE(f.h.controller.acceptDrop(onlyDamaged, 4, NSTableViewDropAbove));
    EXPECT_EQ(f.h.controller.pdfsList().size(), 7u);
    EXPECT_EQ(f.h.table.reloads, reloads + 2);
    EXPECT_EQ(f.h.window.statusMessages.back(), "2 damaged files were left out");
}

TEST(Dragging, RowPayloadCarriesTheDraggedEntriesAsTheyStand) {
    DragFixture f({"P", "Q", "R"});
    f.h.controller.setObjectValue("Say \"hi\"", "filename", 2);
    FakePasteboard pasteboard;
    EXPECT_TRUE(f.h.controller.writeRowsWithIndexes({2, 0, 7}, pasteboard));
    EXPECT_EQ(pasteboard.declared, Names{"MultiplePDFContent"});
    ASSERT_EQ(pasteboard.data.size(), 1u);
    const auto& list = f.h.controller.pdfsList();
    auto record = [](const std::string& path, const std::string& name) {
        return Pasteboard::Record{
            {"path", path}, {"filename", name}, {"pagecount", uint64_t{1}}, {"outlinecount", uint64_t{0}}};
    };
    EXPECT_EQ(pasteboard.data["MultiplePDFContent"],
              (std::vector<Pasteboard::Record>{record(list[0].path, "P"), record(list[2].path, "Say \"hi\"")}));
}

}  // namespace
}  // namespace tomefuse::test
