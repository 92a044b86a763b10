#include "platform/qt/QtWorkspace.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "platform/qt/QtStrings.h"

namespace tomefuse {

namespace {

// Long enough for a file manager that has to start first; short enough not to hang the window
// when the service is registered but dead.
constexpr int fileManagerTimeoutMs = 5000;

bool showInFileManager(const QString& path) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", "ShowItems");
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    QDBusMessage reply = bus.call(call, QDBus::Block, fileManagerTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

// Without the tool to ask, the opener decides.
bool desktopHasApplication(const QString& type) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForStarted(2000)) {
        return true;
    }
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return true;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

QtWorkspace::QtWorkspace(ApplicationQuery hasApplication)
    : hasApplication_(hasApplication ? std::move(hasApplication) : ApplicationQuery(desktopHasApplication)) {}

bool QtWorkspace::openFile(const std::string& path) {
    const QString file = fromStdPath(path);
    if (!QFileInfo::exists(file)) {
        return false;
    }
    return hasApplication_(QMimeDatabase().mimeTypeForFile(file).name()) &&
           QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

bool QtWorkspace::selectFile(const std::string& path, const std::string& rootPath) {
    const QString file = QFileInfo(fromStdPath(path)).absoluteFilePath();
    if (!QFileInfo::exists(file)) {
        return false;
    }
    if (showInFileManager(file)) {
        return true;
    }
    // Without a file manager that can select, the folder is the next best thing.
    QString folder = rootPath.empty() ? QFileInfo(file).absolutePath() : fromStdPath(rootPath);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

bool QtWorkspace::openURL(const std::string& url) {
    const QString text = QString::fromStdString(url);
    QUrl target(text);
    if (target.scheme().isEmpty() && text.startsWith('/')) {
        target = QUrl::fromLocalFile(text);
    }
    if (!target.isValid()) {
        return false;
    }
    const QString type = target.isLocalFile() ? QMimeDatabase().mimeTypeForFile(target.toLocalFile()).name()
                                              : QStringLiteral("x-scheme-handler/") + target.scheme();
    return hasApplication_(type) && QDesktopServices::openUrl(target);
}

}  // namespace tomefuse
