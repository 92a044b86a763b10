// A large source file read through its descriptor, a window at a time, noticing a file that
// changes or goes while its document still needs it.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

// File times come from a clock that moves in steps (a few milliseconds, a second or two on some
// file systems): a file rewritten this soon after it was last written may keep its time.
constexpr int64_t coarseClock = 2'000'000'000;  // nanoseconds

int64_t nowNanoseconds() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

uint64_t fingerprintOf(const char* data, size_t size) {
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < size; ++i) {
        hash = (hash ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
    }
    return hash;
}

}  // namespace

FileSource::FileSource(std::string path, int fd, const struct stat& info)
    : path_(std::move(path)),
      fd_(fd),
      identity_(FileIdentity::of(info)),
      size_(info.st_size),
      recent_(nowNanoseconds() - identity_.modified < coarseClock) {}

std::string FileSource::changedSinceOpened() {
    struct stat info {};
    if (fd_ >= 0 ? ::fstat(fd_, &info) != 0 : ::stat(path_.c_str(), &info) != 0) {
        return path_ + ": the file is gone";
    }
    const FileIdentity now = FileIdentity::of(info);
    if (now.device != identity_.device || now.inode != identity_.inode) {
        return path_ + ": the file was replaced";
    }
    if (now.size != identity_.size || now.modified != identity_.modified) {
        return path_ + ": the file changed while it was read";
    }
    if (!recent_) {
        return {};
    }
    // Its time cannot tell: the bytes read must still be there.
    try {
        std::string bytes;
        for (const auto& [at, seen] : windowsRead_) {
            ensureOpen();
            bytes.resize(seen.first);
            size_t got = 0;
            while (got < bytes.size()) {
                const ssize_t n =
                    ::pread(fd_, bytes.data() + got, bytes.size() - got, at + static_cast<qpdf_offset_t>(got));
                if (n < 0 && errno == EINTR) {
                    continue;
                }
                if (n <= 0) {
                    break;
                }
                got += static_cast<size_t>(n);
            }
            if (!stayOpen_) {
                ::close(fd_);
                fd_ = -1;
            }
            if (got != bytes.size() || fingerprintOf(bytes.data(), got) != seen.second) {
                return path_ + ": the file changed while it was read";
            }
        }
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return {};
}

FileSource::~FileSource() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void FileSource::fail(const std::string& why) {
    ++failures_;
    lastFailure_ = path_ + ": " + why;
    throw std::runtime_error(lastFailure_);
}

void FileSource::stayOpen(bool flag) {
    stayOpen_ = flag;
    if (!flag && fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool FileSource::ensureOpen() {
    if (fd_ >= 0) {
        return true;
    }
    struct stat info {};
    PDFOpenFailure ignored = PDFOpenFailure::none;
    const int fd = openRegularFile(path_, info, ignored);
    if (fd < 0) {
        fail("the file is gone");
    }
    // The same file, unchanged: a file put in its place may even get the same inode.
    const FileIdentity now = FileIdentity::of(info);
    if (now.device != identity_.device || now.inode != identity_.inode || now.size != identity_.size ||
        now.modified != identity_.modified) {
        ::close(fd);
        fail("the file was replaced");
    }
    fd_ = fd;
    return true;
}

// Reads the window at the given offset; answers the bytes now available there.
size_t FileSource::fill(qpdf_offset_t at) {
    if (at >= windowStart_ && at < windowStart_ + static_cast<qpdf_offset_t>(window_.size())) {
        return window_.size() - static_cast<size_t>(at - windowStart_);
    }
    ensureOpen();
    constexpr size_t windowSize = 64u << 10;
    window_.resize(windowSize);
    windowStart_ = at;
    size_t got = 0;
    while (got < windowSize) {
        const ssize_t n = ::pread(fd_, window_.data() + got, windowSize - got, at + static_cast<qpdf_offset_t>(got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            window_.clear();
            fail(std::strerror(errno));
        }
        if (n == 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    window_.resize(got);
    if (recent_ && got > 0) {
        const std::pair<size_t, uint64_t> seen{got, fingerprintOf(window_.data(), got)};
        if (!windowsRead_.emplace(at, seen).second && windowsRead_[at] != seen) {
            window_.clear();
            fail("the file changed while it was read");
        }
    }
    if (!stayOpen_) {
        ::close(fd_);
        fd_ = -1;
    }
    if (got == 0 && at < size_) {
        fail("the file is shorter than it was");
    }
    return got;
}

size_t FileSource::read(char* buffer, size_t length) {
    last_offset = position_;
    size_t done = 0;
    while (done < length) {
        const size_t available = fill(position_);
        if (available == 0) {
            break;
        }
        const size_t n = std::min(available, length - done);
        std::memcpy(buffer + done, window_.data() + (position_ - windowStart_), n);
        done += n;
        position_ += static_cast<qpdf_offset_t>(n);
    }
    return done;
}

void FileSource::seek(qpdf_offset_t offset, int whence) {
    switch (whence) {
        case SEEK_SET:
            position_ = offset;
            break;
        case SEEK_END:
            position_ = size_ + offset;
            break;
        case SEEK_CUR:
            position_ += offset;
            break;
        default:
            throw std::logic_error("FileSource::seek: bad whence");
    }
    if (position_ < 0) {
        throw std::runtime_error(path_ + ": seek before the start of the file");
    }
}

void FileSource::unreadCh(char) {
    if (position_ > 0) {
        --position_;
    }
}

qpdf_offset_t FileSource::findAndSkipNextEOL() {
    // The offset of the next end of line; the position after it and any line ends that follow.
    for (;;) {
        const size_t available = fill(position_);
        if (available == 0) {
            return position_;
        }
        const char* begin = window_.data() + (position_ - windowStart_);
        const char* end = begin + available;
        const char* eol = begin;
        while (eol != end && *eol != '\n' && *eol != '\r') {
            ++eol;
        }
        position_ += eol - begin;
        if (eol == end) {
            continue;
        }
        const qpdf_offset_t result = position_;
        for (;;) {
            const size_t more = fill(position_);
            if (more == 0) {
                return result;
            }
            const char c = window_[static_cast<size_t>(position_ - windowStart_)];
            if (c != '\n' && c != '\r') {
                return result;
            }
            ++position_;
        }
    }
}

}  // namespace tomefuse::pdf_detail
