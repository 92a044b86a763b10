#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

#include "platform/qt/preview/PreviewProtocol.h"

class QProcess;

namespace tomefuse {

// One worker process that reads PDF files for the preview, and the one request it is working
// on. Requests come from the owner when the worker is idle, so that the owner can keep changing
// its mind about what matters next. A worker that crashes or takes longer than the time allowed
// is killed; the request fails as unreadable and the next one starts a new process.
class PreviewWorker final : public QObject {
    Q_OBJECT

  public:
    using Supply = std::function<std::optional<preview::Request>()>;

    PreviewWorker(QString program, int timeoutMs, QObject* parent = nullptr);
    ~PreviewWorker() override;

    // Asked for the next request whenever the worker is idle.
    void setSupply(Supply supply) { supply_ = std::move(supply); }
    // There may be work: starts the next request unless one is under way.
    void wake();
    // The worker may let go of a file.
    void close(const QString& path);

    bool busy() const { return inFlight_.has_value(); }
    const std::optional<preview::Request>& inFlight() const { return inFlight_; }
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
    void finish(preview::Reply reply);
    void fail(preview::Failure failure);
    void stopProcess();

    QString program_;
    int timeoutMs_;
    Supply supply_;
    QProcess* process_ = nullptr;
    QByteArray buffer_;
    std::optional<preview::Request> inFlight_;
    QTimer timeout_;
    quint64 nextId_ = 1;
    int starts_ = 0;
    bool waking_ = false;
    bool unavailable_ = false;  // the program does not start: no use trying again
};

}  // namespace tomefuse
