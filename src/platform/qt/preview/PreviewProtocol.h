#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>
#include <vector>

// What the window and the preview worker (a process of its own, see worker/main.cpp) say to
// each other over the worker's standard input and output: length-prefixed frames, one request
// answered by one reply, in order.
namespace tomefuse::preview {

enum class Op : quint8 {
    Open = 1,  // page count and the first page's size
    Render,    // one page's thumbnail and label
    Outline,   // the bookmarks, flattened
    Close,     // forget the document; no reply
};

// Why a document shows no pages.
enum class Failure : quint8 {
    None,
    NotFound,
    NotPdf,
    NeedsPassword,
    WrongPassword,
    UnsupportedSecurity,
    Unreadable,    // the reader failed otherwise
    ReaderFailed,  // the worker crashed or took too long over it
    NoWorker,      // the worker program is missing or does not start
};

// What the preview shows as one document: a file, an image made at a sheet's size, or two files
// whose pages are taken in turn. Named by one string (see documentName), which is the file's path
// alone for a file as it is, so that everything keyed by a path keys by the document.
struct Document {
    QString path;
    int imagePages = 0;  // an ImagePageSize
    QString partner;     // interleaved with the file; empty for none
    bool reversed = false;
    bool operator==(const Document&) const = default;
};
QString documentName(const Document& document);
// Any name is some document: a plain path names the file.
Document documentNamed(const QString& name);

struct Request {
    quint64 id = 0;
    Op op = Op::Open;
    QString path;  // a document's name
    QString password;
    QString partnerPassword;
    qint32 page = 0;
    QSize box;  // device pixels the thumbnail must fit in
};

struct Bookmark {
    qint32 level = 0;  // 0 for top-level items
    QString title;
    qint32 page = -1;  // -1: leads nowhere in this file
    bool operator==(const Bookmark&) const = default;
};

struct Reply {
    quint64 id = 0;
    Failure failure = Failure::None;
    qint32 pageCount = 0;
    QSizeF pageSize;  // points, as shown (rotation applied)
    QString label;
    QImage image;  // opaque
    std::vector<Bookmark> bookmarks;
    // Of an opened file with page labels: those of its first pages (up to labelsOnOpen).
    QStringList labels;
};

inline constexpr int labelsOnOpen = 64;

// Frames are a 32-bit big-endian length and then that many bytes. Larger ones are refused.
inline constexpr quint32 maxFrameSize = 64u << 20;
inline constexpr int maxImageSide = 4096;

QByteArray frame(const Request& request);
QByteArray frame(const Reply& reply);

// Takes one whole frame's payload off the front of buffer, if there is one. Answers false when
// the buffer cannot hold a frame (one announced too large): the stream is broken.
bool takeFrame(QByteArray& buffer, std::optional<QByteArray>& payload);

// Nothing on failure: a payload that does not decode to a whole, sane message.
std::optional<Request> decodeRequest(const QByteArray& payload);
std::optional<Reply> decodeReply(const QByteArray& payload);

}  // namespace tomefuse::preview
