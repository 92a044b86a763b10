#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTest>
#include <future>

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

    // Junk is hung up on and delivers nothing; the next request is served as before.
    const bool hungUp = whileEventLoopRuns<bool>([&] {
        QLocalSocket client;
        client.connectToServer(socket);
        client.waitForConnected(2000);
        client.write("tomefuse-open 1\0relative.pdf\0\0", 31);
        client.waitForBytesWritten(2000);
        return !client.waitForReadyRead(2000) && client.state() != QLocalSocket::ConnectedState;
    });
    EXPECT_TRUE(hungUp);
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

TEST(SingleInstance, AnInstanceThatDoesNotAnswerIsLeftAloneAndTheLaunchStandsAlone) {
    TempDir dir;
    const std::string path = dir.file("tomefuse.socket");
    const int hung = bindSocket(path, true);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(SingleInstance(QString::fromStdString(path)).start({"/a.pdf"}, 300), SingleInstance::Role::standalone);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(path))) << "its socket is not taken from it";
    ::close(hung);

    // A folder that cannot hold the socket: the launch still starts.
    EXPECT_EQ(SingleInstance(QString::fromStdString(dir.file("missing/tomefuse.socket"))).start({}, 300),
              SingleInstance::Role::standalone);
}

TEST(SingleInstance, TheDefaultSocketIsTheUsersAndTheDisplays) {
    const TempDir runtime;
    ::chmod(runtime.path().c_str(), 0700);
    ScopedEnvironment folder("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path()));
    ScopedEnvironment wayland("WAYLAND_DISPLAY", "");
    ScopedEnvironment display("DISPLAY", "host:1.0");
    const QString expected =
        QString::fromStdString(runtime.path()) + "/tomefuse-" + QString::number(::getuid()) + "-host_1.0.socket";
    EXPECT_EQ(SingleInstance::defaultSocketPath(), expected);
}

}  // namespace
}  // namespace tomefuse::test
