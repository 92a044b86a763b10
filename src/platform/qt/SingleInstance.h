#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;

namespace tomefuse {

// One window per user session. The first process listens on a local socket private to the user;
// a later one hands it the files it was asked to open and leaves. A socket left behind by a
// process that died is replaced, never a reason not to start.
class SingleInstance final : public QObject {
    Q_OBJECT

  public:
    using Paths = std::vector<std::string>;
    using Handler = std::function<void(const Paths& paths)>;

    enum class Role {
        primary,     // listening: later instances' files arrive at the handler
        secondary,   // another instance took the files
        standalone,  // neither: no instance answered and listening failed
    };

    explicit SingleInstance(QString socketPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    // <runtime dir>/tomefuse-<uid>-<display>.socket: one per user and display.
    static QString defaultSocketPath();

    // Hands the absolute paths to the instance listening at the socket path; when none takes
    // them within timeoutMs, listens there instead. Call once.
    Role start(const Paths& paths, int timeoutMs = 5000);

    // Where requests go, on the event loop. Requests that came before a handler wait for it.
    void setHandler(Handler handler);

    const QString& socketPath() const { return socketPath_; }

    // The message that carries a list of absolute paths, and what the bytes received so far say.
    struct Decoded {
        enum class State { incomplete, complete, malformed } state = State::incomplete;
        Paths paths;
    };
    static QByteArray encode(const Paths& paths);
    static Decoded decode(const QByteArray& received);

  private:
    enum class HandOff { taken, nobodyListening, noAnswer };

    HandOff handOff(const Paths& paths, int timeoutMs);
    bool listen();
    void accept();
    void readRequest(QLocalSocket& socket, QByteArray& received);
    void deliver(const Paths& paths);

    QString socketPath_;
    QLocalServer* server_ = nullptr;
    Handler handler_;
    std::vector<Paths> waiting_;
};

}  // namespace tomefuse
