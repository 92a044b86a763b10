#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "pdf/PdfTestSupport.h"
#include "support/Command.h"
#include "support/Fixtures.h"
#include "support/PdfDump.h"

using namespace tomefuse::test;

namespace {

class PageArranging : public ::testing::Test {
  protected:
    CommandResult combine(std::vector<std::string> args) {
        args.insert(args.begin(), {TOMEFUSE_COMBINE, "--quiet"});
        return runCommand(args, {{"XDG_CONFIG_HOME", config.path()}, {"TMPDIR", config.path()}});
    }

    TempDir dir;
    TempDir config;
};

// Each page of a combined file as "label@rotation", from the file reopened with libqpdf.
std::string turnsOf(const std::string& path) {
    static const std::regex page(R"(page \d+: \S+ r(\d+) '([^']*)')");
    const std::string dump = dumpPdf(path);
    std::string out;
    for (std::sregex_iterator it(dump.begin(), dump.end(), page), end; it != end; ++it) {
        out += (out.empty() ? "" : " ") + (*it)[2].str() + "@" + (*it)[1].str();
    }
    return out;
}

// Turns add to the rotation a page had, its own or inherited from its page tree, and only
// /Rotate changes: each page still shows what it showed.
TEST_F(PageArranging, RotationAddsToWhatEachPageHad) {
    const std::string own = dir.file("own.pdf");
    PdfBuilder()
        .addPage(makePage("O1", 612, 792, 0))
        .addPage(makePage("O2", 612, 792, 90))
        .addPage(makePage("O3", 612, 792, 270))
        .write(own);
    const std::string plain = dir.file("plain.pdf");
    PdfBuilder().addPage(makePage("I1", 400, 600, 90)).addPage(makePage("I2", 400, 600, 90)).write(plain);
    const std::string inherited = dir.file("inherited.pdf");
    makeInherited(plain, inherited);
    const std::string out = dir.file("out.pdf");

    const struct {
        std::vector<std::string> turns;
        std::string expected;
    } cases[] = {
        {{"1=0", "2=0"}, "O1@0 O2@90 O3@270 I1@90 I2@90"},
        {{"1=90", "2=90"}, "O1@90 O2@180 O3@0 I1@180 I2@180"},
        {{"1=180", "2=180"}, "O1@180 O2@270 O3@90 I1@270 I2@270"},
        {{"1=270", "2=270"}, "O1@270 O2@0 O3@180 I1@0 I2@0"},
        {{"1=-90", "2=-90"}, "O1@270 O2@0 O3@180 I1@0 I2@0"},
        {{"1=450", "2=-360"}, "O1@90 O2@180 O3@0 I1@90 I2@90"},
        // Some pages, in the --pages syntax; turns of one file add up.
        {{"1=90:2-z", "1=-90:z", "2=180:1"}, "O1@0 O2@180 O3@270 I1@270 I2@90"},
        {{"1=90", "1=90:1,1"}, "O1@180 O2@180 O3@0 I1@90 I2@90"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"-o", out, own, inherited};
        for (const std::string& turn : c.turns) {
            args.insert(args.begin(), {"--rotate", turn});
        }
        const CommandResult result = combine(args);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(turnsOf(out), c.expected) << c.turns.front();
        EXPECT_EQ(qpdfCheckProblems(out), "");
    }
    EXPECT_NE(dumpPdf(out).find("page 3: 400x600 r90 'I1'"), std::string::npos) << "the box stays as it was";
}

// Fronts and backs of a duplex scan as one entry, the backs in order or last page first; the
// rest of the longer file follows. The entry is named after the first file, and its pages can be
// chosen and turned in the order they take.
TEST_F(PageArranging, InterleaveTakesTwoFilesPagesInTurn) {
    const std::string a = makePdf(dir, "Alpha.pdf", 3, {item("Second", 1)}, "A");
    const std::string b = makePdf(dir, "Beta.pdf", 3, {}, "B");
    const std::string c = makePdf(dir, "Gamma.pdf", 1, {item("Only", 0)}, "C");
    const std::string out = dir.file("out.pdf");
    const struct {
        std::vector<std::string> args;
        std::string pages;
        std::string outline;
    } cases[] = {
        {{"--interleave", "1,2", a, b}, "A1@0 B1@0 A2@0 B2@0 A3@0 B3@0", "Alpha -> page 0\n  Second -> page 2\n"},
        {{"--interleave", "1,2,reverse", a, b},
         "A1@0 B3@0 A2@0 B2@0 A3@0 B1@0",
         "Alpha -> page 0\n  Second -> page 2\n"},
        // Unequal counts, the entry at the first file's place, other files before and after it.
        {{"--interleave", "1,2,reverse", c, a, b},
         "C1@0 A3@0 A2@0 A1@0 B1@0 B2@0 B3@0",
         "Gamma -> page 0\n  Only -> page 0\n  Second -> page 2\nBeta -> page 4\n"},
        {{"--interleave", "3,2,reverse", b, c, a},
         "B1@0 B2@0 B3@0 A1@0 C1@0 A2@0 A3@0",
         "Beta -> page 0\nAlpha -> page 3\n  Second -> page 5\n  Only -> page 4\n"},
        // Pages and turns count in the entry's pages: the backs are 2, 4 and 6.
        {{"--interleave", "1,2", "--pages", "1=2-z", "--rotate", "1=180:2,4,6", "--title", "1=Scan", a, b},
         "B1@180 A2@0 B2@180 A3@0 B3@180",
         "Scan -> page 0\n  Second -> page 1\n"},
        {{"--interleave", "1,2", "--pages", "1=3,4", a, c, b},
         "A2@0 A3@0 B1@0 B2@0 B3@0",
         "Alpha -> page 0\n  Second -> page 0\nBeta -> page 2\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pages);
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), {"--file-bookmarks", "--keep-bookmarks", "-o", out});
        const CommandResult result = combine(args);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(turnsOf(out), c.pages);
        EXPECT_EQ(std::regex_replace(dumpOutline(out), std::regex(R"( \([^)]*\))"), ""), c.outline);
        EXPECT_EQ(qpdfCheckProblems(out), "");
    }
}

TEST_F(PageArranging, WrongTurnsAndInterleavesGetOneClearLine) {
    const std::string a = makePdf(dir, "a.pdf", 2);
    const std::string b = makePdf(dir, "b.pdf", 1);
    const std::string out = dir.file("out.pdf");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--rotate", "x"}, "--rotate wants N=DEG or N=DEG:RANGES, N counting the files from 1: x"},
        {{"--rotate", "0=90"}, "--rotate wants N=DEG or N=DEG:RANGES"},
        {{"--rotate", "1=45"}, "--rotate 1=45: DEG is a multiple of 90, such as 90, 180, 270 or -90"},
        {{"--rotate", "1=right"}, "--rotate 1=right: DEG is a multiple of 90"},
        {{"--rotate", "1=90:"}, "--rotate 1=90:: give the pages after the colon, such as 1-3,7"},
        {{"--rotate", "1=90:5"}, "--rotate 1=90:5: “5”: the file has 2 pages"},
        {{"--rotate", "1=90:x"}, "--rotate 1=90:x: “x” is not a page or a range of pages"},
        {{"--rotate", "3=90"}, "file 3 is named in an option; there are only 2 files"},
        {{"--interleave", "1"}, "--interleave wants N,M or N,M,reverse, two different file numbers from 1: 1"},
        {{"--interleave", "1,1"}, "--interleave wants N,M or N,M,reverse"},
        {{"--interleave", "1,2,backwards"}, "--interleave wants N,M or N,M,reverse"},
        {{"--interleave", "1,3"}, "--interleave names file 3; there are only 2 files"},
        {{"--interleave", "1,2", "--interleave", "2,1"},
         "--interleave 2,1: file 1 is already interleaved with another"},
        {{"--interleave", "1,2", "--pages", "2=1"},
         "file 2 is interleaved into file 1: give the entry's --title, --pages and --rotate as file 1's"},
        {{"--interleave", "1,2", "--pages", "1=4"}, "--pages 1=4: “4”: the file has 3 pages"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"-o", out, a, b});
        const CommandResult result = combine(args);
        EXPECT_EQ(result.status, 2) << c.message;
        EXPECT_EQ(result.err.rfind("tomefuse-combine: " + c.message, 0), 0u) << result.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

}  // namespace
