// Times adding files to the list through the open request of several files: for each file, open
// it, count its pages, flatten its outline. tomefuse-bench-add DIR [RUNS]
// Each run is a process of its own: parses of files dropped earlier in the same process would be
// reused, and a list is first made with nothing parsed.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/TomefuseAppDelegate.h"
#include "platform/terminal/TerminalServices.h"

using namespace tomefuse;

namespace {

// Seconds to add every path to a new list; negative when not all were added.
double addAll(const std::vector<std::string>& paths) {
    OverlayUserDefaults defaults;
    TerminalWorkspace workspace;
    TerminalSystem system;
    TomefuseAppDelegate controller(DesktopServices{defaults, NotificationCenter::defaultCenter(), workspace, system,
                                                   [] { return std::unique_ptr<OpenPanel>(); },
                                                   [] { return std::unique_ptr<SavePanel>(); }});
    controller.applicationDidFinishLaunching();
    const auto start = std::chrono::steady_clock::now();
    controller.openFiles(paths);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return controller.pdfsList().size() == paths.size() ? seconds : -1;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tomefuse-bench-add DIR [RUNS]\n");
        return 2;
    }
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        if (entry.path().extension() == ".pdf") {
            paths.push_back(std::filesystem::absolute(entry.path()).string());
        }
    }
    std::sort(paths.begin(), paths.end());
    const int runs = std::max(1, argc > 2 ? std::stoi(argv[2]) : 5);

    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        int channel[2];
        if (::pipe(channel) != 0) {
            return 1;
        }
        const pid_t child = ::fork();
        if (child == 0) {
            const double seconds = addAll(paths);
            const bool sent = ::write(channel[1], &seconds, sizeof seconds) == static_cast<ssize_t>(sizeof seconds);
            ::_exit(sent ? 0 : 1);
        }
        ::close(channel[1]);
        double seconds = -1;
        const bool received =
            child > 0 && ::read(channel[0], &seconds, sizeof seconds) == static_cast<ssize_t>(sizeof seconds);
        ::close(channel[0]);
        int status = 0;
        if (child > 0) {
            ::waitpid(child, &status, 0);
        }
        if (!received || seconds < 0) {
            std::fprintf(stderr, "a run failed, or not every file was added\n");
            return 1;
        }
        times.push_back(seconds);
    }
    std::printf("%zu files, %d runs: median %.3f s, best %.3f s\n", paths.size(), runs, median(times),
                *std::min_element(times.begin(), times.end()));
    return 0;
}
