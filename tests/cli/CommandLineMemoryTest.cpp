#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include "pdf/PdfTestSupport.h"
#include "support/Command.h"
#include "support/Fixtures.h"

using namespace tomefuse::test;

namespace {

#if !defined(__SANITIZE_ADDRESS__)
// The process the time limit's wrapper started.
pid_t childOf(pid_t wrapper) {
    std::ifstream children("/proc/" + std::to_string(wrapper) + "/task/" + std::to_string(wrapper) + "/children");
    pid_t child = 0;
    children >> child;
    return child;
}

// The address space a process holds now, in bytes.
uint64_t addressSpaceOf(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmSize:", 0) == 0) {
            return std::stoull(line.substr(7)) * 1024;
        }
    }
    return 0;
}
#endif

// Out of memory while the pages are written: the run ends as a failed write (4), says so, and
// the target is as it was, with nothing left beside it. The listing reads the large page while
// memory is plenty; the run then waits at its pause point and is held to what it has, less than
// the page's string takes to read again.
TEST(CommandLineMemory, RunningOutOfMemoryInTheWriteLeavesTheTargetAsItWas) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator does not live within an address-space limit";
#else
    std::signal(SIGPIPE, SIG_IGN);
    TempDir dir;
    TempDir config;
    const std::string a = makePdf(dir, "a.pdf", 2);
    const std::string big = dir.file("big.pdf");
    writeTextFile(big, rawPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                               "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Big (" +
                                   std::string(48u << 20, 'x') + ") >>"}));
    const std::string out = dir.file("out.pdf");
    writeTextFile(out, "the old file");
    const std::string fifo = dir.file("gate");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    std::promise<pid_t> started;
    std::string limited;
    std::thread limiter([&, pid = started.get_future()]() mutable {
        const pid_t wrapper = pid.get();
        std::ofstream gate(fifo);  // opens once the run waits at the gate
        const pid_t child = childOf(wrapper);
        const uint64_t now = addressSpaceOf(child);
        const struct rlimit limit = {now + (16u << 20), now + (16u << 20)};
        if (child > 0 && now > 0 && ::prlimit(child, RLIMIT_AS, &limit, nullptr) == 0) {
            limited = "yes";
        }
        gate << "go";
    });
    // Freed memory goes back to the system at once, so what the run holds at the gate is what
    // it needs, not what the listing left behind.
    const CommandResult result = runCommand({TOMEFUSE_COMBINE, "--quiet", "-o", out, a, big, a},
                                            {{"XDG_CONFIG_HOME", config.path()},
                                             {"HOME", config.path()},
                                             {"MALLOC_MMAP_THRESHOLD_", "131072"},
                                             {"MALLOC_ARENA_MAX", "1"},
                                             {"TOMEFUSE_PAUSE_BEFORE_COMBINE", fifo}},
                                            120, [&](pid_t pid) { started.set_value(pid); });
    limiter.join();
    ASSERT_EQ(limited, "yes");
    EXPECT_EQ(result.status, 4) << result.err;
    EXPECT_NE(result.err.find("not enough memory"), std::string::npos) << result.err;
    EXPECT_EQ(readTextFile(out), "the old file");
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_NE(entry.path().filename().string().rfind(".tomefuse-", 0), 0u) << "a temporary file is left";
    }
#endif
}

}  // namespace
