#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "Fakes.h"
#include "support/Fixtures.h"

namespace tomefuse::test {
namespace {

using Names = std::vector<std::string>;
using Delegate = TomefuseAppDelegate;

// One step of a session: the rows selected first (none: left as they are), a command, and what
// it leaves: the list, the selection, whether observers heard of a change of "pdfsList", and
// what Undo and Redo would do.
struct Step {
    IndexSet select;
    std::function<void(Delegate&)> command;
    Names list;
    IndexSet selected;
    bool announced;
    std::string undoName;
    std::string redoName = "";
};

TEST(Arranging, EveryEditIsUndoneAndRedoneWithItsSelection) {
    TempDir dir;
    Harness h(dir.path());
    // Pages: a 4, b 2, c 5, d 1, e 7, f 6, g 3.
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g"}) {
        h.add(makePdf(dir, std::string(name) + ".pdf", static_cast<int>(std::string("dbgacfe").find(name[0])) + 1));
    }
    const auto now = std::filesystem::file_time_type::clock::now();
    for (auto [name, hours] : {std::pair{"d", 3}, {"e", 2}, {"c", 1}}) {
        std::filesystem::last_write_time(dir.file(std::string(name) + ".pdf"), now - std::chrono::hours(hours));
    }
    std::vector<bool> changes;
    h.controller.addKeyValueObserver([&](const std::string& key, bool prior) {
        EXPECT_EQ(key, "pdfsList");
        changes.push_back(prior);
    });
    auto run = [](Delegate::Action action) { return [action](Delegate& d) { (d.*action)(nullptr); }; };
    auto clickHeader = [](const char* column) { return [column](Delegate& d) { d.didClickTableColumn(column); }; };
    auto undo = run(&Delegate::undo);
    auto redo = run(&Delegate::redo);
    const Names all = {"a", "b", "c", "d", "e", "f", "g"};

    const Step steps[] = {
        // Remove selects the row after the removed block, never rows nobody chose.
        {{0, 1, 5, 6}, run(&Delegate::removeFromTable), {"c", "d", "e"}, {0}, false, "Remove 4 Files"},
        {{}, undo, all, {0, 1, 5, 6}, true, "Add File", "Remove 4 Files"},
        {{}, redo, {"c", "d", "e"}, {0}, true, "Remove 4 Files"},
        {{2}, run(&Delegate::moveUp), {"c", "e", "d"}, {1}, true, "Move File"},
        {{}, run(&Delegate::moveToTop), {"e", "c", "d"}, {0}, true, "Move File"},
        {{0, 2}, run(&Delegate::moveDown), {"c", "e", "d"}, {1, 2}, true, "Move 2 Files"},
        {{0}, run(&Delegate::moveToBottom), {"e", "d", "c"}, {2}, true, "Move File"},
        {{}, run(&Delegate::sortByName), {"c", "d", "e"}, {0}, true, "Sort by Name"},
        {{}, run(&Delegate::reverseOrder), {"e", "d", "c"}, {2}, true, "Reverse Order"},
        // A second click on a header, the list being in its order already, sorts the other way.
        {{}, clickHeader("pagecount"), {"d", "c", "e"}, {1}, true, "Sort by Pages"},
        {{}, clickHeader("pagecount"), {"e", "c", "d"}, {1}, true, "Sort by Pages"},
        {{}, run(&Delegate::sortByDateModified), {"d", "e", "c"}, {2}, true, "Sort by Date Modified"},
        {{}, [](Delegate& d) { d.setObjectValue("Zed", "filename", 0); }, {"Zed", "e", "c"}, {2}, false, "Rename File"},
        // What changes nothing leaves nothing to undo.
        {{}, run(&Delegate::sortByDateModified), {"Zed", "e", "c"}, {2}, true, "Rename File"},
        {{}, undo, {"d", "e", "c"}, {2}, true, "Sort by Date Modified", "Rename File"},
        {{}, undo, {"e", "c", "d"}, {1}, true, "Sort by Pages", "Sort by Date Modified"},
        // A new edit, here a row drag, forgets what could have been redone.
        {{0},
         [&h](Delegate& d) {
             FakeDraggingInfo rows;
             rows.source = &h.table;
             d.acceptDrop(rows, 3, NSTableViewDropAbove);
         },
         {"c", "d", "e"},
         {2},
         true,
         "Move File"},
        {{}, redo, {"c", "d", "e"}, {2}, false, "Move File"},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(testing::Message() << "step " << i);
        const Step& step = steps[i];
        if (!step.select.empty()) {
            h.table.selection = step.select;
        }
        changes.clear();
        step.command(h.controller);
        EXPECT_EQ(h.filenames(), step.list);
        EXPECT_EQ(h.table.selection, step.selected);
        EXPECT_EQ(changes, step.announced ? (std::vector<bool>{true, false}) : std::vector<bool>());
        EXPECT_EQ(h.controller.undoActionName(), step.undoName);
        EXPECT_EQ(h.controller.redoActionName(), step.redoName);
        EXPECT_EQ(h.controller.validateUserInterfaceItem(&Delegate::redo), !step.redoName.empty());
    }
    EXPECT_EQ(h.system.beeps, 1) << "Redo with nothing to redo";

    // Undo past the start: every add of the set-up, then a beep and nothing else.
    while (h.controller.validateUserInterfaceItem(&Delegate::undo)) {
        h.controller.undo(nullptr);
    }
    EXPECT_TRUE(h.filenames().empty());
    h.controller.undo(nullptr);
    EXPECT_EQ(h.system.beeps, 2);
    EXPECT_EQ(h.controller.redoActionName(), "Add File");
}

TEST(Arranging, TheHeaderShowsItsSortWhileTheListKeepsThatOrder) {
    TempDir dir;
    Harness h(dir.path());
    for (auto [name, pages] : {std::pair{"a", 3}, {"b", 1}, {"c", 2}}) {
        h.add(makePdf(dir, std::string(name) + ".pdf", pages));
    }
    using Indicator = std::optional<SortIndicator>;
    const Indicator none;
    const Indicator byPages = SortIndicator{"pagecount", false};
    const Indicator byPagesDown = SortIndicator{"pagecount", true};
    const Indicator byName = SortIndicator{"filename", false};
    auto click = [](const char* column) { return [column](Delegate& d) { d.didClickTableColumn(column); }; };
    auto rename = [](int64_t row, const char* name) {
        return [row, name](Delegate& d) { d.setObjectValue(name, "filename", row); };
    };
    const struct {
        IndexSet select;
        std::function<void(Delegate&)> command;
        Names list;
        Indicator indicator;
    } steps[] = {
        {{}, click("pagecount"), {"b", "c", "a"}, byPages},
        {{}, click("pagecount"), {"a", "c", "b"}, byPagesDown},
        {{1}, [](Delegate& d) { d.removeFromTable(nullptr); }, {"a", "b"}, byPagesDown},
        {{}, [](Delegate& d) { d.undo(nullptr); }, {"a", "c", "b"}, none},
        {{}, click("filename"), {"a", "b", "c"}, byName},
        {{}, rename(1, "bb"), {"a", "bb", "c"}, byName},
        {{}, rename(0, "z"), {"z", "bb", "c"}, none},
        {{}, click("filename"), {"bb", "c", "z"}, byName},
        {{2}, [](Delegate& d) { d.moveUp(nullptr); }, {"bb", "z", "c"}, none},
        {{}, click("filename"), {"bb", "c", "z"}, byName},
        {{}, [](Delegate& d) { d.reverseOrder(nullptr); }, {"z", "c", "bb"}, none},
        {{}, click("filename"), {"bb", "c", "z"}, byName},
        {{}, [&](Delegate&) { h.add(makePdf(dir, "d.pdf", 1)); }, {"bb", "c", "z", "d"}, none},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(testing::Message() << "step " << i);
        if (!steps[i].select.empty()) {
            h.table.selection = steps[i].select;
        }
        steps[i].command(h.controller);
        EXPECT_EQ(h.filenames(), steps[i].list);
        EXPECT_EQ(h.controller.sortIndicator(), steps[i].indicator);
        EXPECT_EQ(h.table.sortIndicator, steps[i].indicator);
    }
}

TEST(Arranging, AddFolderTakesThePdfsInsideAndCountsTheRest) {
    TempDir dir;
    Harness h(dir.path());
    std::filesystem::create_directories(dir.file("scans/2024"));
    std::filesystem::create_directories(dir.file("nothing"));
    makePdf(dir, "scans/page10.pdf", 1);
    makePdf(dir, "scans/Page9.pdf", 1);
    makePdf(dir, "scans/2024/page1.PDF", 1);
    writeTextFile(dir.file("scans/fake.pdf"), "plain text");
    writeTextFile(dir.file("scans/2024/notes.txt"), "plain text");

    h.openScript.urls = {dir.file("scans")};
    h.controller.addFolder(nullptr);
    EXPECT_EQ(h.openScript.canChooseDirectories, true);
    EXPECT_EQ(h.filenames(), (Names{"page1", "Page9", "page10"}));
    EXPECT_EQ(h.window.statusMessages, Names{"2 files that are not PDFs were left out"});
    EXPECT_EQ(h.controller.undoActionName(), "Add 3 Files");

    h.openScript.urls = {dir.file("nothing")};
    h.controller.addFolder(nullptr);
    EXPECT_EQ(h.window.statusMessages.back(), "1 folder without PDFs was left out");
    h.openScript.result = 0;
    h.controller.addFolder(nullptr);
    EXPECT_EQ(h.controller.pdfsList().size(), 3u);
    EXPECT_EQ(h.window.statusMessages.size(), 2u);
}

}  // namespace
}  // namespace tomefuse::test
