#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "Fakes.h"
#include "support/Fixtures.h"
#include "support/PdfDump.h"

namespace tomefuse::test {
namespace {

namespace fs = std::filesystem;

struct SaveFixture : testing::Test {
    TempDir dir;
    TempDir temporary;  // the fake's temporary directory
    Harness h{temporary.path()};
    std::string first = makePdf(dir, "first.pdf", 2, {}, "F");
    std::string second = makePdf(dir, "second.pdf", 1, {}, "S");
};

TEST_F(SaveFixture, FewerThanTwoEntriesOnlyBeep) {
    for (uint64_t flags : {uint64_t{0}, NSEventModifierFlagOption}) {
        for (int entries : {0, 1}) {
            Harness fresh(temporary.path());
            fresh.system.modifierFlags = flags;
            if (entries) {
                fresh.add(first);
            }
            fresh.controller.saveToDisk(nullptr);
            EXPECT_EQ(fresh.system.beeps, 1);
            EXPECT_EQ(fresh.saveScript.runs, 0);
            EXPECT_TRUE(fresh.system.writes.empty());
            EXPECT_FALSE(fresh.controller.newpdf());
        }
    }
    EXPECT_TRUE(fs::is_empty(temporary.path()));
    h.controller.saveToTemporaryFile(nullptr);
    EXPECT_EQ(h.system.beeps, 1) << "a quick save of an empty list";
    EXPECT_TRUE(h.system.writes.empty());
}

TEST_F(SaveFixture, OptionQuickSavesIntoTheTemporaryDirectory) {
    h.add(first);
    h.add(second);
    h.controller.setObjectValue("Q1/Q2 report", "filename", 0);
    h.system.logLines.clear();
    h.system.modifierFlags = NSEventModifierFlagOption | 0x20000;

    h.controller.saveToDisk(nullptr);

    std::string expected = temporary.path() + "/Q1-Q2 report -TOMEFUSE.pdf";
    EXPECT_EQ(h.saveScript.runs, 0);
    EXPECT_EQ(h.system.logLines, std::vector<std::string>{"write to filepath [" + expected + "]"});
    EXPECT_EQ(h.system.writes, std::vector<std::string>{expected});
    EXPECT_EQ(h.workspace.opened, std::vector<std::string>{expected});
    EXPECT_EQ(dumpPdf(expected).substr(0, 30), "page 0: 612x792 r0 'F1'\npage 1");
    EXPECT_EQ(std::distance(fs::directory_iterator(temporary.path()), fs::directory_iterator()), 1)
        << "nothing else left in the folder";
}

TEST_F(SaveFixture, SavePanelIsSetUpAndItsAnswerObeyed) {
    h.add(first);
    h.add(second);
    std::string chosen = dir.file("chosen.pdf");
    h.saveScript.url = chosen;
    h.controller.saveToDisk(nullptr);
    EXPECT_EQ(h.saveScript.setup,
              (std::vector<std::string>{"title Save Combined PDF", "types pdf", "hidden NO", "canSelectHidden YES",
                                        "directory " + dir.path(), "name first and second.pdf"}));
    EXPECT_TRUE(fs::exists(chosen));
    auto combined = h.controller.newpdf();
    ASSERT_TRUE(combined);

    h.saveScript.result = 0;
    h.saveScript.url = dir.file("cancelled.pdf");
    h.controller.saveToDisk(nullptr);
    EXPECT_EQ(h.saveScript.runs, 2);
    EXPECT_EQ(h.controller.newpdf(), combined);
    EXPECT_FALSE(fs::exists(dir.file("cancelled.pdf")));
    EXPECT_EQ(h.system.writes.size(), 1u);
    EXPECT_EQ(h.controller.pdfsList().size(), 2u);

    h.add(first);
    h.controller.setObjectValue("a/b", "filename", 0);
    h.controller.saveToDisk(nullptr);
    EXPECT_EQ(h.saveScript.setup.back(), "name a-b and 2 more.pdf");
}

TEST_F(SaveFixture, OpenOrRevealBySetting) {
    h.add(first);
    h.add(second);
    std::string path = dir.file("out.pdf");
    h.defaults.setBool(shouldOpenPDFInDefaultApplicationKey, false);
    h.controller.writeCombinedPDF(path);
    EXPECT_TRUE(h.workspace.opened.empty());
    EXPECT_EQ(h.workspace.selected, (std::vector<std::pair<std::string, std::string>>{{path, dir.path()}}));
    h.defaults.setBool(shouldOpenPDFInDefaultApplicationKey, true);
    h.controller.writeCombinedPDF(path);
    EXPECT_EQ(h.workspace.opened, std::vector<std::string>{path});
}

TEST_F(SaveFixture, TheWindowSaysWhereTheFileWentAndWhenTheDesktopCannotOpenIt) {
    h.add(first);
    h.add(second);
    const std::string path = dir.file("out.pdf");
    const struct {
        bool opensWhenSaved;
        bool hasApplications;
        size_t alerts;
        size_t statusMessages;
    } cases[] = {
        {true, true, 0, 0},
        {false, true, 0, 0},
        {true, false, 1, 0},   // nothing opens PDFs: an alert names the reason and the folder
        {false, false, 0, 1},  // no file manager: the status line says so
    };
    for (const auto& c : cases) {
        h.window.alerts.clear();
        h.window.statusMessages.clear();
        h.defaults.setBool(shouldOpenPDFInDefaultApplicationKey, c.opensWhenSaved);
        h.workspace.hasApplications = c.hasApplications;
        h.controller.writeCombinedPDF(path);
        EXPECT_EQ(h.window.saved.message, "Saved “out.pdf” in " + dir.path());
        EXPECT_EQ(h.window.alerts.size(), c.alerts) << c.opensWhenSaved << c.hasApplications;
        EXPECT_EQ(h.window.statusMessages.size(), c.statusMessages) << c.opensWhenSaved << c.hasApplications;
        if (c.alerts) {
            EXPECT_EQ(h.window.alerts[0].first, "“out.pdf” could not be opened.");
            EXPECT_NE(h.window.alerts[0].second.find(dir.path()), std::string::npos);
        }
    }
    // The bar's buttons open and show the file that was written.
    h.workspace.hasApplications = true;
    h.workspace.opened.clear();
    h.workspace.selected.clear();
    h.window.saved.open();
    h.window.saved.reveal();
    EXPECT_EQ(h.workspace.opened, std::vector<std::string>{path});
    EXPECT_EQ(h.workspace.selected, (std::vector<std::pair<std::string, std::string>>{{path, dir.path()}}));

    const struct {
        const char* folder;
        const char* home;
        const char* shown;
    } folders[] = {{"/home/ann/Documents", "/home/ann", "~/Documents"},
                   {"/home/ann", "/home/ann", "~"},
                   {"/home/anna/x", "/home/ann", "/home/anna/x"},
                   {"/tmp", "", "/tmp"},
                   {"/tmp", "/", "/tmp"}};
    for (const auto& f : folders) {
        EXPECT_EQ(folderForDisplay(f.folder, f.home), f.shown);
    }
}

TEST_F(SaveFixture, FailedWriteIsReportedAndNothingIsOpened) {
    h.add(first);
    h.add(second);
    writeTextFile(dir.file("plain.txt"), "x");
    fs::create_directory(dir.file("existing.pdf"));
    writeTextFile(dir.file("existing.pdf") + "/inside", "kept");
    const std::string targets[] = {dir.file("plain.txt") + "/out.pdf", dir.file("no/such/folder/out.pdf"),
                                   dir.file("existing.pdf")};
    for (const auto& target : targets) {
        SCOPED_TRACE(target);
        Harness fresh(temporary.path());
        fresh.add(first);
        fresh.add(second);
        fresh.controller.writeCombinedPDF(target);
        EXPECT_EQ(fresh.system.beeps, 1);
        ASSERT_EQ(fresh.system.logLines.size(), 1u);
        EXPECT_NE(fresh.system.logLines[0].find(target), std::string::npos);
        ASSERT_EQ(fresh.window.alerts.size(), 1u);
        EXPECT_EQ(fresh.window.alerts[0].first, "The combined PDF could not be saved.");
        EXPECT_EQ(fresh.window.alerts[0].second.rfind(target + ": ", 0), 0u) << fresh.window.alerts[0].second;
        EXPECT_GT(fresh.window.alerts[0].second.size(), target.size() + 2) << "a reason is given";
        EXPECT_TRUE(fresh.workspace.opened.empty());
        EXPECT_TRUE(fresh.workspace.selected.empty());
    }
    EXPECT_TRUE(fs::is_directory(dir.file("existing.pdf")));
    EXPECT_TRUE(fs::exists(dir.file("existing.pdf") + "/inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("existing.pdf")), fs::directory_iterator()), 1);

    // A folder that cannot be written, where permissions hold (not for root).
    if (::geteuid() != 0) {
        fs::create_directory(dir.file("locked"));
        writeTextFile(dir.file("locked/out.pdf"), "old");
        fs::permissions(dir.file("locked"), fs::perms::owner_read | fs::perms::owner_exec);
        h.controller.writeCombinedPDF(dir.file("locked/out.pdf"));
        fs::permissions(dir.file("locked"), fs::perms::owner_all);
        EXPECT_EQ(h.window.alerts.size(), 1u);
        std::ifstream kept(dir.file("locked/out.pdf"));
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old");
    }
}

// The pages go to a temporary file beside the target as they are written; the sheet closes
// before the file is opened.
TEST_F(SaveFixture, ProgressFollowsThePagesAsTheyAreWritten) {
    h.add(first);
    h.add(second);
    std::string path = dir.file("progress.pdf");
    h.journal.clear();
    h.controller.writeCombinedPDF(path);
    EXPECT_EQ(h.bar.maxValues, std::vector<double>{3});
    EXPECT_EQ(h.bar.values, (std::vector<double>{0, 0, 1, 2}));
    EXPECT_EQ(h.bar.displays, 3);
    EXPECT_EQ(h.journal,
              (std::vector<std::string>{"write " + path, "begin sheet", "end sheet", "close panel",
                                        "saved Saved “progress.pdf” in " + directoryOfPath(path), "open " + path}));
    EXPECT_FALSE(h.panel.visible);

    h.add(first);
    h.bar.values.clear();
    h.controller.writeCombinedPDF(path);
    EXPECT_EQ(h.bar.maxValues, (std::vector<double>{3, 5}));
    EXPECT_EQ(h.bar.values, (std::vector<double>{0, 0, 1, 2, 3, 4}));
    EXPECT_EQ(h.panel.closes, 2);

    h.controller.documentEndPageWrite({PDFDocumentDidEndPageWriteNotification, nullptr, {}});
    EXPECT_EQ(h.bar.current, 0);
    h.controller.documentEndPageWrite(
        {PDFDocumentDidEndPageWriteNotification, nullptr, {{"PDFDocumentPageIndex", 16777217}}});
    EXPECT_EQ(h.bar.current, 16777216) << "read as a single-precision number";
}

// Cancel stops the combine within a page wherever it is: the file at the target stays as it was,
// no temporary file is left beside it, nothing is opened, and the list is untouched.
TEST_F(SaveFixture, CancelLeavesTheTargetAsItWas) {
    h.add(first);
    h.add(second);
    const std::string path = dir.file("combined.pdf");
    // Deliveries: begin 1, reading the first file 2, its pages 3 and 4, reading the second 5,
    // its page 6, finishing 7, end 8.
    for (int cancelAfter : {1, 3, 7}) {
        SCOPED_TRACE(cancelAfter);
        writeTextFile(path, "the old file");
        h.runner.deliveries = 0;
        h.runner.afterDelivery = [&](int delivered) {
            if (delivered == cancelAfter) {
                h.controller.cancelCombine(nullptr);
            }
        };
        const auto list = h.controller.pdfsList();
        h.controller.writeCombinedPDF(path);
        EXPECT_EQ(h.controller.lastCombineOutcome()->status, CombineOutcome::Status::cancelled);
        EXPECT_EQ(readTextFile(path), "the old file");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3)
            << "no temporary file";
        EXPECT_FALSE(h.panel.visible);
        EXPECT_TRUE(h.workspace.opened.empty());
        EXPECT_TRUE(h.window.alerts.empty());
        EXPECT_EQ(h.controller.pdfsList(), list);
        EXPECT_FALSE(h.controller.isCombining());
    }
}

TEST_F(SaveFixture, CombineWithoutOutletsStillWrites) {
    h.add(first);
    h.add(second);
    h.controller.setWindow(nullptr);
    h.controller.setSaveProgressPanel(nullptr);
    h.controller.setSaveProgressBar(nullptr);
    h.controller.setTableView(nullptr);
    h.controller.writeCombinedPDF(dir.file("headless.pdf"));
    h.controller.writeCombinedPDF(dir.file("no/folder/x.pdf"));
    EXPECT_TRUE(fs::exists(dir.file("headless.pdf")));
    EXPECT_EQ(h.system.beeps, 1);
    EXPECT_TRUE(h.journal.size() >= 3u);
}

}  // namespace
}  // namespace tomefuse::test
