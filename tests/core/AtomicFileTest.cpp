#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/desktop/AtomicFile.h"
#include "support/PdfBuilder.h"

namespace tomefuse::test {
namespace {

namespace fs = std::filesystem;

mode_t modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// The whole of data written through an atomic file.
WriteResult writeFileAtomically(const std::string& data, const std::string& path) {
    std::string error;
    auto file = AtomicFile::create(path, error);
    if (!file) {
        return {false, error};
    }
    if (::write(file->fd(), data.data(), data.size()) != static_cast<ssize_t>(data.size())) {
        return {false, "cannot write"};
    }
    return file->commit();
}

// What is at the target after an atomic write, and what is beside it: a replaced file keeps its
// permissions, a symbolic link keeps being the link while the file it names is replaced, and a
// write that cannot happen leaves everything as it was and no temporary file.
TEST(AtomicFile, ReplacesOnlyWhenWholeAndKeepsWhatTheFileWas) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct Case {
        const char* name;
        std::function<void(const std::string& dir)> before;
        std::string target;    // written to, below dir
        std::string replaced;  // the file that must hold the new bytes ("" when none)
        mode_t mode;
        std::string error;  // expected in the reason, when the write fails
    };
    const Case cases[] = {
        {"a new file", [](const std::string&) {}, "new.pdf", "new.pdf", static_cast<mode_t>(0666 & ~mask), ""},
        {"a private file stays private",
         [](const std::string& d) {
             writeTextFile(d + "/private.pdf", "old");
             ::chmod((d + "/private.pdf").c_str(), 0600);
         },
         "private.pdf", "private.pdf", 0600, ""},
        {"through a link, the file it names",
         [](const std::string& d) {
             writeTextFile(d + "/real.pdf", "old");
             ::chmod((d + "/real.pdf").c_str(), 0640);
             fs::create_symlink("real.pdf", d + "/link.pdf");
         },
         "link.pdf", "real.pdf", 0640, ""},
        {"through a dangling link, a new file where it points",
         [](const std::string& d) { fs::create_symlink("made.pdf", d + "/dangling.pdf"); }, "dangling.pdf", "made.pdf",
         static_cast<mode_t>(0666 & ~mask), ""},
        {"a folder in the way", [](const std::string& d) { fs::create_directory(d + "/folder.pdf"); }, "folder.pdf", "",
         0, "a folder of that name exists"},
        {"below a plain file", [](const std::string& d) { writeTextFile(d + "/plain", "x"); }, "plain/out.pdf", "", 0,
         "cannot create a file in"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        c.before(dir.path());
        const auto before = std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
        const WriteResult result = writeFileAtomically("%PDF-new", dir.file(c.target));
        if (!c.error.empty()) {
            EXPECT_FALSE(result.ok);
            EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
            EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), before);
            continue;
        }
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(readTextFile(dir.file(c.replaced)), "%PDF-new");
        EXPECT_EQ(modeOf(dir.file(c.replaced)), c.mode);
        if (c.target != c.replaced) {
            EXPECT_TRUE(fs::is_symlink(dir.file(c.target))) << "the link itself stays";
        }
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            EXPECT_NE(entry.path().filename().string().rfind(".tomefuse-", 0), 0u) << "a temporary file is left";
        }
    }

    // Given up, or dropped unwritten: the target is untouched and nothing is left beside it.
    TempDir dir;
    writeTextFile(dir.file("kept.pdf"), "old");
    std::string error;
    auto file = AtomicFile::create(dir.file("kept.pdf"), error);
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(::write(file->fd(), "new", 3), 3);
    file.reset();
    EXPECT_EQ(readTextFile(dir.file("kept.pdf")), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace tomefuse::test
