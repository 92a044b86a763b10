#include "platform/qt/SingleInstance.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <utility>

#include "platform/desktop/PrivateFolder.h"

namespace tomefuse {

namespace {

// "tomefuse-open 1", a NUL, each path followed by a NUL, and one more NUL at the end. Paths are
// the file system's bytes, which may hold anything but NUL; an empty path ends the list.
const QByteArray header("tomefuse-open 1\0", 16);
const QByteArray end("\0\0", 2);
const QByteArray greeting("tomefuse-ready 1\n");
const QByteArray acknowledgement("ok\n");

// A request is a handful of paths; anything this large is not one.
constexpr qsizetype maxMessageBytes = 16 * 1024 * 1024;
// A client that connects and then says nothing is dropped after this long.
constexpr int requestTimeoutMs = 10000;

// A line the other end sent, or empty when none came in time.
QByteArray readLine(QLocalSocket& socket, const QDeadlineTimer& deadline) {
    while (!socket.canReadLine() &&
           socket.waitForReadyRead(static_cast<int>(std::max<qint64>(0, deadline.remainingTime())))) {
    }
    return socket.canReadLine() ? socket.readLine(256) : QByteArray();
}

QString displayName() {
    QByteArray display = qgetenv("WAYLAND_DISPLAY");
    if (display.isEmpty()) {
        display = qgetenv("DISPLAY");
    }
    QString name;
    for (char c : display) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.';
        name += plain ? QChar(c) : QChar('_');
    }
    return name;
}

}  // namespace

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultSocketPath() {
    const QString name = QStringLiteral("/tomefuse-%1-%2.socket").arg(::getuid()).arg(displayName());
    // The session's runtime folder is the user's own (mode 0700), as Qt checks.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (!folder.isEmpty() && QDir::cleanPath(folder) == QDir::cleanPath(runtime)) {
            return folder + name;
        }
    }
    // Without it, not Qt's stand-in nor the temporary folder itself: in a folder every user can
    // write, another user may have taken the name first and listen there.
    const auto folder =
        privateFolder(QFile::encodeName(QDir::tempPath()).toStdString(), "tomefuse-" + std::to_string(::geteuid()));
    return folder ? QFile::decodeName(QByteArray::fromStdString(*folder)) + name : QString();
}

bool SingleInstance::peerIsThisUser(qintptr descriptor) {
#ifdef SO_PEERCRED
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
        return false;
    }
    return credentials.uid == ::geteuid();
#else
    Q_UNUSED(descriptor);
    return true;
#endif
}

QByteArray SingleInstance::encode(const Paths& paths) {
    QByteArray message = header;
    for (const std::string& path : paths) {
        if (!path.empty()) {
            message += QByteArray::fromStdString(path);
            message += '\0';
        }
    }
    message += '\0';
    return message;
}

SingleInstance::Decoded SingleInstance::decode(const QByteArray& received) {
    using State = Decoded::State;
    Decoded decoded;
    const qsizetype known = std::min(received.size(), header.size());
    if (received.left(known) != header.left(known)) {
        decoded.state = State::malformed;
        return decoded;
    }
    // The header's own NUL followed by another is the empty list.
    const qsizetype stop = received.indexOf(end, header.size() - 1);
    if (stop < 0) {
        decoded.state = received.size() > maxMessageBytes ? State::malformed : State::incomplete;
        return decoded;
    }
    if (stop >= header.size()) {
        for (const QByteArray& path : received.mid(header.size(), stop - header.size()).split('\0')) {
            // Relative paths would be read against the other process's folder.
            if (!path.startsWith('/')) {
                decoded.state = State::malformed;
                return decoded;
            }
            decoded.paths.push_back(path.toStdString());
        }
    }
    decoded.state = State::complete;
    return decoded;
}

SingleInstance::Role SingleInstance::start(const Paths& paths, int timeoutMs) {
    if (socketPath_.isEmpty()) {
        problem_ = QStringLiteral("no folder of this user's own for the socket in %1; this window stands alone")
                       .arg(QDir::tempPath());
        return Role::standalone;
    }
    // Two processes started at once must not both decide that nobody is listening.
    QLockFile lock(socketPath_ + QStringLiteral(".lock"));
    const bool locked = lock.tryLock(3 * timeoutMs);
    switch (handOff(paths, timeoutMs)) {
        case HandOff::taken:
            return Role::secondary;
        case HandOff::unconfirmed:
            // It has the files and may open them yet: a window here would open them twice.
            problem_ = QStringLiteral(
                "the running Tomefuse window does not answer; the files went to it and open there when it "
                "recovers");
            return Role::unanswered;
        case HandOff::notSent:
            // Someone holds the socket: start a window of our own, and leave the socket alone.
            return Role::standalone;
        case HandOff::nobodyListening:
            break;
    }
    if (!locked || !listen()) {
        problem_ =
            QStringLiteral("cannot listen at %1; later launches will open windows of their own").arg(socketPath_);
        return Role::standalone;
    }
    return Role::primary;
}

SingleInstance::HandOff SingleInstance::handOff(const Paths& paths, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(timeoutMs)) {
        // No socket file, or one that nobody listens on: what a crash leaves behind.
        const auto error = socket.error();
        if (error == QLocalSocket::ServerNotFoundError || error == QLocalSocket::ConnectionRefusedError) {
            return HandOff::nobodyListening;
        }
        problem_ = QStringLiteral("cannot reach the running Tomefuse window at %1 (%2); this window stands alone")
                       .arg(socketPath_, socket.errorString());
        return HandOff::notSent;
    }
    // Paths are private: they go to none but this user's own listener.
    if (!peerIsThisUser(socket.socketDescriptor())) {
        socket.abort();
        problem_ = QStringLiteral("%1 is held by another user; nothing was sent there, and this window stands alone")
                       .arg(socketPath_);
        return HandOff::notSent;
    }
    // A window that is too busy to greet gets nothing, so that it cannot take the files later
    // while this launch opens them too.
    if (readLine(socket, QDeadlineTimer(timeoutMs)) != greeting) {
        socket.abort();
        problem_ = QStringLiteral("the running Tomefuse window does not answer; this launch opens a window of its own");
        return HandOff::notSent;
    }
    const QDeadlineTimer deadline(timeoutMs);
    socket.write(encode(paths));
    while (socket.bytesToWrite() > 0 &&
           socket.waitForBytesWritten(static_cast<int>(std::max<qint64>(0, deadline.remainingTime())))) {
    }
    return readLine(socket, deadline) == acknowledgement ? HandOff::taken : HandOff::unconfirmed;
}

bool SingleInstance::listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath_)) {
        // Nobody answered on it (checked under the lock): a leftover of a process that died.
        QLocalServer::removeServer(socketPath_);
        if (!server_->listen(socketPath_)) {
            delete server_;
            server_ = nullptr;
            return false;
        }
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
    return true;
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Only the user's own processes may hand over files, whatever the socket's folder allows.
        if (!peerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            continue;
        }
        socket->write(greeting);
        socket->flush();
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] { readRequest(*socket, *received); });
        QTimer::singleShot(requestTimeoutMs, socket, [socket] { socket->abort(); });
        readRequest(*socket, *received);
    }
}

void SingleInstance::readRequest(QLocalSocket& socket, QByteArray& received) {
    if (socket.state() != QLocalSocket::ConnectedState) {
        return;  // answered already
    }
    received += socket.readAll();
    const Decoded decoded = decode(received);
    switch (decoded.state) {
        case Decoded::State::incomplete:
            return;
        case Decoded::State::malformed:
            socket.abort();
            return;
        case Decoded::State::complete:
            // The files are in the list before the other process hears back and leaves.
            deliver(decoded.paths);
            socket.write(acknowledgement);
            socket.flush();
            socket.disconnectFromServer();
            return;
    }
}

void SingleInstance::deliver(const Paths& paths) {
    if (handler_) {
        handler_(paths);
    } else {
        waiting_.push_back(paths);
    }
}

void SingleInstance::setHandler(Handler handler) {
    handler_ = std::move(handler);
    std::vector<Paths> waiting = std::move(waiting_);
    waiting_.clear();
    for (const Paths& paths : waiting) {
        deliver(paths);
    }
}

}  // namespace tomefuse
