#include "platform/desktop/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace tomefuse {

namespace {

std::string reason(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

std::string directoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace

WriteResult writeFileAtomically(const std::string& data, const std::string& path) {
    if (path.empty()) {
        return {false, "no file name given"};
    }
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) {
        return {false, "a folder of that name exists"};
    }
    const std::string dir = directoryOf(path);
    // The temporary file lives beside the target so that the rename stays on one file system.
    std::string temp = dir + "/.tomefuse-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return {false, reason(("cannot create a file in " + dir).c_str())};
    }
    std::string error;
    if (!writeAll(fd, data)) {
        error = reason("cannot write");
    } else if (::fsync(fd) != 0) {
        error = reason("cannot flush to disk");
    }
    // mkstemp makes the file 0600; a saved document should get the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    if (::close(fd) != 0 && error.empty()) {
        error = reason("cannot close");
    }
    if (error.empty() && ::rename(temp.c_str(), path.c_str()) != 0) {
        error = reason("cannot replace the file");
    }
    if (!error.empty()) {
        ::unlink(temp.c_str());
        return {false, error};
    }
    return {true, {}};
}

}  // namespace tomefuse
