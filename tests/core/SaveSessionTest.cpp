#include <gtest/gtest.h>

#include <filesystem>

#include "Fakes.h"
#include "combine/SaveSession.h"
#include "pdf/PdfTestSupport.h"
#include "support/Fixtures.h"
#include "support/PdfDump.h"

namespace tomefuse::test {
namespace {

// A save session over a list of its own, with fakes for the desktop.
struct Session {
    TempDir dir;
    Journal journal;
    FakeUserDefaults defaults;
    FakeWorkspace workspace{journal};
    FakeSystem system{journal, dir.path()};
    FakeWindow window{journal};
    SavePanelScript saveScript;
    FakeTaskRunner runner;
    DesktopServices services{defaults,  NotificationCenter::defaultCenter(),
                             workspace, system,
                             nullptr,   [this] { return std::make_unique<FakeSavePanel>(saveScript); },
                             &runner};
    Outlets outlets{&window, nullptr, nullptr, nullptr};
    DocumentList list;
    EntryReader reader{nullptr};
    SaveSession session{services, outlets, list, reader};

    // Files of one page each, listed; a name starting with '!' is listed, then is not a PDF.
    explicit Session(const std::vector<std::string>& names) {
        defaults.registerDefaults(settingDefaults());
        std::vector<PdfEntry> entries;
        for (const std::string& name : names) {
            const bool spoilt = name[0] == '!';
            const std::string path = makePdf(dir, name.substr(spoilt ? 1 : 0) + ".pdf", 1);
            entries.push_back(*reader.entryFor(path, true));
            if (spoilt) {
                writeTextFile(path, "no longer a PDF");
            }
        }
        list.insert(std::move(entries), 0, {});
    }
};

// A page whose content stream holds data, its length as if it held the whole of pageText: less
// data is a stream cut short, which lists as readable.
const std::string pageText = "BT /F1 24 Tf 72 720 Td (Plain words on the page) Tj ET";
std::string onePage(const std::string& data) {
    return rawPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                   "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R >>",
                   "<< /Length " + std::to_string(pageText.size()) + " >>\nstream\n" + data + "\nendstream"});
}

// Files that cannot be read are named before the save; it goes on without them only when the
// user says so, and never when there is nothing left, or when nothing may be left out.
TEST(SaveSession, FilesThatCannotBeReadAreNamedAndTheUserDecides) {
    struct Case {
        std::vector<std::string> files;
        bool proceed;
        bool leaveOut;
        std::string asked;  // the question's first line, or empty for none
        std::string alert;  // the alert shown, or empty for none
        size_t pages;       // written, of one page a file; 0 for nothing written
    };
    const Case cases[] = {
        {{"a", "!b", "c"}, true, true, "1 file cannot be read and will be left out.", "", 2},
        {{"a", "!b", "!c"}, true, true, "2 files cannot be read and will be left out.", "", 1},
        {{"a", "!b", "c"}, false, true, "1 file cannot be read and will be left out.", "", 0},
        {{"!a", "!b"}, true, true, "", "None of the files can be read.", 0},
        {{"a", "!b", "c"}, true, false, "", "The combined PDF was not saved.", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.files.size() << " files, proceed " << c.proceed << ", leave out "
                                        << c.leaveOut);
        Session s(c.files);
        s.window.proceed = c.proceed;
        s.session.setLeavesOutUnreadableFiles(c.leaveOut);
        const std::string out = s.dir.file("out.pdf");
        s.saveScript.url = out;
        s.session.saveToDisk();
        EXPECT_EQ(s.window.questions.empty() ? "" : s.window.questions[0].first, c.asked);
        if (!c.asked.empty()) {
            EXPECT_NE(s.window.questions[0].second.find(s.dir.file("b.pdf") + ": not a PDF"), std::string::npos);
        }
        EXPECT_EQ(s.window.alerts.empty() ? "" : s.window.alerts[0].first, c.alert);
        EXPECT_EQ(std::filesystem::exists(out), c.pages > 0);
        if (c.pages > 0) {
            EXPECT_EQ(pageContents(out).size(), c.pages);
        }
        if (!c.leaveOut) {
            EXPECT_EQ(s.session.lastOutcome()->status, CombineOutcome::Status::unreadable);
        }
    }
}

// A file that lists but whose data is partly lost is named in the question before the save, as
// one that cannot be read; one whose only damage libqpdf rebuilds is combined without asking.
TEST(SaveSession, DataLostIsAskedAboutBeforeTheSave) {
    const std::string whole = onePage(pageText);
    const std::string cutShort = onePage(pageText.substr(0, 20));
    const std::string noTable = whole.substr(0, whole.rfind("\nxref\n") + 1) + whole.substr(whole.rfind("trailer"));
    Session s({"a", "cut", "untabled"});
    writeBytes(s.dir.file("cut.pdf"), cutShort);
    writeBytes(s.dir.file("untabled.pdf"), noTable);  // both list as readable when read again
    s.window.proceed = true;
    s.session.setLeavesOutUnreadableFiles(true);
    const std::string out = s.dir.file("out.pdf");
    s.saveScript.url = out;
    s.session.saveToDisk();
    ASSERT_EQ(s.window.questions.size(), 1u);
    EXPECT_EQ(s.window.questions[0].first, "1 file cannot be read and will be left out.");
    EXPECT_NE(s.window.questions[0].second.find(s.dir.file("cut.pdf") + ": "), std::string::npos);
    EXPECT_EQ(s.window.questions[0].second.find("untabled"), std::string::npos);
    EXPECT_EQ(pageContents(out).size(), 2u);
}

// The files are checked beside the window: the list may change meanwhile, a verdict holds only for
// the file and the pages that were checked, and stopping the save stops the check.
TEST(SaveSession, FilesAreCheckedBesideTheWindowWhileTheListChanges) {
    Session s({"a", "cut", "b"});
    writeBytes(s.list[1].path, onePage(pageText.substr(0, 20)));
    s.list.refresh([&](PdfEntry& entry) { return (s.reader.read(entry), true); });
    ASSERT_TRUE(s.list[1].problem.empty());  // it lists as readable
    s.runner.hold = true;

    s.session.saveToTemporaryFile();
    EXPECT_TRUE(s.session.isCombining());
    EXPECT_EQ(s.window.statusMessages.back(), "Checking 3 files before saving…");
    s.list.rename(1, "renamed meanwhile", {});
    const std::string turned = s.list[2].path;
    s.list.refresh([&](PdfEntry& entry) { return entry.path == turned && (entry.rotation.turnAll(90), true); });
    s.runner.finish();
    // What changed is checked again, as it is now.
    ASSERT_EQ(s.runner.held.size(), 1u);
    EXPECT_EQ(s.window.statusMessages.back(), "Checking 2 files before saving…");
    EXPECT_TRUE(s.window.questions.empty());
    s.runner.finish();
    ASSERT_EQ(s.window.questions.size(), 1u);
    EXPECT_NE(s.window.questions[0].second.find(s.list[1].path + ": "), std::string::npos);
    s.runner.finish();  // the write
    EXPECT_FALSE(s.session.isCombining());

    // Verdicts are kept: the next save asks at once; one stopped while checking goes no further.
    s.session.saveToTemporaryFile();
    EXPECT_EQ(s.window.questions.size(), 2u);
    s.runner.finish();
    s.list.insert({*s.reader.entryFor(makePdf(s.dir, "new.pdf", 1), true)}, 0, {});
    s.session.saveToTemporaryFile();
    ASSERT_EQ(s.runner.held.size(), 1u);
    s.session.cancel();
    s.runner.finish();
    EXPECT_FALSE(s.session.isCombining());
    EXPECT_TRUE(s.runner.held.empty());
    EXPECT_EQ(s.window.questions.size(), 2u);
}

TEST(SaveSession, NoListedFileIsWrittenOver) {
    Session s({"a", "b"});
    const std::string listed = s.list[1].path;
    const std::string before = readTextFile(listed);
    s.session.writeCombinedPDF(listed);
    ASSERT_EQ(s.window.alerts.size(), 1u);
    EXPECT_EQ(s.window.alerts[0].second, listed + ": “b” is one of the files to combine. Choose another name.");
    EXPECT_EQ(readTextFile(listed), before);
    EXPECT_TRUE(s.system.writes.empty());
    EXPECT_EQ(quickSavePath("/tmp/me", ".. Q1/Q2\nnotes"), "/tmp/me/Q1-Q2 notes -TOMEFUSE.pdf");
}

}  // namespace
}  // namespace tomefuse::test
