// Reading source files: small files are read whole and parsed from memory, and the parse of a file
// that was dropped untouched is kept for the next opening of the same unchanged file.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <list>
#include <unordered_map>
#include <qpdf/Buffer.hh>
#include <qpdf/BufferInputSource.hh>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

// Files up to this size are read whole and parsed from memory: libqpdf parses much faster from a
// buffer than through a FILE*, and the copy is immune to the file changing or vanishing later.
// Bigger files are mostly image data that parsing never touches, so they stay on disk. Sources
// live as long as the document their pages went into, so all buffers together are capped too.
constexpr size_t snapshotMaxFileSize = 16u << 20;
constexpr size_t snapshotBudget = 256u << 20;
size_t snapshotBytesLive = 0;  // libqpdf is used from the main thread only

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

// The list opens every file to count its pages and bookmarks, and a combine opens the same files
// again moments later; parsing is most of the work of both. So the parse of a file whose document
// was dropped untouched waits here, oldest first out, for the next opening of the same unchanged
// file. Each parse is handed out once: two openings of one file never share objects, so a file
// listed twice is still copied twice, each copy with links of its own.
// A parse holds its file's bytes and libqpdf's objects for the pages and bookmarks read so far,
// ten to twenty times the file's size, and a few kilobytes however small the file; parked parses
// together stay within about 64 MiB.
constexpr size_t parkedBudget = 64u << 20;
size_t parkedCost(const DocumentData& data) { return static_cast<size_t>(data.identity->size) * 16 + (8u << 10); }

struct ParkedFiles {
    std::list<std::shared_ptr<DocumentData>> byAge;
    std::unordered_multimap<std::string, std::list<std::shared_ptr<DocumentData>>::iterator> byPath;
    size_t cost = 0;

    void remove(std::list<std::shared_ptr<DocumentData>>::iterator it) {
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

// Never destroyed: at exit, libqpdf's own statics may be gone before a parked document would be,
// and the process is ending anyway.
ParkedFiles& parkedFiles() {
    static auto* parked = new ParkedFiles;
    return *parked;
}

}  // namespace

FileIdentity FileIdentity::of(const struct stat& info) {
    return FileIdentity{static_cast<uint64_t>(info.st_dev),
                        static_cast<uint64_t>(info.st_ino),
                        static_cast<int64_t>(info.st_size),
                        static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                        static_cast<int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec};
}

std::shared_ptr<InputSource> snapshotOf(const std::string& path, std::optional<FileIdentity>& identity) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
        static_cast<uint64_t>(st.st_size) > snapshotMaxFileSize ||
        snapshotBytesLive + static_cast<size_t>(st.st_size) > snapshotBudget) {
        return nullptr;
    }
    const size_t expected = static_cast<size_t>(st.st_size);
    auto bytes = std::make_unique<Buffer>(expected);
    unsigned char* p = bytes->getBuffer();
    size_t got = 0;
    for (;;) {
        // The last read goes to a spare byte, to notice a file that grew since fstat.
        unsigned char spare = 0;
        const bool full = got == expected;
        const ssize_t n = full ? ::read(fd, &spare, 1) : ::read(fd, p + got, expected - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 || (full && n > 0)) {
            return nullptr;  // unreadable or changing: the file path copes with whatever it finds
        }
        if (n == 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    if (got != expected) {
        return nullptr;
    }
    auto source = std::make_shared<SnapshotSource>(path, bytes.get());
    bytes.release();  // the source owns it now
    identity = FileIdentity::of(st);
    return source;
}

void parkParsedFile(std::shared_ptr<DocumentData> data) {
    // Only a parse of a file read into memory that nobody else sees: no page handle or outline
    // item of it outside, no document that copied from it or into it (touched). Anything else
    // could share objects with the next opening.
    if (!data || data.use_count() != 1 || !data->qpdf || data->qpdf.use_count() != 1 || !data->identity ||
        data->touched || parkedCost(*data) > parkedBudget) {
        return;
    }
    auto& parked = parkedFiles();
    parked.cost += parkedCost(*data);
    const std::string path = data->path;
    parked.byPath.emplace(path, parked.byAge.insert(parked.byAge.end(), std::move(data)));
    while (parked.cost > parkedBudget) {
        parked.remove(parked.byAge.begin());
    }
}

std::shared_ptr<DocumentData> takeParsedFile(const std::string& path, const FileIdentity& now) {
    auto& parked = parkedFiles();
    auto found = parked.byPath.find(path);
    if (found == parked.byPath.end()) {
        return nullptr;
    }
    auto data = *found->second;
    parked.remove(found->second);
    // A file changed since is parsed afresh.
    return *data->identity == now ? data : nullptr;
}

}  // namespace tomefuse::pdf_detail
