#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

#include "pdf/PdfTestSupport.h"
#include "support/Command.h"
#include "support/Fixtures.h"
#include "support/PdfDump.h"

using namespace tomefuse::test;

namespace {

// Each run gets its own settings folder and temporary folder, so the user's own settings and
// earlier quick saves play no part.
class CommandLine : public ::testing::Test {
  protected:
    CommandResult combine(std::vector<std::string> args) {
        args.insert(args.begin(), TOMEFUSE_COMBINE);
        return runCommand(args, {{"XDG_CONFIG_HOME", config.path()}, {"TMPDIR", tmp.path()}, {"HOME", config.path()}});
    }

    void setSetting(const std::string& key, bool value) {
        std::filesystem::create_directories(config.path() + "/Tomefuse");
        std::ofstream(config.path() + "/Tomefuse/Tomefuse.conf", std::ios::app)
            << "[General]\n"
            << key << "=" << (value ? "true" : "false") << "\n";
    }

    TempDir dir;
    TempDir config;
    TempDir tmp;
};

TEST_F(CommandLine, BadInputGetsAClearMessageAndAStatusScriptsCanRelyOn) {
    const std::string a = makePdf(dir, "a.pdf", 2);
    const std::string b = makePdf(dir, "b.pdf", 1);
    const std::string protectedFile = std::string(TOMEFUSE_CORPUS_DIR) + "/qpdf/20-pages.pdf";
    const std::string text = dir.file("notes.txt");
    writeTextFile(text, "not a PDF\n");
    const std::string out = dir.file("out.pdf");
    std::filesystem::create_directory(dir.file("folder"));
    writeTextFile(dir.file("plain"), "a file where a folder should be");

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{"-o", out, a}, 2, "at least two PDF files"},
        {{"-o", out, "--frobnicate", a, b}, 2, "unknown or incomplete option: --frobnicate"},
        {{"-o", out, "-dash.pdf", a, b}, 2, "unknown or incomplete option: -dash.pdf (put --"},
        {{a, b}, 2, "either -o PATH or --temp"},
        {{"-o", out, "--temp", a, b}, 2, "either -o PATH or --temp"},
        {{"-o", out, "--title", "x", a, b}, 2, "--title wants N=TEXT"},
        {{"-o", out, "--title", "3=Three", a, b}, 2, "there are only 2 files"},
        {{"-o", out, a, text, b}, 3, "notes.txt: not a PDF"},
        {{"-o", out, "--pages", "2=1-3", a, b}, 2, "--pages 2=1-3: “1-3”: the file has 1 page"},
        {{"-o", out, "--pages", "1=2,x", a, b}, 2, "“x” is not a page or a range of pages"},
        {{"-o", out, "--pages", "3=1", a, b}, 2, "file 3 is named in an option; there are only 2 files"},
        {{"-o", a, a, b}, 2, "is one of the files to combine"},
        {{"-o", out, "--password-file", "1=" + dir.file("none.txt"), a, b}, 2, "none.txt: cannot be read"},
        {{"-o", out, a, protectedFile}, 3, "needs a password (give it with --password N="},
        {{"-o", out, "--password", "2=Sesame-77", a, protectedFile}, 3, "the password given does not open it"},
        {{"-o", out, a, dir.file("missing.pdf")}, 3, "missing.pdf: no such file"},
        {{"-o", out, a, dir.file("folder")}, 3, "folder: is a folder"},
        {{"-o", out, "--skip-unreadable", a, text}, 3, "fewer than two readable PDF files"},
        {{"-o", dir.file("plain/out.pdf"), a, b}, 4, "could not be saved"},
        {{"-o", dir.file("folder"), a, b}, 4, "a folder of that name exists"},
    };
    for (const Case& c : cases) {
        const CommandResult result = combine(c.args);
        EXPECT_EQ(result.status, c.status) << c.message << "\n" << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("Sesame-77"), std::string::npos) << "a password is never repeated";
        EXPECT_FALSE(std::filesystem::exists(out)) << c.message;
    }
    EXPECT_EQ(dumpPdf(a).substr(0, 5), "page ") << "a file named as the output is left alone";
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder")));
}

// Wrong usage is one line on standard error, pointing to the help, and writes nothing.
TEST_F(CommandLine, UsageErrorsAreOneLineThatPointsToTheHelp) {
    const std::string a = makePdf(dir, "a.pdf", 2);
    const std::string b = makePdf(dir, "b.pdf", 1);
    const std::string out = dir.file("out.pdf");
    const struct {
        std::vector<std::string> args;
        std::string problem;
    } cases[] = {
        {{"-o", out, a}, "give at least two PDF files to combine"},
        {{a, b}, "give either -o PATH or --temp"},
        {{"-o", out, "--frobnicate", a, b}, "unknown or incomplete option: --frobnicate"},
        {{"-o", out, "--contents=5", a, b}, "--contents takes the depth of the bookmarks listed: 1, 2 or all: 5"},
        {{"-o", out, "--contents=0", a, b}, "--contents takes the depth of the bookmarks listed: 1, 2 or all: 0"},
        {{"-o", out, "--contents=", a, b}, "--contents takes the depth of the bookmarks listed: 1, 2 or all: "},
        {{"-o", out, "--contents-labels", a, b}, "--contents-labels goes with --contents"},
        {{"-o", out, "--pages", "2=1-3", a, b}, "--pages 2=1-3: “1-3”: the file has 1 page"},
    };
    for (const auto& c : cases) {
        const CommandResult result = combine(c.args);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_EQ(result.err, "tomefuse-combine: " + c.problem + "; see --help\n");
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(std::filesystem::exists(out)) << c.problem;
    }
    const CommandResult help = combine({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: tomefuse-combine", 0), 0u) << help.out;
}

TEST_F(CommandLine, CombinesInOrderWithBookmarksAndTitles) {
    const std::string a = makePdf(dir, "Alpha.pdf", 2, {item("Start", 1)}, "A");
    const std::string b = makePdf(dir, "Beta.pdf", 1, {}, "B");
    const std::string out = dir.file("combined.pdf");

    const CommandResult result =
        combine({"--file-bookmarks", "--keep-bookmarks", "--title", "2=Second file", "-o", out, a, b});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(dumpPdf(out),
              "page 0: 612x792 r0 'A1'\n"
              "page 1: 612x792 r0 'A2'\n"
              "page 2: 612x792 r0 'B1'\n"
              "Alpha -> page 0 (0, 792)\n"
              "  Start -> page 1 (72, 700)\n"
              "Second file -> page 2 (0, 792)\n");
    EXPECT_EQ(qpdfCheckProblems(out), "");
}

// Only the pages chosen, of a file opened with the password given in a file.
TEST_F(CommandLine, PagesAndPasswordsChooseWhatGoesIn) {
    const std::string a = makePdf(dir, "Alpha.pdf", 3, {item("Start", 0), item("Middle", 1), item("End", 2)}, "A");
    const std::string protectedFile = std::string(TOMEFUSE_CORPUS_DIR) + "/qpdf/20-pages.pdf";
    const std::string secret = dir.file("secret.txt");
    writeTextFile(secret, "user\nignored\n");
    const std::string out = dir.file("combined.pdf");
    const CommandResult result = combine({"--pages", "1=3-2, 3", "--pages", "2=20", "--password-file", "2=" + secret,
                                          "--file-bookmarks", "--keep-bookmarks", "-o", out, a, protectedFile});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(dumpPdf(out).substr(0, dumpPdf(out).find("Alpha")),
              "page 0: 612x792 r0 'A3'\npage 1: 612x792 r0 'A2'\npage 2: 612x792 r0 'A3'\n"
              "page 3: 612x792 r0 'Original page 19'\n")
        << "decrypted";
    EXPECT_EQ(dumpOutline(out),
              "Alpha -> page 0 (0, 792)\n  Middle -> page 1 (72, 700)\n  End -> page 0 (72, 700)\n"
              "20-pages -> page 3 (0, 792)\n");
}

TEST_F(CommandLine, SettingsComeFromTheApplicationAndFlagsOverrideThemForOneRun) {
    const std::string a = makePdf(dir, "Alpha.pdf", 1, {item("Start", 0)}, "A");
    const std::string b = makePdf(dir, "Beta.pdf", 1, {item("Middle", 0)}, "B");
    const std::string out = dir.file("combined.pdf");
    setSetting("shouldInsertTOCForFilenames", false);

    ASSERT_EQ(combine({"-o", out, a, b}).status, 0);
    EXPECT_EQ(dumpOutline(out), "Start -> page 0 (72, 700)\nMiddle -> page 1 (72, 700)\n");

    ASSERT_EQ(combine({"-o", out, "--file-bookmarks", "--drop-bookmarks", a, b}).status, 0);
    EXPECT_EQ(dumpOutline(out), "Alpha -> page 0 (0, 792)\nBeta -> page 1 (0, 792)\n");

    // Nothing was stored: the next run reads the application's setting again.
    ASSERT_EQ(combine({"-o", out, a, b}).status, 0);
    EXPECT_EQ(dumpOutline(out), "Start -> page 0 (72, 700)\nMiddle -> page 1 (72, 700)\n");
}

// The quick save's name is the first file's name made safe for a file name, in the user's own
// temporary folder: a private folder of theirs when every user can write the temporary folder.
TEST_F(CommandLine, QuickSaveWritesIntoTheTemporaryFolderAndPrintsThePath) {
    const std::string a = makePdf(dir, "Report 2026.pdf", 1);
    const std::string b = makePdf(dir, "b.pdf", 1);
    const std::string uid = std::to_string(::geteuid());
    TempDir shared;
    std::filesystem::permissions(shared.path(), std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    const struct {
        std::string title;
        std::string tmpdir;
        std::string expected;
    } cases[] = {
        {"", tmp.path(), tmp.path() + "/Report 2026 -TOMEFUSE.pdf"},
        {"Q3/Q4", tmp.path(), tmp.path() + "/Q3-Q4 -TOMEFUSE.pdf"},
        {".hidden\nnotes", tmp.path(), tmp.path() + "/hidden notes -TOMEFUSE.pdf"},
        {"", shared.path(), shared.path() + "/tomefuse-" + uid + "/Report 2026 -TOMEFUSE.pdf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        std::vector<std::string> args = {TOMEFUSE_COMBINE, "--temp", a, b};
        if (!c.title.empty()) {
            args.insert(args.begin() + 2, {"--title", "1=" + c.title});
        }
        const CommandResult result = runCommand(args, {{"XDG_CONFIG_HOME", config.path()}, {"TMPDIR", c.tmpdir}});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, c.expected + "\n");
        EXPECT_EQ(dumpPdf(c.expected).substr(0, 5), "page ");
    }
    // An earlier quick save listed again, where the quick save would write: refused as -o is.
    const std::string earlier = cases[0].expected;
    const std::string before = readTextFile(earlier);
    const CommandResult again = runCommand({TOMEFUSE_COMBINE, "--temp", a, earlier},
                                           {{"XDG_CONFIG_HOME", config.path()}, {"TMPDIR", tmp.path()}});
    EXPECT_EQ(again.status, 2) << again.err;
    EXPECT_NE(again.err.find("the output " + earlier + " is one of the files to combine: " + earlier),
              std::string::npos)
        << again.err;
    EXPECT_EQ(readTextFile(earlier), before);
}

TEST_F(CommandLine, SkipUnreadableCombinesTheRestAndNamesTheSkipped) {
    const std::string a = makePdf(dir, "a.pdf", 1);
    const std::string b = makePdf(dir, "b.pdf", 2);
    const std::string text = dir.file("notes.pdf");
    writeTextFile(text, "%PDF-1.4 but nothing else");
    const std::string out = dir.file("out.pdf");
    const CommandResult result = combine({"--skip-unreadable", "-o", out, a, text, b});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("skipping " + text), std::string::npos) << result.err;
    EXPECT_EQ(pageContents(out).size(), 3u);
}

// A one-page PDF whose content stream is padded to about bytes, so that a file over the size
// read into memory is read from disk during the combine.
void writePaddedPdf(const std::string& path, size_t bytes) {
    const std::string content = "%" + std::string(bytes, 'x') + "\nBT /F1 24 Tf 72 720 Td (Big) Tj ET";
    writeTextFile(path,
                  rawPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                          "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R >>",
                          "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream"}));
}

// A file that changes between the listing and the combine is never combined as it was listed nor
// as a cut-short file: the command names it and writes nothing, or leaves it out when asked to.
// The combine waits at its pause point while the test changes the file, so nothing is timed.
TEST_F(CommandLine, FilesChangedBeforeTheCombineAreNamedNotCombined) {
    std::signal(SIGPIPE, SIG_IGN);  // a gate whose reader is gone must not end the test
    const std::string a = makePdf(dir, "a.pdf", 1);
    const std::string fifo = dir.file("gate");
    struct Case {
        const char* name;
        std::function<void(const std::string&)> change;
        std::string reason;
    };
    const Case cases[] = {
        {"cut short", [](const std::string& p) { std::filesystem::resize_file(p, 9u << 20); }, "damaged"},
        {"removed", [](const std::string& p) { std::filesystem::remove(p); }, "no longer there"},
        {"not a PDF any more", [](const std::string& p) { writeTextFile(p, "plain text"); }, "not a PDF"},
        {"a pipe in its place",
         [](const std::string& p) {
             std::filesystem::remove(p);
             ::mkfifo(p.c_str(), 0600);
         },
         "not a file"},
    };
    for (const Case& c : cases) {
        for (bool skip : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (skip ? ", skipping" : ""));
            const std::string big = dir.file("big.pdf");
            std::filesystem::remove(big);
            writePaddedPdf(big, 17u << 20);
            const std::string out = dir.file("out.pdf");
            std::filesystem::remove(out);
            ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
            std::thread changer([&] {
                std::ofstream gate(fifo);  // opens once the combine waits at the gate
                c.change(big);
                gate << "go";
            });
            std::vector<std::string> args = {TOMEFUSE_COMBINE, "--quiet", "-o", out, a, big, a};
            if (skip) {
                args.insert(args.begin() + 1, "--skip-unreadable");
            }
            const CommandResult result = runCommand(
                args,
                {{"XDG_CONFIG_HOME", config.path()}, {"TMPDIR", tmp.path()}, {"TOMEFUSE_PAUSE_BEFORE_COMBINE", fifo}},
                60);
            changer.join();
            std::filesystem::remove(fifo);
            EXPECT_NE(result.err.find(big), std::string::npos) << result.err;
            EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
            if (skip) {
                EXPECT_EQ(result.status, 0) << result.err;
                EXPECT_EQ(pageContents(out).size(), 2u) << "the two pages of a";
            } else {
                EXPECT_EQ(result.status, 3) << result.err;
                EXPECT_FALSE(std::filesystem::exists(out));
            }
            std::filesystem::remove(big);
            for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
                EXPECT_NE(entry.path().filename().string().rfind(".tomefuse-", 0), 0u) << "a temporary file is left";
            }
        }
    }
}

// A signal during the write ends the run with the signal's status and one line, and leaves no
// temporary file beside the target, which stays as it was.
TEST_F(CommandLine, SignalsDuringTheWriteLeaveNothingBehind) {
    std::signal(SIGPIPE, SIG_IGN);  // a gate whose reader is gone must not end the test
    const std::string a = makePdf(dir, "a.pdf", 3);
    const std::string out = dir.file("out.pdf");
    const std::string fifo = dir.file("gate");
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}, std::pair{SIGHUP, 129}}) {
        SCOPED_TRACE(signal);
        writeTextFile(out, "the old file");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        std::promise<pid_t> started;
        std::promise<void> ended;
        std::thread signaller([&, pid = started.get_future(), ended = ended.get_future()]() mutable {
            std::ofstream gate(fifo);   // opens once the first page is written
            ::kill(pid.get(), signal);  // the run may get there before the spawn has returned
            ended.wait();               // the gate stays shut: the run can only end by the signal
        });
        const CommandResult result = runCommand(
            {TOMEFUSE_COMBINE, "--quiet", "-o", out, a, a},
            {{"XDG_CONFIG_HOME", config.path()}, {"TMPDIR", tmp.path()}, {"TOMEFUSE_PAUSE_AFTER_FIRST_PAGE", fifo}}, 60,
            [&](pid_t pid) { started.set_value(pid); });
        ended.set_value();
        signaller.join();
        std::filesystem::remove(fifo);
        EXPECT_EQ(result.status, status) << result.err;
        EXPECT_NE(result.err.find("interrupted; nothing written"), std::string::npos) << result.err;
        EXPECT_EQ(readTextFile(out), "the old file");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
                  2)
            << "a.pdf and out.pdf only";
    }
}

// Every real-world file, combined after a small valid PDF: no crash, no hang, and every output
// that is written passes qpdf --check.
TEST_F(CommandLine, CombinesEveryCorpusFileOrNamesIt) {
    const std::string small = makePdf(dir, "small.pdf", 1);
    const std::string out = dir.file("out.pdf");
    int written = 0;
    int refused = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TOMEFUSE_CORPUS_DIR) + "/qpdf")) {
        if (entry.path().extension() != ".pdf") {
            continue;
        }
        const std::string file = entry.path().string();
        std::filesystem::remove(out);
        const CommandResult result = combine({"--skip-unreadable", "--quiet", "-o", out, small, file});
        SCOPED_TRACE(file);
        ASSERT_TRUE(result.status == 0 || result.status == 3) << result.status << "\n" << result.err;
        if (result.status == 3) {
            ++refused;
            EXPECT_NE(result.err.find(file), std::string::npos) << result.err;
            continue;
        }
        ++written;
        const CommandResult check = runCommand({"qpdf", "--check", out});
        EXPECT_NE(check.status, 2) << check.out << check.err;
    }
    EXPECT_GT(written, 50);
    EXPECT_GT(refused, 5);
}

}  // namespace
