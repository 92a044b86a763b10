#include "platform/qt/preview/PreviewProtocol.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>
#include <cstring>

namespace tomefuse::preview {

namespace {

constexpr quint32 maxBookmarks = 1u << 20;

QByteArray withLength(const QByteArray& payload) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << static_cast<quint32>(payload.size());
    bytes.append(payload);
    return bytes;
}

// Raw rows: encoding a thumbnail as PNG would cost more than drawing it.
void writeImage(QDataStream& out, const QImage& image) {
    const QImage rgb = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    out << static_cast<qint32>(rgb.width()) << static_cast<qint32>(rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        out.writeRawData(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 4);
    }
}

bool readImage(QDataStream& in, QImage& image) {
    qint32 width = 0;
    qint32 height = 0;
    in >> width >> height;
    if (width == 0 && height == 0) {
        image = QImage();
        return in.status() == QDataStream::Ok;
    }
    if (width <= 0 || height <= 0 || width > maxImageSide || height > maxImageSide) {
        return false;
    }
    image = QImage(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        if (in.readRawData(reinterpret_cast<char*>(image.scanLine(y)), width * 4) != width * 4) {
            return false;
        }
    }
    return true;
}

}  // namespace

// The path, then what else makes the document, after a NUL: no path holds one.
QString documentName(const Document& document) {
    if (document.imagePages == 0 && document.partner.isEmpty()) {
        return document.path;
    }
    const QChar nul(u'\0');
    return document.path + nul + QString::number(document.imagePages) + nul + (document.reversed ? u'r' : u'-') + nul +
           document.partner;
}

Document documentNamed(const QString& name) {
    const QStringList parts = name.split(QChar(u'\0'));
    if (parts.size() != 4) {
        return Document{name, 0, {}, false};
    }
    return Document{parts[0], parts[1].toInt(), parts[3], parts[2] == QStringLiteral("r")};
}

QByteArray frame(const Request& request) {
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << request.id << static_cast<quint8>(request.op) << request.path << request.password << request.partnerPassword
        << request.page << request.box;
    return withLength(payload);
}

QByteArray frame(const Reply& reply) {
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << reply.id << static_cast<quint8>(reply.failure) << reply.pageCount << reply.pageSize << reply.label;
    writeImage(out, reply.image);
    out << static_cast<quint32>(reply.bookmarks.size());
    for (const Bookmark& bookmark : reply.bookmarks) {
        out << bookmark.level << bookmark.title << bookmark.page;
    }
    out << reply.labels;
    return withLength(payload);
}

bool takeFrame(QByteArray& buffer, std::optional<QByteArray>& payload) {
    payload.reset();
    if (buffer.size() < 4) {
        return true;
    }
    quint32 length = 0;
    std::memcpy(&length, buffer.constData(), 4);
    length = qFromBigEndian(length);
    if (length > maxFrameSize) {
        return false;
    }
    if (static_cast<quint64>(buffer.size()) < 4 + static_cast<quint64>(length)) {
        return true;
    }
    payload = buffer.mid(4, static_cast<qsizetype>(length));
    buffer.remove(0, 4 + static_cast<qsizetype>(length));
    return true;
}

std::optional<Request> decodeRequest(const QByteArray& payload) {
    QDataStream in(payload);
    Request request;
    quint8 op = 0;
    in >> request.id >> op >> request.path >> request.password >> request.partnerPassword >> request.page >>
        request.box;
    if (in.status() != QDataStream::Ok || op < static_cast<quint8>(Op::Open) || op > static_cast<quint8>(Op::Close) ||
        !in.atEnd()) {
        return std::nullopt;
    }
    request.op = static_cast<Op>(op);
    return request;
}

std::optional<Reply> decodeReply(const QByteArray& payload) {
    QDataStream in(payload);
    Reply reply;
    quint8 failure = 0;
    in >> reply.id >> failure >> reply.pageCount >> reply.pageSize >> reply.label;
    if (in.status() != QDataStream::Ok || failure > static_cast<quint8>(Failure::NoWorker) ||
        !readImage(in, reply.image)) {
        return std::nullopt;
    }
    reply.failure = static_cast<Failure>(failure);
    quint32 count = 0;
    in >> count;
    if (count > maxBookmarks) {
        return std::nullopt;
    }
    reply.bookmarks.reserve(count);
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        Bookmark bookmark;
        in >> bookmark.level >> bookmark.title >> bookmark.page;
        reply.bookmarks.push_back(std::move(bookmark));
    }
    in >> reply.labels;
    if (reply.labels.size() > labelsOnOpen) {
        return std::nullopt;
    }
    if (in.status() != QDataStream::Ok || !in.atEnd()) {
        return std::nullopt;
    }
    return reply;
}

}  // namespace tomefuse::preview
