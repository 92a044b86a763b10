#include "platform/desktop/PrivateFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace tomefuse {

std::optional<std::string> privateFolder(const std::string& parent, const std::string& name) {
    const std::string path = parent + "/" + name;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return std::nullopt;
    }
    struct stat info {};
    // lstat: a link planted there by someone else must not lead us into their folder.
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & 077) != 0) {
        return std::nullopt;
    }
    return path;
}

bool isSharedFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWOTH) != 0;
}

std::string userTemporaryDirectory(const std::string& base) {
    if (!isSharedFolder(base)) {
        return base;
    }
    return privateFolder(base, "tomefuse-" + std::to_string(::geteuid())).value_or(base);
}

}  // namespace tomefuse
