#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <qpdf/QPDF.hh>

#include "pdf/LinkDump.h"
#include "support/Command.h"
#include "support/Fixtures.h"
#include "support/PdfDump.h"

using namespace tomefuse::test;

namespace {

// The contents page, right-hand starts and properties come from the flags alone, and Qt is
// loaded for the contents page only.
TEST(CommandLineDocument, FlagsShapeTheDocumentAndOnlyTheContentsPageLoadsQt) {
    TempDir dir;
    TempDir config;
    // The application's own choices play no part on the command line.
    std::filesystem::create_directories(config.path() + "/Tomefuse");
    std::ofstream(config.path() + "/Tomefuse/Tomefuse.conf")
        << "[General]\nshouldAddContentsPage=true\nshouldStartFilesOnRightHandPages=true\ndocumentTitle=Stored\n";
    // Under the sanitizers, what the system's libraries keep to the end is not counted as lost.
    const std::map<std::string, std::string> env = {
        {"XDG_CONFIG_HOME", config.path()},
        {"HOME", config.path()},
        {"LSAN_OPTIONS", "print_suppressions=0:suppressions=" TOMEFUSE_SOURCE_DIR "/tests/e2e/lsan.supp"}};
    const std::string a = makePdf(dir, "Alpha.pdf", 3, {item("Start", 1)}, "A");
    const std::string b = makePdf(dir, "Beta.pdf", 2, {}, "B");
    const std::string out = dir.file("out.pdf");

    const CommandResult linked = runCommand({"ldd", TOMEFUSE_COMBINE});
    EXPECT_EQ(linked.out.find("libQt"), std::string::npos) << linked.out;

    // Plain: as before, and no Qt library is even loaded.
    auto plainEnv = env;
    plainEnv["LD_DEBUG"] = "files";
    CommandResult plain = runCommand({TOMEFUSE_COMBINE, "-o", out, a, b}, plainEnv);
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_NE(plain.err.find("libqpdf"), std::string::npos) << "the loader names what it loads";
    EXPECT_EQ(plain.err.find("libQt6Gui"), std::string::npos);
    EXPECT_EQ(plain.err.find("tomefuse-contents"), std::string::npos);
    EXPECT_EQ(dumpPdf(out).substr(0, 6), "page 0");
    EXPECT_EQ(dumpPdf(out).find("page 5"), std::string::npos) << "no contents page, no blank page";
    QPDF before;
    before.processFile(out.c_str());
    EXPECT_FALSE(before.getTrailer().getKey("/Info").hasKey("/Title"));

    const CommandResult result =
        runCommand({TOMEFUSE_COMBINE, "--contents=1", "--duplex", "--title-meta", "Два тома", "--author", "Ann",
                    "--subject", "Tests", "--keywords", "a, b", "-o", out, a, b},
                   env);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "") << "Qt says nothing on a terminal";
    // Contents (two pages, for the right-hand start), Alpha, a blank page, Beta.
    EXPECT_EQ(dumpPdf(out),
              "page 0: 612x792 r0\npage 1: 612x792 r0\n"
              "page 2: 612x792 r0 'A1'\npage 3: 612x792 r0 'A2'\npage 4: 612x792 r0 'A3'\n"
              "page 5: 612x792 r0\n"
              "page 6: 612x792 r0 'B1'\npage 7: 612x792 r0 'B2'\n"
              "Contents -> page 0 (0, 792)\n"
              "Alpha -> page 2 (0, 792)\n  Start -> page 3 (72, 700)\n"
              "Beta -> page 6 (0, 792)\n");
    EXPECT_EQ(linkLines(out), (std::vector<std::string>{"0.0 -> 2 /XYZ 0 792 null", "0.1 -> 3 /XYZ 72 700 null",
                                                        "0.2 -> 6 /XYZ 0 792 null"}));
    const CommandResult text = runCommand({"pdftotext", "-layout", "-f", "1", "-l", "1", out, "-"});
    EXPECT_NE(text.out.find("Start"), std::string::npos) << text.out;
    const CommandResult info = runCommand({"pdfinfo", out});
    for (const char* line : {"Title:           Два тома\n", "Author:          Ann\n", "Subject:         Tests\n",
                             "Keywords:        a, b\n", "Metadata Stream: yes\n"}) {
        EXPECT_NE(info.out.find(line), std::string::npos) << line << info.out;
    }
    EXPECT_EQ(qpdfCheckProblems(out), "");

    const CommandResult wrong = runCommand({TOMEFUSE_COMBINE, "--contents=deep", "-o", dir.file("no.pdf"), a, b}, env);
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.err.find("--contents takes the depth of the bookmarks listed: 1, 2 or all: deep"),
              std::string::npos)
        << wrong.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("no.pdf")));
}

}  // namespace
