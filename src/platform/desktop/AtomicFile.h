#pragma once

#include <memory>
#include <string>

#include "platform/desktop/System.h"

namespace tomefuse {

// A file written beside its target under a hidden temporary name and renamed over the target
// once it is complete and on disk: the target is either what it was or the whole new file. The
// temporary file goes when the object does, unless committed, and also when the process is
// ended by SIGINT, SIGTERM or SIGHUP (see removeTemporaryFilesOnSignals).
class AtomicFile {
  public:
    // For a symbolic link, the file it names is replaced, as editors do. Null, with the reason,
    // when the temporary file cannot be made (a folder that cannot be written, a folder named
    // as the target).
    static std::unique_ptr<AtomicFile> create(const std::string& path, std::string& error);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    int fd() const { return fd_; }
    // The file that will be replaced.
    const std::string& target() const { return target_; }

    // Flushes to disk, gives the file the mode (and group, where allowed) of the file it
    // replaces, or the usual mode of a new file, and renames it over the target.
    WriteResult commit();
    // Removes the temporary file; nothing at the target changes.
    void discard();

  private:
    AtomicFile(std::string target, std::string temporary, int fd, int slot);
    std::string target_;
    std::string temporary_;
    int fd_;
    int slot_;  // in the list the signal handler removes
};

// Installs handlers for SIGINT, SIGTERM and SIGHUP that remove every temporary file of an
// AtomicFile not yet committed, then call then(signal) if given (which must be async-signal-safe
// and should not return), else end the process as the signal would.
void removeTemporaryFilesOnSignals(void (*then)(int signal) = nullptr);

}  // namespace tomefuse
