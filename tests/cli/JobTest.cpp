#include <gtest/gtest.h>

#include <filesystem>

#include "support/Command.h"
#include "support/Fixtures.h"
#include "support/PdfDump.h"

using namespace tomefuse::test;

namespace {

namespace fs = std::filesystem;

class Job : public ::testing::Test {
  protected:
    CommandResult combine(std::vector<std::string> args) {
        args.insert(args.begin(), {TOMEFUSE_COMBINE, "--quiet"});
        return runCommand(args, {{"XDG_CONFIG_HOME", config.path()}, {"TMPDIR", config.path()}});
    }

    TempDir dir;
    TempDir config;
};

// A job saved from a command line replays to the same document, also once its folder moved,
// with flags after it overriding it; its passwords are asked for again.
TEST_F(Job, SavedAndReplayedToTheSamePagesAndOutline) {
    const std::string folder = dir.file("month");
    fs::create_directories(folder + "/scans");
    const std::string a = makePdf(dir, "month/Alpha.pdf", 3, {item("Start", 0), item("End", 2)}, "A");
    const std::string fronts = makePdf(dir, "month/scans/fronts.pdf", 2, {}, "F");
    const std::string backs = makePdf(dir, "month/scans/backs.pdf", 2, {}, "B");
    const std::string outside = makePdf(dir, "Outside.pdf", 1, {}, "O");
    const std::string locked = folder + "/locked.pdf";
    fs::copy_file(std::string(TOMEFUSE_CORPUS_DIR) + "/qpdf/20-pages.pdf", locked);
    const std::string job = folder + "/month.tomefuse";
    const std::string first = dir.file("first.pdf");

    const CommandResult saved = combine({"--save-job",
                                         job,
                                         "--file-bookmarks",
                                         "--keep-bookmarks",
                                         "--title",
                                         "1=Report",
                                         "--pages",
                                         "1=3,1",
                                         "--rotate",
                                         "1=90",
                                         "--rotate",
                                         "3=180:2",
                                         "--interleave",
                                         "3,4,reverse",
                                         "--pages",
                                         "5=1-2",
                                         "--password",
                                         "5=user",
                                         "--title-meta",
                                         "March",
                                         "-o",
                                         first,
                                         a,
                                         outside,
                                         fronts,
                                         backs,
                                         locked});
    ASSERT_EQ(saved.status, 0) << saved.err;
    const std::string text = readTextFile(job);
    EXPECT_NE(text.find("\"scans/backs.pdf\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"" + outside + "\""), std::string::npos) << "outside the folder: absolute\n" << text;
    EXPECT_EQ(text.find("\"user\""), std::string::npos) << text;
    EXPECT_EQ(text.find(first), std::string::npos) << "where the output goes is not the job's\n" << text;
    const std::string expected = dumpPdf(first);
    EXPECT_NE(expected.find("r90 'A3'"), std::string::npos) << expected;

    fs::rename(folder, dir.file("moved"));
    const std::string moved = dir.file("moved/month.tomefuse");
    const std::string again = dir.file("again.pdf");
    // The protected file asks for its password again.
    CommandResult replayed = combine({"--job", moved, "-o", again});
    EXPECT_EQ(replayed.status, 3) << replayed.err;
    EXPECT_NE(replayed.err.find("locked.pdf: needs a password"), std::string::npos) << replayed.err;

    replayed = combine({"--job", moved, "--password", "5=user", "-o", again});
    ASSERT_EQ(replayed.status, 0) << replayed.err;
    EXPECT_EQ(dumpPdf(again), expected);

    // Flags after the job override it; files after it follow its own.
    replayed = combine({"--job", moved, "--title", "1=Other", "--rotate", "1=0", "--drop-bookmarks", "--password",
                        "5=user", "-o", again, outside});
    ASSERT_EQ(replayed.status, 0) << replayed.err;
    EXPECT_EQ(dumpOutline(again).substr(0, 5), "Other");
    EXPECT_EQ(dumpOutline(again).find("Start"), std::string::npos);
    EXPECT_NE(dumpPdf(again).find("page 0: 612x792 r0 'A3'"), std::string::npos) << dumpPdf(again);
    EXPECT_NE(dumpPdf(again).find("'O1'\nOther"), std::string::npos) << dumpPdf(again);
    EXPECT_EQ(readTextFile(moved), text) << "replaying a job leaves it as it was";
}

// A job that cannot be replayed says why in one line and writes nothing; the job stays as it was.
TEST_F(Job, GoneFilesAndNewerFormatsAreNamedAndNothingIsLost) {
    const std::string a = makePdf(dir, "a.pdf", 1);
    const std::string b = makePdf(dir, "b.pdf", 2);
    const std::string job = dir.file("j.tomefuse");
    const std::string out = dir.file("out.pdf");
    ASSERT_EQ(combine({"--save-job", job, a, b}).status, 0) << "a job alone, no combine";
    EXPECT_FALSE(fs::exists(out));
    const std::string text = readTextFile(job);

    const std::string newer = dir.file("newer.tomefuse");
    std::string future = text;
    future.replace(future.find("\"tomefuse-job\": 1"), 17, "\"tomefuse-job\": 9");
    writeTextFile(newer, future);
    const std::string damaged = dir.file("damaged.tomefuse");
    writeTextFile(damaged, "{\"tomefuse-job\": 1, \"entries\": [{\"name\": \"no path\"}]}");
    fs::remove(b);

    const struct {
        std::vector<std::string> args;
        int status;
        std::string line;
    } cases[] = {
        {{"--job", job, "-o", out}, 3, job + " names a file that is no longer there: " + b},
        {{"--job", newer, "-o", out}, 3, newer + ": made by a newer Tomefuse (job format 9); this one reads format 1"},
        {{"--job", damaged, "-o", out}, 3, damaged + ": a damaged job file"},
        {{"--job", dir.file("none.tomefuse"), "-o", out}, 3, dir.file("none.tomefuse") + ": no longer there"},
        {{"--job", job, "--job", job, "-o", out}, 2, "give --job once"},
        {{"--save-job", dir.file("no/such/folder/j.tomefuse"), a, a}, 4, "the job could not be saved"},
        {{"--save-job", a, a, a}, 2, "the job file " + a + " is one of the files to combine"},
    };
    for (const auto& c : cases) {
        const CommandResult result = combine(c.args);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_EQ(result.err.rfind("tomefuse-combine: " + c.line, 0), 0u) << result.err;
        if (c.status == 3) {
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        }
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(readTextFile(job), text);

    // Left out when asked to, as any file that cannot be read.
    const std::string c = makePdf(dir, "c.pdf", 1);
    const CommandResult skipped = combine({"--job", job, "--skip-unreadable", "-o", out, c});
    EXPECT_EQ(skipped.status, 0) << skipped.err;
    EXPECT_NE(skipped.err.find("skipping " + b), std::string::npos) << skipped.err;
}

}  // namespace
