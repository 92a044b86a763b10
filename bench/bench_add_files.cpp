// Times adding files to the list through the open request of several files: for each file, open
// it, count its pages, flatten its outline. tomefuse-bench-add DIR [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/TomefuseAppDelegate.h"
#include "platform/terminal/TerminalServices.h"

using namespace tomefuse;

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
    const int runs = argc > 2 ? std::stoi(argv[2]) : 5;

    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        OverlayUserDefaults defaults;
        TerminalWorkspace workspace;
        TerminalSystem system;
        TomefuseAppDelegate controller(DesktopServices{defaults, NotificationCenter::defaultCenter(), workspace, system,
                                                       [] { return std::unique_ptr<OpenPanel>(); },
                                                       [] { return std::unique_ptr<SavePanel>(); }});
        controller.applicationDidFinishLaunching();
        const auto start = std::chrono::steady_clock::now();
        controller.openFiles(paths);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (controller.pdfsList().size() != paths.size()) {
            std::fprintf(stderr, "only %zu of %zu files were added\n", controller.pdfsList().size(), paths.size());
            return 1;
        }
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%zu files, %d runs: median %.3f s, best %.3f s\n", paths.size(), runs, seconds[seconds.size() / 2],
                seconds.front());
    return 0;
}
