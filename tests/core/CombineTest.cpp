#include <gtest/gtest.h>

#include "Fakes.h"
#include "support/Fixtures.h"
#include "support/PdfDump.h"

namespace tomefuse::test {
namespace {

struct CombineFixture : testing::Test {
    TempDir dir;
    Harness h{dir.path()};
    std::string alpha =
        makePdf(dir, "alpha.pdf", 3, {item("Intro", 0, 72, 700, {item("Detail", 2, 100, 200)}), item("End", 2)}, "A");
    std::string beta = makePdf(dir, "beta.pdf", 2, {item("X", 0), item("Y", 1, 0, 0)}, "B");
    std::string gamma = makePdf(dir, "gamma.pdf", 2, {item("One", 0), item("Two", 1), item("Three", 1, 5, 6)}, "C");
    std::string out = dir.file("combined.pdf");

    void settings(bool preserve, bool insert) {
        h.defaults.setBool(preserveExistingTOCsKey, preserve);
        h.defaults.setBool(shouldInsertTOCForFilenamesKey, insert);
    }
};

// A file that no longer opens is left out and named; it gets no bookmark, which would lead nowhere.
TEST_F(CombineFixture, FileThatNoLongerOpensIsLeftOutAndReported) {
    std::string gone = makePdf(dir, "gone.pdf", 4);
    for (const auto& path : {alpha, gone, gamma}) {
        h.add(path);
    }
    writeTextFile(gone, "overwritten since it was listed");

    h.controller.writeCombinedPDF(out);

    EXPECT_EQ(dumpPdf(out),
              "page 0: 612x792 r0 'A1'\n"
              "page 1: 612x792 r0 'A2'\n"
              "page 2: 612x792 r0 'A3'\n"
              "page 3: 612x792 r0 'C1'\n"
              "page 4: 612x792 r0 'C2'\n"
              "alpha -> page 0 (0, 792)\n"
              "  Intro -> page 0 (72, 700)\n"
              "    Detail -> page 2 (100, 200)\n"
              "  End -> page 2 (72, 700)\n"
              "gamma -> page 3 (0, 792)\n"
              "  One -> page 3 (72, 700)\n"
              "  Two -> page 4 (72, 700)\n"
              "  Three -> page 4 (5, 6)\n");
    EXPECT_EQ(qpdfCheckProblems(out), "");
    ASSERT_EQ(h.window.alerts.size(), 1u);
    EXPECT_EQ(h.window.alerts[0].first, "Some pages are missing from the combined PDF.");
    EXPECT_NE(h.window.alerts[0].second.find(gone), std::string::npos);
    EXPECT_EQ(h.window.alerts[0].second.find(alpha), std::string::npos);
    ASSERT_EQ(h.system.logLines.size(), 1u);
    EXPECT_NE(h.system.logLines[0].find(gone), std::string::npos);
    EXPECT_NE(h.system.logLines[0].find("not a PDF"), std::string::npos) << "with the reason";
    EXPECT_EQ(
        std::vector<std::string>(h.journal.end() - 4, h.journal.end()),
        (std::vector<std::string>{"log " + h.system.logLines[0], "alert Some pages are missing from the combined PDF.",
                                  "saved Saved “combined.pdf” in " + directoryOfPath(out), "open " + out}))
        << "opened after the alert";
    EXPECT_EQ(h.system.beeps, 0);
}

TEST_F(CombineFixture, OutlineSettingsDecideTheTopLevel) {
    struct Case {
        bool preserve;
        bool insert;
        std::string outline;
    };
    const Case cases[] = {
        {true, true,
         "beta -> page 0 (0, 792)\n  X -> page 0 (72, 700)\n  Y -> page 1 (0, 0)\n"
         "gamma -> page 2 (0, 792)\n  One -> page 2 (72, 700)\n  Two -> page 3 (72, 700)\n  Three -> page 3 (5, 6)\n"},
        {true, false,
         "X -> page 0 (72, 700)\nY -> page 1 (0, 0)\n"
         "One -> page 2 (72, 700)\nTwo -> page 3 (72, 700)\nThree -> page 3 (5, 6)\n"},
        {false, true, "beta -> page 0 (0, 792)\ngamma -> page 2 (0, 792)\n"},
        {false, false, ""},
    };
    h.add(beta);
    h.add(gamma);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "preserve " << c.preserve << ", insert " << c.insert);
        settings(c.preserve, c.insert);
        h.controller.writeCombinedPDF(out);
        EXPECT_EQ(dumpOutline(out), c.outline);
        EXPECT_EQ(qpdfCheckProblems(out), "");
    }
    EXPECT_TRUE(h.window.alerts.empty());
}

TEST_F(CombineFixture, SameFileTwiceAndRenamedEntries) {
    h.add(alpha);
    h.add(alpha);
    h.controller.setObjectValue("Appendix", "filename", 1);
    h.controller.writeCombinedPDF(out);
    EXPECT_EQ(dumpPdf(out),
              "page 0: 612x792 r0 'A1'\npage 1: 612x792 r0 'A2'\npage 2: 612x792 r0 'A3'\n"
              "page 3: 612x792 r0 'A1'\npage 4: 612x792 r0 'A2'\npage 5: 612x792 r0 'A3'\n"
              "alpha -> page 0 (0, 792)\n"
              "  Intro -> page 0 (72, 700)\n"
              "    Detail -> page 2 (100, 200)\n"
              "  End -> page 2 (72, 700)\n"
              "Appendix -> page 3 (0, 792)\n"
              "  Intro -> page 3 (72, 700)\n"
              "    Detail -> page 5 (100, 200)\n"
              "  End -> page 5 (72, 700)\n");
}

TEST_F(CombineFixture, PagesKeepContentBoxAndRotation) {
    PdfBuilder mixed;
    mixed.addPage({612, 792, 0, 0, 0, {}, "portrait"});
    mixed.addPage({842, 595, 0, 0, 90, {}, "landscape turned"});
    mixed.addPage({600, 800, 10, 20, 180, std::vector<double>{20, 30, 500, 700}, "shifted box"});
    mixed.write(dir.file("mixed.pdf"));
    PdfBuilder inherited;
    inherited.inheritAttributes()
        .addPage({400, 400, 0, 0, 270, {}, "inherited"})
        .addPage({400, 400, 0, 0, 270, {}, "again"});
    inherited.write(dir.file("inherited.pdf"));
    h.add(dir.file("mixed.pdf"));
    h.add(dir.file("inherited.pdf"));

    h.controller.writeCombinedPDF(out);

    auto pageLines = [](const std::string& dump) {
        std::string lines;
        for (size_t start = 0, end; (end = dump.find('\n', start)) != std::string::npos; start = end + 1) {
            if (dump.compare(start, 5, "page ") == 0) {
                lines += dump.substr(dump.find(':', start), end - dump.find(':', start)) + "\n";
            }
        }
        return lines;
    };
    EXPECT_EQ(pageLines(dumpPdf(out)),
              pageLines(dumpPdf(dir.file("mixed.pdf"))) + pageLines(dumpPdf(dir.file("inherited.pdf"))));
    std::vector<std::string> sources = pageContents(dir.file("mixed.pdf"));
    for (const auto& content : pageContents(dir.file("inherited.pdf"))) {
        sources.push_back(content);
    }
    EXPECT_EQ(pageContents(out), sources);
    EXPECT_EQ(qpdfCheckProblems(out), "");
}

TEST_F(CombineFixture, SecondCombineRunsEachHandlerOnce) {
    h.add(beta);
    h.add(gamma);
    h.controller.writeCombinedPDF(out);
    auto first = h.controller.newpdf();
    size_t observations = NotificationCenter::defaultCenter().observationCount();
    h.bar.values.clear();
    h.journal.clear();

    h.controller.writeCombinedPDF(dir.file("again.pdf"));

    EXPECT_NE(h.controller.newpdf(), first);
    EXPECT_EQ(NotificationCenter::defaultCenter().observationCount(), observations);
    EXPECT_EQ(h.bar.maxValues, (std::vector<double>{4, 4}));
    EXPECT_EQ(h.bar.values, (std::vector<double>{0, 0, 1, 2, 3}));
    EXPECT_EQ(std::count(h.journal.begin(), h.journal.end(), "begin sheet"), 1);
    EXPECT_EQ(std::count(h.journal.begin(), h.journal.end(), "close panel"), 1);

    // Another document's notifications do not reach the controller.
    h.bar.values.clear();
    NotificationCenter::defaultCenter().postNotification({PDFDocumentDidEndPageWriteNotification, first.get(), {}});
    EXPECT_TRUE(h.bar.values.empty());
}

}  // namespace
}  // namespace tomefuse::test
