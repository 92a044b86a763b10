#include "platform/qt/QtWorkspace.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QTimer>
#include <functional>
#include <utility>

#include "platform/qt/QtStrings.h"

namespace tomefuse {

namespace {

// Long enough for a file manager that has to start first.
constexpr int fileManagerTimeoutMs = 5000;

void answer(const Workspace::Done& done, bool succeeded) {
    if (done) {
        done(succeeded);
    }
}

// One question to the desktop's tool, answered once: by what the tool prints, or, when it cannot
// be run or takes too long, by leaving it to the opener. Gone, it answers nothing.
class ApplicationQuestion final : public QObject {
  public:
    using Answer = std::function<void(bool hasApplication)>;

    ApplicationQuestion(QStringList command, int timeoutMs, Answer answer, QObject* parent)
        : QObject(parent), answer_(std::move(answer)) {
        connect(&process_, &QProcess::finished, this,
                [this] { finish(!process_.readAllStandardOutput().trimmed().isEmpty()); });
        connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) {
                finish(true);
            }
        });
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, [this] { finish(true); });
        timer_.start(timeoutMs);
        const QString program = command.takeFirst();
        process_.start(program, command);
    }

    ~ApplicationQuestion() override { stop(); }

  private:
    void stop() {
        process_.disconnect(this);
        timer_.stop();
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(1000);
        }
    }

    void finish(bool hasApplication) {
        stop();
        deleteLater();
        if (Answer answer = std::exchange(answer_, nullptr)) {
            answer(hasApplication);
        }
    }

    QProcess process_;
    QTimer timer_;
    Answer answer_;
};

}  // namespace

QtWorkspace::QtWorkspace(QStringList applicationQuery, int timeoutMs)
    : applicationQuery_(std::move(applicationQuery)), timeoutMs_(timeoutMs) {}

// The questions go with questions_, their children, and answer nothing.
QtWorkspace::~QtWorkspace() = default;

void QtWorkspace::openWhenThereIsAnApplication(const QString& type, const QUrl& target, Done done) {
    if (applicationQuery_.isEmpty()) {
        answer(done, QDesktopServices::openUrl(target));
        return;
    }
    new ApplicationQuestion(
        QStringList(applicationQuery_) << type, timeoutMs_,
        [target, done = std::move(done)](bool hasApplication) {
            answer(done, hasApplication && QDesktopServices::openUrl(target));
        },
        &questions_);
}

void QtWorkspace::openFile(const std::string& path, Done done) {
    const QString file = fromStdPath(path);
    if (!QFileInfo::exists(file)) {
        answer(done, false);
        return;
    }
    openWhenThereIsAnApplication(QMimeDatabase().mimeTypeForFile(file).name(), QUrl::fromLocalFile(file),
                                 std::move(done));
}

void QtWorkspace::selectFile(const std::string& path, const std::string& rootPath, Done done) {
    const QString file = QFileInfo(fromStdPath(path)).absoluteFilePath();
    if (!QFileInfo::exists(file)) {
        answer(done, false);
        return;
    }
    // Without a file manager that can select, the folder is the next best thing.
    const QUrl folder = QUrl::fromLocalFile(rootPath.empty() ? QFileInfo(file).absolutePath() : fromStdPath(rootPath));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        answer(done, QDesktopServices::openUrl(folder));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", "ShowItems");
    call << QStringList{QUrl::fromLocalFile(file).toString()} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, fileManagerTimeoutMs), &questions_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [folder, done = std::move(done)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         answer(done, !finished->isError() || QDesktopServices::openUrl(folder));
                     });
}

void QtWorkspace::openURL(const std::string& url, Done done) {
    const QString text = QString::fromStdString(url);
    QUrl target(text);
    if (target.scheme().isEmpty() && text.startsWith('/')) {
        target = QUrl::fromLocalFile(text);
    }
    if (!target.isValid()) {
        answer(done, false);
        return;
    }
    const QString type = target.isLocalFile() ? QMimeDatabase().mimeTypeForFile(target.toLocalFile()).name()
                                              : QStringLiteral("x-scheme-handler/") + target.scheme();
    openWhenThereIsAnApplication(type, target, std::move(done));
}

}  // namespace tomefuse
