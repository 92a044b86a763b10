#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>

#include "platform/qt/preview/PreviewProtocol.h"

class QProcess;

namespace tomefuse {

// One worker process that reads PDF files for the preview, and the few requests sent to it. The
// owner supplies requests only as the worker can take them (a few ahead, so that it never waits
// for the window), and so can keep changing its mind about what matters next. A worker that
// crashes or takes longer than the time allowed over a request is killed: that request fails as
// unreadable, and the others sent with it go to the next process.
class PreviewWorker final : public QObject {
    Q_OBJECT

  public:
    using Supply = std::function<std::optional<preview::Request>()>;

    PreviewWorker(QString program, int timeoutMs, QObject* parent = nullptr);
    ~PreviewWorker() override;

    // Asked for the next request whenever the worker can take one.
    void setSupply(Supply supply) { supply_ = std::move(supply); }
    // There may be work: sends requests until the worker has enough.
    void wake();
    // The worker may let go of a file.
    void close(const QString& path);

    // Sent and not answered yet, the oldest first.
    const std::deque<preview::Request>& inFlight() const { return inFlight_; }
    // Processes started so far: a new one after each crash or time-out.
    int starts() const { return starts_; }

    // The worker program beside the application, installed or in the build tree; the
    // environment variable TOMEFUSE_PREVIEW_WORKER names another.
    static QString defaultProgram();

  signals:
    void replied(const preview::Request& request, const preview::Reply& reply);

  private:
    bool ensureStarted();
    void readReplies();
    void send(preview::Request request);
    void finish(preview::Reply reply);
    void fail(preview::Failure failure);
    void stopProcess();

    QString program_;
    int timeoutMs_;
    Supply supply_;
    QProcess* process_ = nullptr;
    QByteArray buffer_;
    std::deque<preview::Request> inFlight_;
    std::deque<preview::Request> resend_;  // sent to a process that died over an earlier one
    QTimer timeout_;
    quint64 nextId_ = 1;
    int starts_ = 0;
    static constexpr size_t depth = 3;
    bool waking_ = false;
    bool unavailable_ = false;  // the program does not start: no use trying again
};

}  // namespace tomefuse
