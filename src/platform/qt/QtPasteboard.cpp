#include "platform/qt/QtPasteboard.h"

#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
#include <QUrl>
#include <algorithm>
#include <cstdio>

#include "platform/qt/QtStrings.h"

namespace tomefuse {

namespace {

// Uniform type identifiers and the MIME types they stand for.
QString mimeTypeForContentType(const std::string& type) {
    if (type == kUTTypePDF) {
        return QStringLiteral("application/pdf");
    }
    if (type == kUTTypeJPEG) {
        return QStringLiteral("image/jpeg");
    }
    if (type == kUTTypePNG) {
        return QStringLiteral("image/png");
    }
    if (type == kUTTypeTIFF) {
        return QStringLiteral("image/tiff");
    }
    return QString::fromStdString(type);
}

void appendJSONString(std::string& out, const std::string& text) {
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04X", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

std::string json(const std::vector<Pasteboard::Record>& list) {
    std::string out = "[";
    for (size_t i = 0; i < list.size(); ++i) {
        out += i ? ",{" : "{";
        for (size_t k = 0; k < list[i].size(); ++k) {
            const auto& [key, value] = list[i][k];
            out += k ? "," : "";
            appendJSONString(out, key);
            out += ':';
            if (const auto* text = std::get_if<std::string>(&value)) {
                appendJSONString(out, *text);
            } else if (const auto* number = std::get_if<uint64_t>(&value)) {
                out += std::to_string(*number);
            } else {
                out += "null";
            }
        }
        out += '}';
    }
    return out + "]";
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

bool QtPasteboard::setPropertyList(const std::vector<Record>& list, const std::string& type) {
    if (!write_ || !declared_.contains(type)) {
        return false;
    }
    write_->setData(mimeTypeForDragType(type), QByteArray::fromStdString(json(list)));
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
