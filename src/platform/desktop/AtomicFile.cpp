#include "platform/desktop/AtomicFile.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace tomefuse {

namespace {

std::string reason(const std::string& what) { return what + ": " + std::strerror(errno); }

std::string directoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path leads to through symbolic links, which may not exist yet (a link to a file
// still to be made). A path that is no link is itself.
std::string resolveLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0) {
            return path;
        }
        std::string next(target, static_cast<size_t>(n));
        path = next.front() == '/' ? next : directoryOf(path) + "/" + next;
    }
    return path;
}

// Temporary files not yet committed, for the signal handler: fixed storage, so the handler reads
// only memory that is never freed or moved. A slot is claimed, filled, then armed; the handler
// removes the files of armed slots.
constexpr size_t maxPending = 16;
struct Pending {
    std::atomic<bool> claimed{false};
    std::atomic<bool> armed{false};
    char path[PATH_MAX] = {};
};
std::array<Pending, maxPending> pending;

int remember(const std::string& path) {
    if (path.size() >= PATH_MAX) {
        return -1;
    }
    for (size_t i = 0; i < pending.size(); ++i) {
        if (!pending[i].claimed.exchange(true)) {
            std::memcpy(pending[i].path, path.c_str(), path.size() + 1);
            pending[i].armed.store(true, std::memory_order_release);
            return static_cast<int>(i);
        }
    }
    return -1;
}

void forget(int slot) {
    if (slot >= 0) {
        pending[static_cast<size_t>(slot)].armed.store(false, std::memory_order_release);
        pending[static_cast<size_t>(slot)].claimed.store(false, std::memory_order_release);
    }
}

void (*afterCleanup)(int) = nullptr;

void onSignal(int signal) {
    for (auto& entry : pending) {
        if (entry.armed.load(std::memory_order_acquire)) {
            ::unlink(entry.path);
        }
    }
    if (afterCleanup) {
        afterCleanup(signal);
    }
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

}  // namespace

AtomicFile::AtomicFile(std::string target, std::string temporary, int fd, int slot)
    : target_(std::move(target)), temporary_(std::move(temporary)), fd_(fd), slot_(slot) {}

std::unique_ptr<AtomicFile> AtomicFile::create(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "no file name given";
        return nullptr;
    }
    const std::string target = resolveLinks(path);
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        error = "a folder of that name exists";
        return nullptr;
    }
    const std::string dir = directoryOf(target);
    // Beside the target, so that the rename stays on one file system.
    std::string temporary = dir + "/.tomefuse-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = reason("cannot create a file in " + dir);
        return nullptr;
    }
    const int slot = remember(temporary);
    return std::unique_ptr<AtomicFile>(new AtomicFile(target, std::move(temporary), fd, slot));
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    forget(slot_);
    slot_ = -1;
}

WriteResult AtomicFile::commit() {
    if (fd_ < 0 || temporary_.empty()) {
        return {false, "the file was already written or given up"};
    }
    std::string error;
    if (::fsync(fd_) != 0) {
        error = reason("cannot flush to disk");
    }
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        // A file replaced keeps its permissions and, where the user may set it, its group.
        ::fchmod(fd_, existing.st_mode & 07777);
        if (::fchown(fd_, static_cast<uid_t>(-1), existing.st_gid) != 0) {
            ::fchmod(fd_, existing.st_mode & 0777);
        }
    } else {
        // mkstemp makes the file 0600; a new document gets the usual permissions.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd_, 0666 & ~mask);
    }
    if (::close(fd_) != 0 && error.empty()) {
        error = reason("cannot close");
    }
    fd_ = -1;
    if (error.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error = reason("cannot replace the file");
    }
    if (!error.empty()) {
        discard();
        return {false, error};
    }
    temporary_.clear();
    forget(slot_);
    slot_ = -1;
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(directoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {true, {}};
}

std::unique_ptr<AtomicFile> System::createAtomicFile(const std::string& path, std::string& error) {
    return AtomicFile::create(path, error);
}

void removeTemporaryFilesOnSignals(void (*then)(int signal)) {
    afterCleanup = then;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace tomefuse
