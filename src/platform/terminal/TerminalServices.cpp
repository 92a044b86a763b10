#include "platform/terminal/TerminalServices.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "platform/desktop/AtomicFile.h"
#include "platform/desktop/FileURL.h"
#include "platform/desktop/PrivateFolder.h"

extern char** environ;

namespace tomefuse {

namespace {

// Starts a helper program without waiting for what it starts in turn; answers whether it ran and
// exited with status 0.
bool run(std::vector<std::string> argv) {
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (std::string& a : argv) {
        args.push_back(a.data());
    }
    args.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) {
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

void OverlayUserDefaults::registerDefaults(const std::map<std::string, bool>& defaults) {
    for (const auto& [key, value] : defaults) {
        registered_[key] = value;
    }
}

bool OverlayUserDefaults::boolForKey(const std::string& key) const {
    if (auto it = values_.find(key); it != values_.end()) {
        return it->second;
    }
    auto it = registered_.find(key);
    return it != registered_.end() && it->second;
}

std::string OverlayUserDefaults::stringForKey(const std::string& key) const {
    auto it = strings_.find(key);
    return it != strings_.end() ? it->second : std::string();
}

void TerminalSystem::log(const std::string& line) {
    if (verbose) {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

std::string TerminalSystem::temporaryDirectory() const {
    std::string dir = "/tmp";
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) {
        dir = tmp;
    }
    while (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    return userTemporaryDirectory(dir);
}

std::unique_ptr<AtomicFile> TerminalSystem::createAtomicFile(const std::string& path, std::string& error) {
    writtenPath = path;
    return AtomicFile::create(path, error);
}

namespace {

// The command line waits for its helpers: nothing else is going on meanwhile.
void answer(const Workspace::Done& done, bool succeeded) {
    if (done) {
        done(succeeded);
    }
}

}  // namespace

void TerminalWorkspace::openFile(const std::string& path, Done done) {
    answer(done, mode_ == Mode::none || run({"xdg-open", path}));
}

void TerminalWorkspace::selectFile(const std::string& path, const std::string& rootPath, Done done) {
    if (mode_ == Mode::none) {
        answer(done, true);
        return;
    }
    const bool shown = run({"dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.FileManager1",
                            "/org/freedesktop/FileManager1", "org.freedesktop.FileManager1.ShowItems",
                            "array:string:" + fileURLForPath(path), "string:"});
    answer(done, shown || run({"xdg-open", rootPath}));
}

void TerminalWorkspace::openURL(const std::string& url, Done done) { answer(done, run({"xdg-open", url})); }

}  // namespace tomefuse
