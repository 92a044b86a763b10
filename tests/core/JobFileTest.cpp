#include <gtest/gtest.h>

#include <filesystem>

#include "list/JobFile.h"
#include "support/PdfBuilder.h"

namespace tomefuse::test {
namespace {

namespace fs = std::filesystem;

TEST(JobFile, WrittenAndReadBackWithPathsThatMoveWithTheFolder) {
    TempDir dir;
    const std::string folder = dir.file("report");
    fs::create_directories(folder + "/scans");
    for (const char* name : {"intro.pdf", "scans/fronts.pdf", "scans/backs.pdf"}) {
        writeTextFile(folder + "/" + name, "%PDF-1.4\n");
    }
    writeTextFile(dir.file("outside.pdf"), "%PDF-1.4\n");

    Job job;
    job.entries = {{folder + "/intro.pdf", "Introduction", "1-3, z", 90, "", false},
                   {folder + "/scans/fronts.pdf", "Scan", "all", 0, folder + "/scans/backs.pdf", true},
                   {dir.file("outside.pdf"), "Appendix", "all", 270, "", false}};
    job.entries[1].pageRotations = {{"2, 4-z", 180}, {"1", 90}};
    job.options.fileBookmarks = false;
    job.options.contentsDepth = 2;
    job.options.imagePages = "letter";
    job.options.title = "Monthly report";
    const std::string path = folder + "/month.tomefuse";
    std::string error;
    ASSERT_TRUE(writeJobFile(path, job, error)) << error;

    const std::string text = readTextFile(path);
    EXPECT_NE(text.find("\"scans/backs.pdf\""), std::string::npos) << text;
    EXPECT_NE(text.find(dir.file("outside.pdf")), std::string::npos) << "outside the folder: absolute";
    EXPECT_EQ(text.find("password"), std::string::npos);

    JobReading reading = readJobFile(path);
    ASSERT_TRUE(reading.job) << reading.error;
    EXPECT_EQ(*reading.job, job);
    EXPECT_TRUE(reading.missing.empty());

    // The folder moves: what was inside follows it, what was outside stays where it was.
    fs::rename(folder, dir.file("moved"));
    reading = readJobFile(dir.file("moved/month.tomefuse"));
    ASSERT_TRUE(reading.job) << reading.error;
    EXPECT_EQ(reading.job->entries[1].path, dir.file("moved/scans/fronts.pdf"));
    EXPECT_EQ(reading.job->entries[1].interleavePath, dir.file("moved/scans/backs.pdf"));
    EXPECT_EQ(reading.job->entries[2].path, dir.file("outside.pdf"));
    EXPECT_TRUE(reading.missing.empty());
}

TEST(JobFile, WhatCannotBeReadIsSaidAndAMissingFileLosesNothingElse) {
    struct Case {
        const char* text;
        const char* error;  // a part of it; empty: read
        size_t missing;
    };
    const Case cases[] = {
        {R"({"tomefuse-job": 2, "entries": []})", "newer Tomefuse (job format 2)", 0},
        {R"({"entries": []})", "not a Tomefuse job file", 0},
        {"not json", "damaged job file", 0},
        {R"({"tomefuse-job": 1, "entries": [{"name": "no path"}]})", "damaged job file", 0},
        {R"({"tomefuse-job": 1, "entries": [{"path": "/a.pdf", "rotation": 45}]})", "quarter turn", 0},
        {R"({"tomefuse-job": 1, "entries": [], "options": {"imagePages": "legal"}})", "image page size", 0},
        {R"({"tomefuse-job": 1, "entries": [{"path": "gone.pdf"}, {"path": "/", "rotation": -90}]})", "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const JobReading reading = readJobText(c.text, "/nonexistent-folder");
        if (*c.error) {
            EXPECT_FALSE(reading.job);
            EXPECT_NE(reading.error.find(c.error), std::string::npos) << reading.error;
            continue;
        }
        ASSERT_TRUE(reading.job) << reading.error;
        ASSERT_EQ(reading.job->entries.size(), 2u);
        EXPECT_EQ(reading.job->entries[0].name, "gone");
        EXPECT_EQ(reading.job->entries[1].rotation, 270);
        EXPECT_EQ(reading.missing, std::vector<std::string>{"/nonexistent-folder/gone.pdf"});
    }
}

}  // namespace
}  // namespace tomefuse::test
