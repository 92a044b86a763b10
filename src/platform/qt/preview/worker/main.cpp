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
#include <limits>
#include <list>
#include <memory>
#include <optional>

#include "platform/pdf/ImagePages.h"
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

// The documents asked about lately, the latest first: the one previewed stays open while the
// list's first pages come and go.
class Documents {
  public:
    struct Open {
        QString path;
        QString password;
        // An image is shown as the PDF made of it, read from memory; the document goes first.
        std::unique_ptr<QBuffer> image;
        std::unique_ptr<QPdfDocument> document;
        Failure failure = Failure::None;
    };

    Open& get(const QString& path, const QString& password) {
        for (auto it = open_.begin(); it != open_.end(); ++it) {
            if (it->path == path && it->password == password) {
                open_.splice(open_.begin(), open_, it);
                return open_.front();
            }
        }
        Open entry{path, password, nullptr, std::make_unique<QPdfDocument>(), Failure::None};
        entry.document->setPassword(password);
        if (!loadImage(entry)) {
            entry.failure = failureFor(entry.document->load(path), !password.isEmpty());
        }
        open_.push_front(std::move(entry));
        while (open_.size() > kept) {
            open_.pop_back();
        }
        return open_.front();
    }

    void close(const QString& path) {
        open_.remove_if([&](const Open& entry) { return entry.path == path; });
    }

  private:
    // Loads the file as the PDF made of it when it is an image; false when it is none.
    static bool loadImage(Open& entry) {
        QFile file(entry.path);
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
            tomefuse::pdfFromImage(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                                   tomefuse::ImagePageSize::natural, error);
        if (!pdf) {
            entry.failure = Failure::Unreadable;
            return true;
        }
        entry.image = std::make_unique<QBuffer>();
        entry.image->setData(QByteArray::fromStdString(*pdf));
        entry.image->open(QIODevice::ReadOnly);
        entry.document->load(entry.image.get());
        entry.failure = entry.document->status() == QPdfDocument::Status::Ready
                            ? Failure::None
                            : failureFor(entry.document->error(), false);
        if (entry.failure == Failure::None && entry.document->pageCount() == 0) {
            entry.failure = Failure::Unreadable;
        }
        return true;
    }

    static constexpr size_t kept = 4;
    std::list<Open> open_;
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

// The parse the bookmarks were last read from. Tearing a parse of thousands of pages down takes
// a good part of the time reading it did: that waits until the reply is sent.
std::shared_ptr<const void> outlineParse;

// The bookmarks as the combine reads them, with libqpdf, where the PDF module's reader walks the
// page tree for every item (seconds for a manual of thousands of pages and bookmarks).
void readOutline(const Request& request, std::vector<Bookmark>& bookmarks) {
    tomefuse::PDFOpenFailure failure = tomefuse::PDFOpenFailure::none;
    const std::vector<tomefuse::PDFBookmarkLine> lines = tomefuse::PDFDocument::bookmarksOfFile(
        tomefuse::toStdPath(request.path), request.password.toStdString(), &failure, 100000, &outlineParse);
    bookmarks.reserve(lines.size());
    for (const tomefuse::PDFBookmarkLine& line : lines) {
        Bookmark bookmark;
        bookmark.level = line.level;
        bookmark.title = QString::fromStdString(line.title);
        bookmark.page =
            line.page < static_cast<uint64_t>(std::numeric_limits<qint32>::max()) ? static_cast<qint32>(line.page) : -1;
        bookmarks.push_back(std::move(bookmark));
    }
}

Reply answer(Documents& documents, const Request& request) {
    Reply reply;
    reply.id = request.id;
    Documents::Open& open = documents.get(request.path, request.password);
    reply.failure = open.failure;
    if (open.failure != Failure::None) {
        return reply;
    }
    QPdfDocument& document = *open.document;
    reply.pageCount = document.pageCount();
    switch (request.op) {
        case Op::Open:
            if (reply.pageCount > 0) {
                reply.pageSize = document.pagePointSize(0);
            }
            // The first screen's labels, so its pages are never numbered otherwise first. The
            // reader finds a label by going back page by page to where its range starts: the
            // others come with their thumbnails.
            for (int page = 0; page < std::min(reply.pageCount, labelsOnOpen); ++page) {
                reply.labels << document.pageLabel(page);
            }
            if (std::all_of(reply.labels.begin(), reply.labels.end(), [](const QString& l) { return l.isEmpty(); })) {
                reply.labels.clear();
            }
            break;
        case Op::Render:
            if (request.page < 0 || request.page >= reply.pageCount) {
                reply.failure = Failure::Unreadable;
                break;
            }
            reply.pageSize = document.pagePointSize(request.page);
            reply.label = document.pageLabel(request.page);
            reply.image = thumbnail(document, request.page, request.box, reply.pageSize);
            if (reply.image.isNull()) {
                reply.failure = Failure::Unreadable;
            }
            break;
        case Op::Outline:
            readOutline(request, reply.bookmarks);
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
        outlineParse.reset();
    }
    return 0;
}
