#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace tomefuse {

// Paths cross into the core as the file system's bytes, so a name that is not valid UTF-8 still
// reaches the same file.
inline std::string toStdPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

inline QString fromStdPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace tomefuse
