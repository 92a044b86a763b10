#include <grp.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTest>
#include <filesystem>
#include <future>
#include <optional>

#include "QtTestSupport.h"
#include "platform/qt/SingleInstance.h"

namespace tomefuse::test {
namespace {

using Paths = SingleInstance::Paths;
using State = SingleInstance::Decoded::State;

// A later launch runs in its own process and blocks while it hands over; a thread stands in for
// it, while this thread runs the event loop of the first.
template <class Result>
Result whileEventLoopRuns(std::function<Result()> work) {
    auto future = std::async(std::launch::async, std::move(work));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return future.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 20000));
    return future.get();
}

// A Unix socket bound at path: listening but never accepting, or closed at once, which leaves
// the file a crashed process leaves.
int bindSocket(const std::string& path, bool listening) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(::listen(fd, 4), 0);
    if (!listening) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// What a client sent before it hung up.
std::string readUntilClosed(int fd) {
    std::string received;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        received.append(buffer, static_cast<size_t>(n));
    }
    return received;
}

// A listener of another user ("nobody"), in a child process that binds as root and gives up its
// identity before it listens, since the kernel records who listens then. It greets as ours does
// and reports through the pipe what it was sent. None where root or the change of identity is
// not to be had.
struct ForeignListener {
    pid_t pid = -1;
    int report = -1;
};
std::optional<ForeignListener> listenAsAnotherUser(const std::string& path) {
    int pipe[2];
    if (::geteuid() != 0 || ::pipe(pipe) != 0) {
        return std::nullopt;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {  // system calls only from here: the parent has threads
        ::alarm(20);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        const uid_t nobody = 65534;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::setgroups(0, nullptr) != 0 ||
            ::setresgid(nobody, nobody, nobody) != 0 || ::setresuid(nobody, nobody, nobody) != 0 ||
            ::listen(fd, 4) != 0) {
            ::_exit(1);
        }
        (void)!::write(pipe[1], "y", 1);
        const int client = ::accept(fd, nullptr, nullptr);
        // Ours hangs up at once: a plain write would end this process with SIGPIPE.
        (void)!::send(client, "tomefuse-ready 1\n", 17, MSG_NOSIGNAL);
        char buffer[4096];
        ssize_t n = 0;
        size_t total = 0;
        while ((n = ::read(client, buffer, sizeof buffer)) > 0) {
            total += static_cast<size_t>(n);
        }
        (void)!::write(pipe[1], &total, sizeof total);
        ::_exit(0);
    }
    ::close(pipe[1]);
    char ready = 0;
    if (pid < 0 || ::read(pipe[0], &ready, 1) != 1) {
        ::close(pipe[0]);
        if (pid > 0) {
            ::waitpid(pid, nullptr, 0);
        }
        return std::nullopt;
    }
    return ForeignListener{pid, pipe[0]};
}

TEST(SingleInstance, MessagesCarryAbsolutePathsAndNothingElse) {
    const Paths paths{"/a/b.pdf", "/with space/and\nnewline.pdf", "/ü.pdf"};
    const QByteArray message = SingleInstance::encode(paths);

    auto whole = SingleInstance::decode(message);
    EXPECT_EQ(whole.state, State::complete);
    EXPECT_EQ(whole.paths, paths);

    // Every shorter piece is only the start of a message.
    for (qsizetype size = 0; size < message.size(); ++size) {
        EXPECT_EQ(SingleInstance::decode(message.left(size)).state, State::incomplete) << size;
    }

    const auto none = SingleInstance::decode(SingleInstance::encode({}));
    EXPECT_EQ(none.state, State::complete);
    EXPECT_TRUE(none.paths.empty());
    EXPECT_EQ(SingleInstance::decode(SingleInstance::encode({"", "/x.pdf"})).paths, Paths{"/x.pdf"});

    const QByteArray header = SingleInstance::encode({}).chopped(1);
    const struct {
        QByteArray bytes;
        const char* why;
    } malformed[] = {
        {"GET / HTTP/1.1\r\n", "another protocol"},
        {"tomefuse-open 2", "another version"},
        {header + "relative.pdf" + QByteArray(2, '\0'), "a relative path"},
        {header + QByteArray(17 * 1024 * 1024, 'x'), "no end in sight"},
    };
    for (const auto& m : malformed) {
        EXPECT_EQ(SingleInstance::decode(m.bytes).state, State::malformed) << m.why;
    }
}

TEST(SingleInstance, TheFirstListensAndLaterOnesHandOverTheirFiles) {
    TempDir dir;
    const QString socket = QString::fromStdString(dir.file("tomefuse.socket"));
    SingleInstance first(socket);
    std::vector<Paths> received;
    ASSERT_EQ(first.start({"/first.pdf"}), SingleInstance::Role::primary);
    EXPECT_TRUE(QFileInfo(socket).exists());
    EXPECT_EQ(QFileInfo(socket).permissions() & (QFile::ReadOther | QFile::WriteOther), 0) << "the user's own";

    // Before the window is ready the files wait for it.
    auto role = whileEventLoopRuns<SingleInstance::Role>([&] { return SingleInstance(socket).start({"/a.pdf"}); });
    EXPECT_EQ(role, SingleInstance::Role::secondary);
    first.setHandler([&](const Paths& paths) { received.push_back(paths); });
    EXPECT_EQ(received, (std::vector<Paths>{{"/a.pdf"}}));

    // Then in the order they come, and an empty request only raises the window.
    for (const Paths& paths : {Paths{"/b c.pdf", "/d.pdf"}, Paths{}}) {
        role = whileEventLoopRuns<SingleInstance::Role>([&] { return SingleInstance(socket).start(paths); });
        EXPECT_EQ(role, SingleInstance::Role::secondary);
    }
    EXPECT_EQ(received, (std::vector<Paths>{{"/a.pdf"}, {"/b c.pdf", "/d.pdf"}, {}}));

    // Junk is greeted, then hung up on, and delivers nothing; the next request is served as before.
    const QByteArray answer = whileEventLoopRuns<QByteArray>([&] {
        QLocalSocket client;
        client.connectToServer(socket);
        client.waitForConnected(2000);
        client.write("tomefuse-open 1\0relative.pdf\0\0", 31);
        client.waitForBytesWritten(2000);
        QByteArray received;
        while (client.waitForReadyRead(2000)) {
            received += client.readAll();
        }
        return received + client.readAll() + (client.state() == QLocalSocket::ConnectedState ? "(connected)" : "");
    });
    EXPECT_EQ(answer, "tomefuse-ready 1\n");
    role = whileEventLoopRuns<SingleInstance::Role>([&] { return SingleInstance(socket).start({"/e.pdf"}); });
    EXPECT_EQ(role, SingleInstance::Role::secondary);
    EXPECT_EQ(received.size(), 4u);
    EXPECT_EQ(received.back(), Paths{"/e.pdf"});
}

TEST(SingleInstance, ASocketLeftByACrashIsTakenOver) {
    TempDir dir;
    const std::string path = dir.file("tomefuse.socket");
    bindSocket(path, false);
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(path)));

    SingleInstance first(QString::fromStdString(path));
    ASSERT_EQ(first.start({}, 1000), SingleInstance::Role::primary);
    Paths received;
    first.setHandler([&](const Paths& paths) { received = paths; });
    const auto role = whileEventLoopRuns<SingleInstance::Role>(
        [&] { return SingleInstance(QString::fromStdString(path)).start({"/later.pdf"}); });
    EXPECT_EQ(role, SingleInstance::Role::secondary);
    EXPECT_EQ(received, Paths{"/later.pdf"});
}

// A window that does not answer in time gets the files at most once, and the launch opens them
// itself only when they were not sent.
TEST(SingleInstance, AWindowThatDoesNotAnswerGetsTheFilesOnceOrNotAtAll) {
    TempDir dir;
    const QString notAnswering = QStringLiteral("the running Tomefuse window does not answer; ");

    // A process that holds the socket and never accepts: nothing is sent, and its socket stays.
    const std::string hungPath = dir.file("hung.socket");
    const int hung = bindSocket(hungPath, true);
    QElapsedTimer clock;
    clock.start();
    SingleInstance launch(QString::fromStdString(hungPath));
    EXPECT_EQ(launch.start({"/a.pdf"}, 300), SingleInstance::Role::standalone);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(launch.problem().startsWith(notAnswering)) << launch.problem().toStdString();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(hungPath))) << "its socket is not taken from it";
    const int waiting = ::accept(hung, nullptr, nullptr);
    EXPECT_EQ(readUntilClosed(waiting), "") << "nothing was sent";
    ::close(waiting);
    ::close(hung);

    // A window of ours whose event loop is held: the launch stands alone, and the window, once
    // it runs again, does not open the files too; a later launch reaches it as usual.
    const QString busyPath = QString::fromStdString(dir.file("busy.socket"));
    SingleInstance first(busyPath);
    ASSERT_EQ(first.start({}), SingleInstance::Role::primary);
    std::vector<Paths> received;
    first.setHandler([&](const Paths& paths) { received.push_back(paths); });
    auto held = std::async(std::launch::async, [&] {
        SingleInstance later(busyPath);
        return std::pair(later.start({"/b.pdf"}, 300), later.problem());
    });
    const auto [heldRole, heldProblem] = held.get();  // this thread runs no event loop meanwhile
    EXPECT_EQ(heldRole, SingleInstance::Role::standalone);
    EXPECT_TRUE(heldProblem.startsWith(notAnswering)) << heldProblem.toStdString();
    QTest::qWait(300);
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(whileEventLoopRuns<SingleInstance::Role>([&] { return SingleInstance(busyPath).start({"/c.pdf"}); }),
              SingleInstance::Role::secondary);
    EXPECT_EQ(received, std::vector<Paths>{{"/c.pdf"}});

    // One that greets, takes the request and never confirms may still open the files: no window.
    const std::string silentPath = dir.file("silent.socket");
    const int silent = bindSocket(silentPath, true);
    auto taken = std::async(std::launch::async, [silent] {
        const int client = ::accept(silent, nullptr, nullptr);
        (void)!::send(client, "tomefuse-ready 1\n", 17, MSG_NOSIGNAL);
        std::string request = readUntilClosed(client);
        ::close(client);
        return request;
    });
    SingleInstance unanswered(QString::fromStdString(silentPath));
    EXPECT_EQ(unanswered.start({"/d.pdf"}, 300), SingleInstance::Role::unanswered);
    EXPECT_TRUE(unanswered.problem().startsWith(notAnswering)) << unanswered.problem().toStdString();
    EXPECT_EQ(taken.get(), SingleInstance::encode({"/d.pdf"}).toStdString());
    ::close(silent);

    // A folder that cannot hold the socket: the launch still starts.
    EXPECT_EQ(SingleInstance(QString::fromStdString(dir.file("missing/tomefuse.socket"))).start({}, 300),
              SingleInstance::Role::standalone);
}

// Paths go only to a listener that runs as this user: another user's gets not a byte.
TEST(SingleInstance, OnlyAListenerOfThisUserIsSentTheFiles) {
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    EXPECT_TRUE(SingleInstance::peerIsThisUser(pair[0]));
    ::close(pair[0]);
    ::close(pair[1]);
    EXPECT_FALSE(SingleInstance::peerIsThisUser(-1));

    TempDir dir;
    const std::string path = dir.file("tomefuse.socket");
    const auto foreign = listenAsAnotherUser(path);
    if (!foreign) {
        GTEST_SKIP() << "a listener of another user needs root and the right to change identity";
    }
    SingleInstance launch(QString::fromStdString(path));
    EXPECT_EQ(launch.start({"/secret.pdf"}, 2000), SingleInstance::Role::standalone);
    EXPECT_TRUE(launch.problem().contains("another user")) << launch.problem().toStdString();
    size_t sent = 1;
    EXPECT_EQ(::read(foreign->report, &sent, sizeof sent), static_cast<ssize_t>(sizeof sent));
    EXPECT_EQ(sent, 0u);
    ::close(foreign->report);
    ::waitpid(foreign->pid, nullptr, 0);
}

// The session's runtime folder, or else a folder only this user can reach: where no such folder
// can be had (another user took the name, or it is open to others), no socket at all.
TEST(SingleInstance, TheSocketLivesOnlyInAFolderOfTheUsersOwn) {
    ScopedEnvironment wayland("WAYLAND_DISPLAY", "");
    ScopedEnvironment display("DISPLAY", "host:1.0");
    const std::string name = "/tomefuse-" + std::to_string(::getuid()) + "-host_1.0.socket";
    const std::string own = "tomefuse-" + std::to_string(::geteuid());
    namespace fs = std::filesystem;
    const struct {
        const char* why;
        bool runtime;
        std::function<bool(const std::string& folder)> prepare;  // false: cannot be set up here
        bool private_;
    } cases[] = {
        {"the session's runtime folder", true, nullptr, true},
        {"none: a folder made in the temporary folder", false, nullptr, true},
        {"none: our folder there, open to all", false,
         [](const std::string& folder) {
             return ::mkdir(folder.c_str(), 0700) == 0 && ::chmod(folder.c_str(), 0777) == 0;
         },
         false},
        {"none: a link planted in its place", false,
         [](const std::string& folder) {
             return ::mkdir((folder + ".real").c_str(), 0700) == 0 &&
                    ::symlink((folder + ".real").c_str(), folder.c_str()) == 0;
         },
         false},
        {"none: the name taken by another user", false,
         [](const std::string& folder) {
             return ::geteuid() == 0 && ::mkdir(folder.c_str(), 0700) == 0 &&
                    ::chown(folder.c_str(), 65534, 65534) == 0;
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const TempDir runtime;
        const TempDir tmp;
        ::chmod(runtime.path().c_str(), 0700);
        ScopedEnvironment runtimeFolder("XDG_RUNTIME_DIR", c.runtime ? QByteArray::fromStdString(runtime.path()) : "");
        ScopedEnvironment tmpFolder("TMPDIR", QByteArray::fromStdString(tmp.path()));
        const std::string folder = c.runtime ? runtime.path() : tmp.file(own);
        if (c.prepare && !c.prepare(folder)) {
            continue;  // needs root
        }
        const QString socket = SingleInstance::defaultSocketPath();
        if (!c.private_) {
            EXPECT_EQ(socket, QString());
            SingleInstance alone(socket);
            EXPECT_EQ(alone.start({"/a.pdf"}, 300), SingleInstance::Role::standalone);
            EXPECT_TRUE(alone.problem().contains(QString::fromStdString(tmp.path()))) << alone.problem().toStdString();
            continue;
        }
        EXPECT_EQ(socket.toStdString(), folder + name);
        EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    }
}

}  // namespace
}  // namespace tomefuse::test
