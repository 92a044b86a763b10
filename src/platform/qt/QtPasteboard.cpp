#include "platform/qt/QtPasteboard.h"

#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
#include <QUrl>
#include <algorithm>

#include "platform/qt/QtStrings.h"

namespace tomefuse {

namespace {

// Uniform type identifiers and the MIME types they stand for.
QString mimeTypeForContentType(const std::string& type) {
    if (type == kUTTypePDF) {
        return QStringLiteral("application/pdf");
    }
    return QString::fromStdString(type);
}

}  // namespace

QString mimeTypeForDragType(const std::string& type) {
    if (type == kUTTypeFileURL) {
        return QStringLiteral("text/uri-list");
    }
    if (type.find('/') != std::string::npos) {
        return QString::fromStdString(type);
    }
    return QStringLiteral("application/x-tomefuse-") + QString::fromStdString(type).toLower();
}

void QtPasteboard::declareTypes(const std::vector<std::string>& types) {
    declared_ = std::set<std::string>(types.begin(), types.end());
    if (write_) {
        write_->clear();
    }
}

bool QtPasteboard::setData(const std::string& data, const std::string& type) {
    if (!write_ || !declared_.contains(type)) {
        return false;
    }
    write_->setData(mimeTypeForDragType(type), QByteArray::fromStdString(data));
    return true;
}

std::vector<std::string> QtPasteboard::readFileURLs(const URLReadingOptions& options) const {
    std::vector<std::string> paths;
    if (!read_ || !read_->hasUrls()) {
        return paths;
    }
    QMimeDatabase database;
    for (const QUrl& url : read_->urls()) {
        // Only local files can be opened, whatever fileURLsOnly says.
        if (!url.isLocalFile()) {
            continue;
        }
        const QString path = url.toLocalFile();
        const QFileInfo info(path);
        const auto& types = options.contentsConformToTypes;
        const auto asked = [&types](const char* type) {
            return std::find(types.begin(), types.end(), type) != types.end();
        };
        if (info.isDir()) {
            if (!asked(kUTTypeFolder) && !asked(kUTTypeItem)) {
                continue;
            }
        } else if (!info.isFile()) {
            continue;
        } else if (!types.empty() && !asked(kUTTypeItem)) {
            const QMimeType mime = database.mimeTypeForFile(info, QMimeDatabase::MatchDefault);
            const bool conforms = std::any_of(types.begin(), types.end(), [&](const std::string& type) {
                return mime.inherits(mimeTypeForContentType(type));
            });
            if (!conforms) {
                continue;
            }
        }
        paths.push_back(toStdPath(info.absoluteFilePath()));
    }
    return paths;
}

}  // namespace tomefuse
