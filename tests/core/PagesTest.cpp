// The list's pages as the window edits them: turned, chosen by thumbnail, two files interleaved,
// each edit undone, and what the combined file then holds; and lists kept in job files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Fakes.h"
#include "support/Fixtures.h"
#include "support/PdfDump.h"

namespace tomefuse::test {
namespace {

namespace fs = std::filesystem;
using Delegate = TomefuseAppDelegate;

// Each page of a written file as its turn and label: "r90 A1".
std::vector<std::string> pagesOf(const std::string& path) {
    std::vector<std::string> pages;
    std::istringstream dump(dumpPdf(path));
    for (std::string line; std::getline(dump, line);) {
        const size_t turn = line.find(" r");
        if (line.rfind("page ", 0) == 0 && turn != std::string::npos) {
            std::string rest = line.substr(turn + 1);
            rest.erase(std::remove(rest.begin(), rest.end(), '\''), rest.end());
            pages.push_back(rest);
        }
    }
    return pages;
}

struct PagesFixture : testing::Test {
    TempDir dir;
    TempDir temporary;
    Harness h{temporary.path()};
    std::string a = makePdf(dir, "a.pdf", 2, {item("A chapter", 1)}, "A");
    std::string b = makePdf(dir, "b.pdf", 3, {item("B chapter", 0)}, "B");

    void SetUp() override {
        h.add(a);
        h.add(b);
    }
    std::vector<std::string> combined() {
        const std::string out = dir.file("out.pdf");
        h.controller.writeCombinedPDF(out);
        return pagesOf(out);
    }
};

TEST_F(PagesFixture, EachPageEditReachesTheCombinedFileAndIsUndone) {
    struct Case {
        const char* name;
        std::function<void(Harness&)> edit;
        std::vector<std::string> pages;
        std::string undoName;
    };
    const Case cases[] = {
        {"Rotate Right turns every page of the selected rows",
         [](Harness& h) {
             h.table.selection = {1};
             h.controller.rotateRight(nullptr);
         },
         {"r0 A1", "r0 A2", "r90 B1", "r90 B2", "r90 B3"},
         "Rotate Right"},
        {"Rotate Left turns pages chosen in the preview",
         [](Harness& h) { h.controller.turnPages(0, {1}, -90); },
         {"r0 A1", "r270 A2", "r0 B1", "r0 B2", "r0 B3"},
         "Rotate Left"},
        {"Take Only These Pages",
         [](Harness& h) {
             h.controller.takeOnlyPages(1, {2, 0});
         },
         {"r0 A1", "r0 A2", "r0 B1", "r0 B3"},
         "Choose Pages"},
        {"Leave Out These Pages",
         [](Harness& h) { h.controller.leaveOutPages(1, {1}); },
         {"r0 A1", "r0 A2", "r0 B1", "r0 B3"},
         "Choose Pages"},
        {"Interleave With Next File",
         [](Harness& h) {
             h.table.selection = {0};
             h.controller.interleaveWithNext(nullptr);
         },
         {"r0 A1", "r0 B1", "r0 A2", "r0 B2", "r0 B3"},
         "Interleave"},
        {"Interleave With Next File Reversed, the rest following",
         [](Harness& h) {
             h.table.selection = {0};
             h.controller.interleaveWithNextReversed(nullptr);
         },
         {"r0 A1", "r0 B3", "r0 A2", "r0 B2", "r0 B1"},
         "Interleave Reversed"},
    };
    const std::vector<std::string> untouched = {"r0 A1", "r0 A2", "r0 B1", "r0 B2", "r0 B3"};
    ASSERT_EQ(combined(), untouched);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.edit(h);
        EXPECT_EQ(combined(), c.pages);
        EXPECT_EQ(h.controller.undoActionName(), c.undoName);
        h.controller.undo(nullptr);
        EXPECT_EQ(h.controller.pdfsList().size(), 2u);
        EXPECT_EQ(combined(), untouched);
    }
    EXPECT_EQ(h.system.beeps, 0);
}

TEST_F(PagesFixture, AnInterleavedEntryIsOneRowWithTheFirstFilesBookmark) {
    h.table.selection = {0};
    EXPECT_TRUE(h.controller.validateUserInterfaceItem(&Delegate::interleaveWithNext));
    h.controller.interleaveWithNext(nullptr);
    ASSERT_EQ(h.filenames(), std::vector<std::string>{"a"});
    const PdfEntry& entry = h.controller.pdfsList()[0];
    EXPECT_EQ(entry.pagecount, 5u);
    EXPECT_EQ(std::get<std::string>(entry.valueForKey(PdfEntry::partnerKey)), b);
    EXPECT_EQ(h.table.selection, IndexSet{0});
    // Its pages are still chosen as one entry's; a third file cannot join.
    h.controller.choosePages(0, "2-4");
    h.add(makePdf(dir, "c.pdf", 1));
    EXPECT_FALSE(h.controller.validateUserInterfaceItem(&Delegate::interleaveWithNext));
    h.table.selection = {1};
    h.controller.removeFromTable(nullptr);
    h.table.selection = {0};
    const std::string out = dir.file("one.pdf");
    h.controller.writeCombinedPDF(out);
    EXPECT_EQ(pagesOf(out), (std::vector<std::string>{"r0 B1", "r0 A2", "r0 B2"}));
    const std::string outline = dumpOutline(out);
    EXPECT_NE(outline.find("a -> page 0"), std::string::npos) << outline;
    EXPECT_EQ(outline.find("b ->"), std::string::npos) << "no bookmark of the second file's name";

    // The last row has no next; an unreadable next cannot be interleaved.
    h.table.selection = {0};
    EXPECT_FALSE(h.controller.validateUserInterfaceItem(&Delegate::interleaveWithNext));
    h.controller.interleaveWithNext(nullptr);
    EXPECT_EQ(h.system.beeps, 1);
}

TEST_F(PagesFixture, AListIsKeptAndReadBackInPlaceAsOneEditWithItsOptions) {
    h.controller.choosePages(0, "2");
    h.table.selection = {0};
    h.controller.rotateRight(nullptr);
    h.add(makePdf(dir, "c.pdf", 4, {}, "C"));
    h.table.selection = {1};
    h.controller.interleaveWithNextReversed(nullptr);
    h.controller.turnPages(1, {0, 1}, 180);
    h.controller.setObjectValue("Alpha", "filename", 0);
    const std::vector<PdfEntry> listed = h.controller.pdfsList();
    const std::vector<std::string> pages = combined();
    ASSERT_EQ(pages,
              (std::vector<std::string>{"r90 A2", "r180 B1", "r180 C4", "r0 B2", "r0 C3", "r0 B3", "r0 C2", "r0 C1"}));
    h.defaults.setBool(shouldAddContentsPageKey, true);
    h.defaults.setInteger(contentsBookmarkDepthKey, 2);

    fs::create_directory(dir.file("kept"));
    const std::string job = dir.file("kept/month.tomefuse");
    ASSERT_TRUE(h.controller.saveJob(job));
    h.table.selection = {0, 1};
    h.controller.removeFromTable(nullptr);
    h.defaults.setBool(shouldAddContentsPageKey, false);

    // Handed over as a file to open, as a file manager or the command line hands it.
    ASSERT_TRUE(h.controller.openFile(job));
    EXPECT_EQ(h.controller.pdfsList(), listed);
    EXPECT_TRUE(h.defaults.boolForKey(shouldAddContentsPageKey));
    EXPECT_EQ(h.defaults.integerForKey(contentsBookmarkDepthKey), 2);
    h.defaults.setBool(shouldAddContentsPageKey, false);
    EXPECT_EQ(combined(), pages);
    EXPECT_TRUE(h.window.alerts.empty());
    EXPECT_EQ(h.controller.undoActionName(), "Open List");
    h.controller.undo(nullptr);
    EXPECT_TRUE(h.controller.pdfsList().empty());
}

TEST_F(PagesFixture, AJobThatCannotBeOpenedOrNamesGoneFilesSaysSoAndLosesNothingElse) {
    const std::string job = dir.file("list.tomefuse");
    ASSERT_TRUE(h.controller.saveJob(job));

    // A newer format, and no job at all: the list stays as it is.
    const std::string newer = dir.file("newer.tomefuse");
    std::ofstream(newer) << R"({"tomefuse-job": 9, "entries": []})";
    const std::string garbage = dir.file("garbage.tomefuse");
    std::ofstream(garbage) << "%PDF-1.7";
    for (const std::string& path : {newer, garbage, dir.file("gone.tomefuse")}) {
        SCOPED_TRACE(path);
        h.window.alerts.clear();
        EXPECT_FALSE(h.controller.openJob(path));
        ASSERT_EQ(h.window.alerts.size(), 1u);
        EXPECT_NE(h.window.alerts[0].first.find("cannot be opened"), std::string::npos);
        if (path == newer) {
            EXPECT_NE(h.window.alerts[0].second.find("newer"), std::string::npos) << h.window.alerts[0].second;
        }
        EXPECT_EQ(h.filenames(), (std::vector<std::string>{"a", "b"}));
    }

    // A file gone: its row stays, saying so, and the others are read.
    fs::remove(a);
    h.window.alerts.clear();
    ASSERT_TRUE(h.controller.openJob(job));
    EXPECT_EQ(h.filenames(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(h.controller.pdfsList()[0].problem, "no longer there");
    EXPECT_TRUE(h.controller.pdfsList()[1].problem.empty());
    ASSERT_EQ(h.window.alerts.size(), 1u);
    EXPECT_EQ(h.window.alerts[0].first, "Some files of the list are no longer there.");
    EXPECT_NE(h.window.alerts[0].second.find(a), std::string::npos);
}

}  // namespace
}  // namespace tomefuse::test
