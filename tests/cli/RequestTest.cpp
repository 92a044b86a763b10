#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/CommandLine.h"
#include "cli/Request.h"
#include "platform/terminal/TerminalServices.h"
#include "support/Fixtures.h"

using namespace tomefuse;
using namespace tomefuse::test;

namespace {

cli::Parsed parse(std::vector<std::string> args) {
    args.insert(args.begin(), "tomefuse-combine");
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    optind = 1;
    return cli::parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

// The arguments as the request the combine gets: what each file is called and takes, and the
// settings of the run.
TEST(CommandLineRequest, ArgumentsBecomeOneRequest) {
    TempDir dir;
    const std::string a = makePdf(dir, "Alpha.pdf", 4);
    const std::string b = makePdf(dir, "Beta.pdf", 2);
    TerminalSystem system;
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> names;
        std::vector<uint64_t> pages;  // expected of each file
        std::string problem;
    };
    const Case cases[] = {
        {{"-o", "out.pdf", a, b}, {"Alpha", "Beta"}, {4, 2}, ""},
        {{"-o", "out.pdf", "--title", "2=Second", "--title", "1=  ", a, b}, {"Alpha", "Second"}, {4, 2}, ""},
        {{"-o", "out.pdf", "--pages", "1=4-2,4", a, b}, {"Alpha", "Beta"}, {4, 2}, ""},
        {{"-o", "out.pdf", "--pages", "1=z", "--pages", "2=1,1,1", a, b}, {"Alpha", "Beta"}, {1, 3}, ""},
        {{"-o", "out.pdf", "--pages", "2=3", a, b}, {"Alpha", "Beta"}, {4, 2}, "--pages 2=3: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[2]);
        const cli::Parsed parsed = parse(c.args);
        ASSERT_TRUE(parsed.options) << parsed.problem;
        const cli::Listing listing = cli::listFiles(*parsed.options, system);
        EXPECT_TRUE(listing.unreadable.empty());
        EXPECT_EQ(listing.output, std::filesystem::absolute("out.pdf").lexically_normal().string());
        EXPECT_EQ(listing.problem.substr(0, c.problem.size()), c.problem);
        ASSERT_EQ(listing.files.size(), 2u);
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(listing.files[i].filename, c.names[i]);
            EXPECT_EQ(listing.files[i].expectedPages, c.pages[i]);
        }
    }
}

TEST(CommandLineRequest, FlagsOverTheStoredSettingsForOneRun) {
    TempDir config;
    std::filesystem::create_directories(config.path() + "/Tomefuse");
    std::ofstream(config.path() + "/Tomefuse/Tomefuse.conf")
        << "[General]\npreserveExistingTOCs=false\nshouldAddContentsPage=true\n";
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    const cli::Parsed plain = parse({"-o", "x.pdf", "a.pdf", "b.pdf"});
    CombineSettings settings = cli::settingsFor(*plain.options, nullptr);
    EXPECT_TRUE(settings.fileBookmarks) << "the default";
    EXPECT_FALSE(settings.keepBookmarks) << "as stored";
    EXPECT_FALSE(settings.contents.add) << "the document's own come from the flags alone";
    EXPECT_FALSE(settings.leaveOutUnreadable);

    const cli::Parsed flags = parse({"--keep-bookmarks", "--no-file-bookmarks", "--contents=all", "--duplex",
                                     "--skip-unreadable", "--author", "Ann", "-o", "x.pdf", "a.pdf", "b.pdf"});
    settings = cli::settingsFor(*flags.options, nullptr);
    EXPECT_FALSE(settings.fileBookmarks);
    EXPECT_TRUE(settings.keepBookmarks);
    EXPECT_TRUE(settings.contents.add);
    EXPECT_EQ(settings.contents.depth, -1);
    EXPECT_TRUE(settings.startFilesOnRightHandPages);
    EXPECT_TRUE(settings.leaveOutUnreadable);
    EXPECT_EQ(settings.properties.author, "Ann");
    ::unsetenv("XDG_CONFIG_HOME");
}

// A contents page lists no bookmarks, or those one, two or all levels deep; no other depth.
TEST(CommandLineRequest, ContentsDepthIsOneTwoOrAll) {
    const struct {
        const char* flag;
        std::optional<int> depth;  // none: refused
    } cases[] = {
        {"--contents", 0},    {"--contents=1", 1},    {"--contents=2", 2},   {"--contents=all", -1},
        {"--contents=0", {}}, {"--contents=3", {}},   {"--contents=01", {}}, {"--contents=-1", {}},
        {"--contents=", {}},  {"--contents=ALL", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flag);
        const cli::Parsed parsed = parse({c.flag, "-o", "x.pdf", "a.pdf", "b.pdf"});
        ASSERT_EQ(parsed.options.has_value(), c.depth.has_value()) << parsed.problem;
        if (c.depth) {
            EXPECT_EQ(parsed.options->contentsDepth, c.depth);
        } else {
            EXPECT_EQ(parsed.status, cli::usageError);
        }
    }
}

// Images are pages of their own size unless a sheet is named; the listing and the combine agree.
TEST(CommandLineRequest, ImagePagesAreNaturalOrFittedToA4OrLetter) {
    const struct {
        std::vector<std::string> flags;
        std::optional<ImagePageSize> size;  // none: refused
    } cases[] = {
        {{}, ImagePageSize::natural},
        {{"--image-pages", "natural"}, ImagePageSize::natural},
        {{"--image-pages=a4"}, ImagePageSize::a4},
        {{"--image-pages", "a4", "--image-pages", "letter"}, ImagePageSize::letter},
        {{"--image-pages", "A4"}, {}},
        {{"--image-pages", "legal"}, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.flags;
        SCOPED_TRACE(args.empty() ? "none" : args.back());
        args.insert(args.end(), {"-o", "x.pdf", "a.pdf", "b.pdf"});
        const cli::Parsed parsed = parse(args);
        ASSERT_EQ(parsed.options.has_value(), c.size.has_value()) << parsed.problem;
        if (c.size) {
            EXPECT_EQ(cli::settingsFor(*parsed.options, nullptr).imagePages, *c.size);
        } else {
            EXPECT_EQ(parsed.status, cli::usageError);
            EXPECT_NE(parsed.problem.find("natural, a4 or letter"), std::string::npos) << parsed.problem;
        }
    }
}

}  // namespace
