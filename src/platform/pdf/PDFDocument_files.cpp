// Reading source files: small files are read whole and parsed from memory, larger ones through a
// descriptor (FileSource); image files as the PDF made of them.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <qpdf/Buffer.hh>
#include <qpdf/BufferInputSource.hh>
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

}  // namespace

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

namespace {

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
                                        ImagePageSize pageSize, PDFOpenFailure& failure, bool& isImage) {
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
        const std::optional<std::string> pdf = pdfFromImage(bytes, pageSize, error);
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
                                       std::shared_ptr<FileSource>& file, PDFOpenFailure& failure,
                                       ImagePageSize imageSize, bool& isImage) {
    struct stat info {};
    Descriptor fd{openRegularFile(path, info, failure)};
    if (fd.fd < 0) {
        return nullptr;
    }
    if (auto image = imageInput(path, fd.fd, info, imageSize, failure, isImage); image || isImage) {
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

}  // namespace tomefuse::pdf_detail
