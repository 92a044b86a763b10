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
// process that died is replaced, never a reason not to start. Files go only to a listener of the
// same user, and to one that greeted first: a window too busy to greet gets nothing, so a launch
// that gives up on it can open the files itself without their opening twice.
class SingleInstance final : public QObject {
    Q_OBJECT

  public:
    using Paths = std::vector<std::string>;
    using Handler = std::function<void(const Paths& paths)>;

    enum class Role {
        primary,     // listening: later instances' files arrive at the handler
        secondary,   // another instance took the files
        standalone,  // neither: the files were not handed over and this launch does not listen
        unanswered,  // the files went to an instance that did not confirm: it may still open them
    };

    explicit SingleInstance(QString socketPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    // <runtime dir>/tomefuse-<uid>-<display>.socket: one per user and display. Without a
    // runtime folder, a folder of the user's own in the temporary folder; empty when none can be
    // had (another user may hold its name), and then there is no socket at all.
    static QString defaultSocketPath();

    // Hands the absolute paths to the instance listening at the socket path; when nobody
    // listens, listens there instead. Each wait (for the greeting, then for the answer) lasts
    // up to timeoutMs. An empty socket path stands alone. Call once.
    Role start(const Paths& paths, int timeoutMs = 5000);

    // Why start() did not end as primary or secondary, as a line for the user; empty otherwise.
    const QString& problem() const { return problem_; }

    // Whether the process at the other end of a connected local socket runs as this user.
    static bool peerIsThisUser(qintptr descriptor);

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
    enum class HandOff {
        taken,            // the listener confirmed
        nobodyListening,  // no socket, or one left by a process that died
        notSent,          // a listener that is busy, unreachable or another user's: nothing sent
        unconfirmed,      // sent, and no confirmation came
    };

    HandOff handOff(const Paths& paths, int timeoutMs);
    bool listen();
    void accept();
    void readRequest(QLocalSocket& socket, QByteArray& received);
    void deliver(const Paths& paths);

    QString socketPath_;
    QString problem_;
    QLocalServer* server_ = nullptr;
    Handler handler_;
    std::vector<Paths> waiting_;
};

}  // namespace tomefuse
