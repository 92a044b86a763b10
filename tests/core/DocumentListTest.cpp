#include <gtest/gtest.h>

#include <functional>

#include "list/DocumentList.h"

namespace tomefuse::test {
namespace {

using Names = std::vector<std::string>;

Names names(const DocumentList& list) {
    Names result;
    for (const PdfEntry& entry : list.entries()) {
        std::string name = entry.filename + (entry.pages.isAll() ? "" : "[" + entry.pages.text() + "]");
        if (entry.rotation.all() != 0) {
            name += "@" + std::to_string(entry.rotation.all());
        }
        for (const PageRotation::Part& part : entry.rotation.parts()) {
            name += "{" + part.pages.text() + "@" + std::to_string(part.degrees) + "}";
        }
        if (entry.partner) {
            name += (entry.partner->reversed ? "~" : "+") + displayNameForPath(entry.partner->path) + "/" +
                    std::to_string(entry.pagecount);
        }
        result.push_back(name);
    }
    return result;
}

std::vector<PdfEntry> entries(const Names& names) {
    std::vector<PdfEntry> result;
    for (const auto& name : names) {
        result.emplace_back("/f/" + name + ".pdf", name, 3, 0);
    }
    return result;
}

// Each edit keeps only what it changed, so undoing and redoing it must rebuild the whole list:
// every edit is undone and redone, and the list is checked each way.
TEST(DocumentList, EveryEditIsUndoneAndRedoneExactly) {
    struct Case {
        const char* name;
        std::function<void(DocumentList&)> edit;
        Names after;
        std::string undoName;
    };
    const Case cases[] = {
        {"insert in the middle",
         [](DocumentList& l) {
             l.insert(entries({"x", "y"}), 2, {});
         },
         {"a", "b", "x", "y", "c", "d", "e"},
         "Add 2 Files"},
        {"insert past the end",
         [](DocumentList& l) { l.insert(entries({"x"}), 99, {}); },
         {"a", "b", "c", "d", "e", "x"},
         "Add File"},
        {"remove scattered rows",
         [](DocumentList& l) {
             l.remove({0, 2, 3, 9});
         },
         {"b", "e"},
         "Remove 3 Files"},
        {"move a block down",
         [](DocumentList& l) {
             l.move({0, 2}, 4);
         },
         {"b", "d", "a", "c", "e"},
         "Move 2 Files"},
        {"move to the top",
         [](DocumentList& l) { l.move(MoveDirection::toTop, {4}); },
         {"e", "a", "b", "c", "d"},
         "Move File"},
        {"reverse", [](DocumentList& l) { l.reverse({}); }, {"e", "d", "c", "b", "a"}, "Reverse Order"},
        {"rename", [](DocumentList& l) { l.rename(1, "B", {}); }, {"a", "B", "c", "d", "e"}, "Rename File"},
        {"choose pages",
         [](DocumentList& l) { l.choosePages(3, *PageSelection::parse("2-z", 3).selection, {}); },
         {"a", "b", "c", "d[2-z]", "e"},
         "Choose Pages"},
        {"rotate files right",
         [](DocumentList& l) {
             l.turn({1, 3, 9}, 90, {});
         },
         {"a", "b@90", "c", "d@90", "e"},
         "Rotate Right"},
        {"rotate pages left",
         [](DocumentList& l) { l.turnPages(2, *PageSelection::parse("2-z", 3).selection, -90, {}); },
         {"a", "b", "c{2-z@270}", "d", "e"},
         "Rotate Left"},
        {"interleave with the next",
         [](DocumentList& l) { l.interleave(3, false, {}); },
         {"a", "b", "c", "d+e/6"},
         "Interleave"},
        {"interleave reversed",
         [](DocumentList& l) { l.interleave(0, true, {}); },
         {"a~b/6", "c", "d", "e"},
         "Interleave Reversed"},
        {"a list opened in place",
         [](DocumentList& l) { l.replaceAll(entries({"x"}), "Open List", {}); },
         {"x"},
         "Open List"},
    };
    const Names start = {"a", "b", "c", "d", "e"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentList list;
        list.insert(entries(start), 0, {});
        c.edit(list);
        EXPECT_EQ(names(list), c.after);
        EXPECT_EQ(list.undoActionName(), c.undoName);
        ASSERT_TRUE(list.undo({}));
        EXPECT_EQ(names(list), start);
        ASSERT_TRUE(list.redo({}));
        EXPECT_EQ(names(list), c.after);
        ASSERT_TRUE(list.undo({}));
        ASSERT_TRUE(list.undo({}));
        EXPECT_TRUE(names(list).empty()) << "the first insert, undone";
        EXPECT_FALSE(list.undo({}));
    }
}

// What shows the list hears of each edit before and after it, with the rows to select.
TEST(DocumentList, ObserversHearEachEditWithTheSelectionItLeaves) {
    DocumentList list;
    list.insert(entries({"a", "b", "c", "d"}), 0, {});
    std::vector<ListChange> heard;
    list.observe([&](const ListChange& change) { heard.push_back(change); });

    list.insert(entries({"x"}), 1, {0, 2});
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_TRUE(heard[0].prior);
    EXPECT_FALSE(heard[1].reorders);
    EXPECT_EQ(heard[1].selection, (IndexSet{0, 3})) << "the selection stays on its entries";
    EXPECT_EQ(heard[1].shown, IndexSet{1});

    heard.clear();
    list.move({3}, 0);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_TRUE(heard[0].reorders && heard[1].reorders);
    EXPECT_EQ(heard[1].selection, IndexSet{0});

    // Undo brings back the selection from before the edit; redo the one from before the undo.
    heard.clear();
    list.undo({4});
    EXPECT_EQ(heard[1].selection, IndexSet{3});
    list.redo({1});
    EXPECT_EQ(heard[3].selection, IndexSet{4});
    EXPECT_EQ(names(list), (Names{"c", "a", "x", "b", "d"}));

    // What changes nothing is told, but leaves nothing to undo.
    heard.clear();
    const std::string last = list.undoActionName();
    list.insert({}, 0, {});
    list.move({0}, 0);
    list.rename(0, "c", {});
    EXPECT_EQ(heard.size(), 6u);
    EXPECT_EQ(list.undoActionName(), last);
    EXPECT_FALSE(list.choosePages(0, PageSelection(), {})) << "all pages already";
    EXPECT_FALSE(list.remove({7}));
}

}  // namespace
}  // namespace tomefuse::test
