// tomefuse-preview-worker: reads PDF files with Qt's PDF module for the window's preview, one
// request at a time from standard input, each answered on standard output (PreviewProtocol.h).
// It runs apart from the window because the reader can crash or loop forever on a damaged file
// (an outline whose items lead back to themselves, a page tree that does): the window then
// kills this process, shows the file as unreadable and starts another.
#include <sys/resource.h>
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QLoggingCategory>
#include <QPdfDocument>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <functional>
#include <limits>
#include <list>
#include <memory>
#include <optional>

#include "platform/pdf/ImagePages.h"
#include "platform/pdf/Interleave.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/qt/QtStrings.h"
#include "platform/qt/preview/PreviewProtocol.h"

using namespace tomefuse::preview;

namespace {

// Reads or writes size bytes in full; false at the end of the input or on an error.
template <class Transfer>
bool fully(Transfer transfer, char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = transfer(data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool readFully(int fd, char* data, size_t size) {
    return fully([fd](char* at, size_t left) { return ::read(fd, at, left); }, data, size);
}

bool writeFully(int fd, const QByteArray& bytes) {
    return fully([fd](char* at, size_t left) { return ::write(fd, at, left); }, const_cast<char*>(bytes.constData()),
                 static_cast<size_t>(bytes.size()));
}

std::optional<QByteArray> readFrame() {
    unsigned char header[4];
    if (!readFully(0, reinterpret_cast<char*>(header), 4)) {
        return std::nullopt;
    }
    const quint32 length = qFromBigEndian<quint32>(header);
    if (length > maxFrameSize) {
        return std::nullopt;
    }
    QByteArray payload(static_cast<qsizetype>(length), Qt::Uninitialized);
    if (!readFully(0, payload.data(), length)) {
        return std::nullopt;
    }
    return payload;
}

Failure failureFor(QPdfDocument::Error error, bool passwordGiven) {
    switch (error) {
        case QPdfDocument::Error::None:
            return Failure::None;
        case QPdfDocument::Error::FileNotFound:
            return Failure::NotFound;
        case QPdfDocument::Error::InvalidFileFormat:
            return Failure::NotPdf;
        case QPdfDocument::Error::IncorrectPassword:
            return passwordGiven ? Failure::WrongPassword : Failure::NeedsPassword;
        case QPdfDocument::Error::UnsupportedSecurityScheme:
            return Failure::UnsupportedSecurity;
        default:
            return Failure::Unreadable;
    }
}

// One file read by the PDF module: an image as the PDF made of it, read from memory (the document
// goes first).
struct File {
    std::unique_ptr<QBuffer> image;
    std::unique_ptr<QPdfDocument> document = std::make_unique<QPdfDocument>();

    // Loads it as an image when it is one; false when it is none.
    bool loadImage(const QString& path, tomefuse::ImagePageSize size, Failure& failure) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        const QByteArray head = file.peek(12);
        if (tomefuse::imageFormatOf(std::string_view(head.constData(), static_cast<size_t>(head.size()))) ==
            tomefuse::ImageFormat::none) {
            return false;
        }
        const QByteArray bytes = file.readAll();
        std::string error;
        const std::optional<std::string> pdf =
            tomefuse::pdfFromImage(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), size, error);
        if (!pdf) {
            failure = Failure::Unreadable;
            return true;
        }
        image = std::make_unique<QBuffer>();
        image->setData(QByteArray::fromStdString(*pdf));
        image->open(QIODevice::ReadOnly);
        document->load(image.get());
        failure =
            document->status() == QPdfDocument::Status::Ready ? Failure::None : failureFor(document->error(), false);
        return true;
    }

    Failure load(const QString& path, const QString& password, tomefuse::ImagePageSize size) {
        document->setPassword(password);
        Failure failure = Failure::None;
        if (!loadImage(path, size, failure)) {
            failure = failureFor(document->load(path), !password.isEmpty());
        }
        if (failure == Failure::None && image && document->pageCount() == 0) {
            failure = Failure::Unreadable;
        }
        return failure;
    }
};

// A document the preview shows: one file, or two whose pages are taken in turn as the combine
// takes them.
struct Shown {
    QString name;
    QString password;
    QString partnerPassword;
    File first;
    std::optional<File> second;
    std::vector<tomefuse::InterleavedPage> pages;  // of both, when interleaved
    Failure failure = Failure::None;

    int pageCount() const { return second ? static_cast<int>(pages.size()) : first.document->pageCount(); }
    // The file and its page that the document's page is.
    std::pair<QPdfDocument*, int> page(int index) const {
        if (!second) {
            return {first.document.get(), index};
        }
        const tomefuse::InterleavedPage& at = pages[static_cast<size_t>(index)];
        return {at.second ? second->document.get() : first.document.get(), static_cast<int>(at.index)};
    }
};

tomefuse::ImagePageSize imageSizeOf(const Document& document) {
    using tomefuse::ImagePageSize;
    for (ImagePageSize size : {ImagePageSize::a4, ImagePageSize::letter}) {
        if (document.imagePages == static_cast<int>(size)) {
            return size;
        }
    }
    return ImagePageSize::natural;
}

// The documents asked about lately, the latest first: the one previewed stays open while the
// list's first pages come and go.
class Documents {
  public:
    Shown& get(const Request& request) {
        for (auto it = open_.begin(); it != open_.end(); ++it) {
            if (it->name == request.path && it->password == request.password &&
                it->partnerPassword == request.partnerPassword) {
                open_.splice(open_.begin(), open_, it);
                return open_.front();
            }
        }
        open_.emplace_front();
        Shown& shown = open_.front();
        shown.name = request.path;
        shown.password = request.password;
        shown.partnerPassword = request.partnerPassword;
        const Document document = documentNamed(request.path);
        shown.failure = shown.first.load(document.path, request.password, imageSizeOf(document));
        if (shown.failure == Failure::None && !document.partner.isEmpty()) {
            shown.second.emplace();
            shown.failure = shown.second->load(document.partner, request.partnerPassword, imageSizeOf(document));
            shown.pages = tomefuse::interleavedPages(static_cast<uint64_t>(shown.first.document->pageCount()),
                                                     static_cast<uint64_t>(shown.second->document->pageCount()),
                                                     document.reversed);
        }
        while (open_.size() > kept) {
            open_.pop_back();
        }
        return shown;
    }

    void close(const QString& name) {
        open_.remove_if([&](const Shown& shown) { return shown.name == name; });
    }

  private:
    static constexpr size_t kept = 4;
    std::list<Shown> open_;
};

// The page drawn to fit the box, on white: the reader leaves what the page does not paint clear.
QImage thumbnail(QPdfDocument& document, int page, QSize box, QSizeF pageSize) {
    if (pageSize.width() <= 0 || pageSize.height() <= 0 || box.isEmpty()) {
        return {};
    }
    const double scale = std::min(box.width() / pageSize.width(), box.height() / pageSize.height());
    const QSize size(std::clamp(static_cast<int>(std::lround(pageSize.width() * scale)), 1, maxImageSide),
                     std::clamp(static_cast<int>(std::lround(pageSize.height() * scale)), 1, maxImageSide));
    QImage drawn = document.render(page, size);
    if (drawn.isNull()) {
        return {};
    }
    drawn = drawn.convertToFormat(QImage::Format_ARGB32);
    QImage onWhite(drawn.size(), QImage::Format_RGB32);
    for (int y = 0; y < drawn.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(onWhite.scanLine(y));
        for (int x = 0; x < drawn.width(); ++x) {
            const int alpha = qAlpha(from[x]);
            auto blend = [alpha](int channel) { return (channel * alpha + 255 * (255 - alpha)) / 255; };
            to[x] = qRgb(blend(qRed(from[x])), blend(qGreen(from[x])), blend(qBlue(from[x])));
        }
    }
    return onWhite;
}

// The parses the bookmarks were last read from. Tearing a parse of thousands of pages down takes
// a good part of the time reading it did: that waits until the reply is sent.
std::vector<std::shared_ptr<const void>> outlineParses;

// The bookmarks of one file as the combine reads them, with libqpdf, where the PDF module's reader
// walks the page tree for every item (seconds for a manual of thousands of pages and bookmarks).
// placeOf gives a page of the file its place in the document shown, -1 for none.
void readOutline(const QString& path, const QString& password, const std::function<qint32(uint64_t)>& placeOf,
                 std::vector<Bookmark>& bookmarks) {
    tomefuse::PDFOpenFailure failure = tomefuse::PDFOpenFailure::none;
    std::shared_ptr<const void> parse;
    const std::vector<tomefuse::PDFBookmarkLine> lines =
        tomefuse::PDFDocument::bookmarksOfFile(tomefuse::toStdPath(path), password.toStdString(), &failure,
                                               100000 - std::min<size_t>(bookmarks.size(), 100000), &parse);
    outlineParses.push_back(std::move(parse));
    bookmarks.reserve(bookmarks.size() + lines.size());
    for (const tomefuse::PDFBookmarkLine& line : lines) {
        Bookmark bookmark;
        bookmark.level = line.level;
        bookmark.title = QString::fromStdString(line.title);
        bookmark.page = line.page == tomefuse::NSNotFound ? -1 : placeOf(line.page);
        bookmarks.push_back(std::move(bookmark));
    }
}

// The document's bookmarks: an interleaved entry's are the first file's and then the second's, as
// the combine writes them, each leading to where its page went among the other's.
void readOutline(const Request& request, const Shown& shown, std::vector<Bookmark>& bookmarks) {
    const Document named = documentNamed(request.path);
    if (!shown.second) {
        readOutline(
            named.path, request.password, [](uint64_t index) { return static_cast<qint32>(index); }, bookmarks);
        return;
    }
    for (const bool second : {false, true}) {
        std::vector<qint32> places;
        for (size_t place = 0; place < shown.pages.size(); ++place) {
            if (shown.pages[place].second == second) {
                places.resize(std::max<size_t>(places.size(), shown.pages[place].index + 1), -1);
                places[shown.pages[place].index] = static_cast<qint32>(place);
            }
        }
        readOutline(
            second ? named.partner : named.path, second ? request.partnerPassword : request.password,
            [&](uint64_t index) { return index < places.size() ? places[index] : -1; }, bookmarks);
    }
}

Reply answer(Documents& documents, const Request& request) {
    Reply reply;
    reply.id = request.id;
    Shown& shown = documents.get(request);
    reply.failure = shown.failure;
    if (shown.failure != Failure::None) {
        return reply;
    }
    reply.pageCount = shown.pageCount();
    switch (request.op) {
        case Op::Open: {
            if (reply.pageCount > 0) {
                const auto [document, page] = shown.page(0);
                reply.pageSize = document->pagePointSize(page);
            }
            // The first screen's labels, so its pages are never numbered otherwise first. The
            // reader finds a label by going back page by page to where its range starts: the
            // others come with their thumbnails. Two files taken in turn are numbered by place.
            for (int page = 0; !shown.second && page < std::min(reply.pageCount, labelsOnOpen); ++page) {
                reply.labels << shown.first.document->pageLabel(page);
            }
            if (std::all_of(reply.labels.begin(), reply.labels.end(), [](const QString& l) { return l.isEmpty(); })) {
                reply.labels.clear();
            }
            break;
        }
        case Op::Render: {
            if (request.page < 0 || request.page >= reply.pageCount) {
                reply.failure = Failure::Unreadable;
                break;
            }
            const auto [document, page] = shown.page(request.page);
            reply.pageSize = document->pagePointSize(page);
            reply.label = shown.second ? QString() : document->pageLabel(page);
            reply.image = thumbnail(*document, page, request.box, reply.pageSize);
            if (reply.image.isNull()) {
                reply.failure = Failure::Unreadable;
            }
            break;
        }
        case Op::Outline:
            readOutline(request, shown, reply.bookmarks);
            break;
        case Op::Close:
            break;
    }
    return reply;
}

// A runaway read ends in a failed allocation here rather than in the machine's swap. The
// sanitizers reserve address space of their own, so they get no limit.
void limitMemory() {
#if !defined(__SANITIZE_ADDRESS__)
    const rlimit limit{1ul << 31, 1ul << 31};
    setrlimit(RLIMIT_AS, &limit);
#endif
}

}  // namespace

int main() {
    limitMemory();
    // The reader warns on stderr about every odd bookmark; the window shows what matters.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.pdf.*=false"));
    Documents documents;
    while (const std::optional<QByteArray> payload = readFrame()) {
        const std::optional<Request> request = decodeRequest(*payload);
        if (!request) {
            return 2;
        }
        if (request->op == Op::Close) {
            documents.close(request->path);
            continue;
        }
        if (!writeFully(1, frame(answer(documents, *request)))) {
            return 1;
        }
        outlineParses.clear();
    }
    return 0;
}
