// Reading source files: small files are read whole and parsed from memory, larger ones through a
// descriptor; and the parse of a file that was dropped untouched is kept for the next opening of
// the same unchanged file.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <list>
#include <mutex>
#include <qpdf/Buffer.hh>
#include <qpdf/BufferInputSource.hh>
#include <unordered_map>
#include <utility>

#include "platform/pdf/ImagePages.h"
#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

// Files up to this size are read whole and parsed from memory: libqpdf parses much faster from a
// buffer than through a file, and the copy is immune to the file changing or vanishing later.
// Bigger files are mostly image data that parsing never touches, so they stay on disk. Parses
// may outlive their documents, so all buffers together are capped too.
constexpr size_t snapshotMaxFileSize = 16u << 20;
constexpr size_t snapshotBudget = 256u << 20;
std::atomic<size_t> snapshotBytesLive{0};

class SnapshotSource : public BufferInputSource {
  public:
    SnapshotSource(const std::string& path, Buffer* bytes)
        : BufferInputSource(path, bytes, true), size_(bytes->getSize()) {
        snapshotBytesLive += size_;
    }
    ~SnapshotSource() override { snapshotBytesLive -= size_; }
    SnapshotSource(const SnapshotSource&) = delete;
    SnapshotSource& operator=(const SnapshotSource&) = delete;

  private:
    size_t size_;
};

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    int release() { return std::exchange(fd, -1); }
};

// Opens without blocking (a path may name a pipe or a device, or be swapped for one after it
// was checked) and checks what was opened, not what the path named a moment before.
int openRegularFile(const std::string& path, struct stat& info, PDFOpenFailure& failure) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        failure = errno == EACCES || errno == EPERM ? PDFOpenFailure::permissionDenied
                  : errno == EISDIR                 ? PDFOpenFailure::notAFile
                                                    : PDFOpenFailure::missing;
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        failure = PDFOpenFailure::notAFile;
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    return fd;
}

bool readFully(int fd, unsigned char* into, size_t expected) {
    size_t got = 0;
    for (;;) {
        // The last read goes to a spare byte, to notice a file that grew since fstat.
        unsigned char spare = 0;
        const bool full = got == expected;
        const ssize_t n = full ? ::read(fd, &spare, 1) : ::read(fd, into + got, expected - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 || (full && n > 0)) {
            return false;
        }
        if (n == 0) {
            return got == expected;
        }
        got += static_cast<size_t>(n);
    }
}

// Image files are read whole, however large: what is parsed is the PDF made of them.
constexpr size_t imageMaxFileSize = size_t{1} << 30;

// The PDF made of an image file; null when the file is no image. An image that cannot be read
// is damage.
std::shared_ptr<InputSource> imageInput(const std::string& path, int fd, const struct stat& info,
                                        PDFOpenFailure& failure, bool& isImage) {
    char head[12];
    const ssize_t n = ::pread(fd, head, sizeof head, 0);
    isImage = n > 0 && imageFormatOf(std::string_view(head, static_cast<size_t>(n))) != ImageFormat::none;
    if (!isImage) {
        return nullptr;
    }
    const auto size = static_cast<size_t>(std::max<off_t>(info.st_size, 0));
    failure = PDFOpenFailure::damaged;
    // Whatever runs out of memory here, the image's bytes, its PDF or the copy parsed, says so.
    try {
        std::string bytes(size <= imageMaxFileSize ? size : 0, '\0');
        if (size > imageMaxFileSize || !readFully(fd, reinterpret_cast<unsigned char*>(bytes.data()), size)) {
            return nullptr;
        }
        std::string error;
        const std::optional<std::string> pdf = pdfFromImage(bytes, ImagePageSize::natural, error);
        if (!pdf) {
            return nullptr;
        }
        auto buffer = std::make_unique<Buffer>(pdf->size());
        std::memcpy(buffer->getBuffer(), pdf->data(), pdf->size());
        auto source = std::make_shared<SnapshotSource>(path, buffer.get());
        buffer.release();  // the source owns it now
        failure = PDFOpenFailure::none;
        return source;
    } catch (const std::bad_alloc&) {
        failure = PDFOpenFailure::outOfMemory;
        return nullptr;
    }
}

}  // namespace

FileIdentity FileIdentity::of(const struct stat& info) {
    return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
                        static_cast<int64_t>(info.st_size),
                        static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                        static_cast<int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec};
}

std::optional<FileIdentity> identityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return FileIdentity::of(info);
}

std::shared_ptr<InputSource> openInput(const std::string& path, std::optional<FileIdentity>& identity,
                                       std::shared_ptr<FileSource>& file, PDFOpenFailure& failure) {
    struct stat info {};
    Descriptor fd{openRegularFile(path, info, failure)};
    if (fd.fd < 0) {
        return nullptr;
    }
    bool isImage = false;
    if (auto image = imageInput(path, fd.fd, info, failure, isImage); image || isImage) {
        if (image) {
            identity = FileIdentity::of(info);
        }
        return image;
    }
    const auto size = static_cast<uint64_t>(std::max<off_t>(info.st_size, 0));
    if (size <= snapshotMaxFileSize && snapshotBytesLive + size <= snapshotBudget) {
        auto bytes = std::make_unique<Buffer>(static_cast<size_t>(size));
        struct stat after {};
        // Read whole and unchanged meanwhile: a file rewritten as it was read is read through
        // the descriptor, which tells.
        if (readFully(fd.fd, bytes->getBuffer(), static_cast<size_t>(size)) && ::fstat(fd.fd, &after) == 0 &&
            FileIdentity::of(after) == FileIdentity::of(info)) {
            auto source = std::make_shared<SnapshotSource>(path, bytes.get());
            bytes.release();  // the source owns it now
            identity = FileIdentity::of(info);
            return source;
        }
        // Changing as it is read: read through the descriptor, which reports what goes wrong.
    }
    file = std::make_shared<FileSource>(path, fd.release(), info);
    return file;
}

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

namespace {

// The list opens every file to count its pages and bookmarks, and a combine opens the same files
// again moments later; parsing is most of the work of both. So the parse of a file whose document
// was dropped untouched waits here, oldest first out, for the next opening of the same unchanged
// file. Each parse is handed out once: two openings of one file never share objects.
// A parse holds its file's bytes and libqpdf's objects for the pages and bookmarks read so far,
// ten to twenty times the file's size, and a few kilobytes however small the file; parked parses
// together stay within about 64 MiB.
constexpr size_t parkedBudget = 64u << 20;
// A parse whose pages were listed holds most of a large file's objects; one that was only
// summarised, little more than the bytes and the cross-reference table.
size_t parkedCost(const ParsedFile& parse) {
    return static_cast<size_t>(parse.identity->size) * (parse.pagesListed ? 16 : 2) + (8u << 10);
}

struct ParkedFiles {
    std::mutex mutex;  // the list opens files on the main thread while a combine runs on another
    std::list<std::shared_ptr<ParsedFile>> byAge;
    std::unordered_multimap<std::string, std::list<std::shared_ptr<ParsedFile>>::iterator> byPath;
    size_t cost = 0;

    void remove(std::list<std::shared_ptr<ParsedFile>>::iterator it) {
        auto [first, last] = byPath.equal_range((*it)->path);
        for (auto entry = first; entry != last; ++entry) {
            if (entry->second == it) {
                byPath.erase(entry);
                break;
            }
        }
        cost -= parkedCost(**it);
        byAge.erase(it);
    }
};

// Never destroyed: at exit, libqpdf's own statics may be gone before a parked parse would be,
// and the process is ending anyway.
ParkedFiles& parkedFiles() {
    static auto* parked = new ParkedFiles;
    return *parked;
}

}  // namespace

void parkParsedFile(std::shared_ptr<ParsedFile> parse) {
    // Only a parse of a file read into memory that nobody else sees: no page handle or outline
    // item of it outside. Anything else could share objects with the next opening.
    if (!parse || parse.use_count() != 1 || !parse->qpdf || parse->qpdf.use_count() != 1 || !parse->identity ||
        parkedCost(*parse) > parkedBudget) {
        return;
    }
    std::vector<std::shared_ptr<ParsedFile>> evicted;  // released outside the lock
    auto& parked = parkedFiles();
    std::lock_guard lock(parked.mutex);
    parked.cost += parkedCost(*parse);
    const std::string path = parse->path;
    parked.byPath.emplace(path, parked.byAge.insert(parked.byAge.end(), std::move(parse)));
    while (parked.cost > parkedBudget) {
        evicted.push_back(parked.byAge.front());
        parked.remove(parked.byAge.begin());
    }
}

std::shared_ptr<ParsedFile> takeParsedFile(const std::string& path, const FileIdentity& now,
                                           const std::string& password) {
    auto& parked = parkedFiles();
    std::shared_ptr<ParsedFile> parse;
    {
        std::lock_guard lock(parked.mutex);
        auto found = parked.byPath.find(path);
        if (found == parked.byPath.end()) {
            return nullptr;
        }
        parse = *found->second;
        parked.remove(found->second);
    }
    // A file changed since is parsed afresh.
    return *parse->identity == now && parse->password == password ? parse : nullptr;
}

}  // namespace tomefuse::pdf_detail
