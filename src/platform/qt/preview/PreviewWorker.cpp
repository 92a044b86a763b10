#include "platform/qt/preview/PreviewWorker.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

namespace tomefuse {

using preview::Failure;
using preview::Reply;
using preview::Request;

PreviewWorker::PreviewWorker(QString program, int timeoutMs, QObject* parent)
    : QObject(parent), program_(std::move(program)), timeoutMs_(timeoutMs) {
    timeout_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this, [this] { fail(Failure::ReaderFailed); });
}

PreviewWorker::~PreviewWorker() { stopProcess(); }

QString PreviewWorker::defaultProgram() {
    const QString named = qEnvironmentVariable("TOMEFUSE_PREVIEW_WORKER");
    if (!named.isEmpty()) {
        return named;
    }
    const QString dir = QCoreApplication::applicationDirPath();
    const QString candidates[] = {
        dir + QStringLiteral("/../libexec/tomefuse/tomefuse-preview-worker"),
        dir + QStringLiteral("/tomefuse-preview-worker"),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isExecutable()) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    return {};
}

bool PreviewWorker::ensureStarted() {
    if (process_) {
        return true;
    }
    if (program_.isEmpty() || unavailable_) {
        return false;
    }
    process_ = new QProcess(this);
    process_->setProgram(program_);
    // Sanitizer and crash reports of the worker belong with the window's.
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(process_, &QProcess::readyReadStandardOutput, this, &PreviewWorker::readReplies);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            unavailable_ = true;
        }
        fail(unavailable_ ? Failure::NoWorker : Failure::ReaderFailed);
    });
    connect(process_, &QProcess::finished, this, [this] { fail(Failure::ReaderFailed); });
    ++starts_;
    process_->start(QIODevice::ReadWrite);
    return true;
}

void PreviewWorker::stopProcess() {
    if (!process_) {
        return;
    }
    // Often called from the process's own signals: it goes once they are done.
    QProcess* process = std::exchange(process_, nullptr);
    process->disconnect(this);
    process->kill();
    // A killed process is gone within milliseconds; one that had ended already answers at once.
    process->waitForFinished(1000);
    process->deleteLater();
    buffer_.clear();
}

void PreviewWorker::wake() {
    // A request that fails at once may wake the worker again from inside this loop.
    if (waking_) {
        return;
    }
    waking_ = true;
    while (!inFlight_ && supply_) {
        std::optional<Request> next = supply_();
        if (!next) {
            break;
        }
        next->id = nextId_++;
        inFlight_ = std::move(next);
        if (!ensureStarted()) {
            finish(Reply{inFlight_->id, Failure::NoWorker, 0, {}, {}, {}, {}});
            continue;
        }
        if (!process_ || !inFlight_) {
            continue;  // failed while starting, and answered
        }
        process_->write(preview::frame(*inFlight_));
        timeout_.start(timeoutMs_);
    }
    waking_ = false;
}

void PreviewWorker::close(const QString& path) {
    if (process_ && process_->state() != QProcess::NotRunning) {
        Request request;
        request.op = preview::Op::Close;
        request.path = path;
        process_->write(preview::frame(request));
    }
}

void PreviewWorker::readReplies() {
    if (!process_) {
        return;
    }
    buffer_.append(process_->readAllStandardOutput());
    std::optional<QByteArray> payload;
    while (true) {
        if (!preview::takeFrame(buffer_, payload)) {
            fail(Failure::ReaderFailed);
            return;
        }
        if (!payload) {
            return;
        }
        std::optional<Reply> reply = preview::decodeReply(*payload);
        if (!reply || !inFlight_ || reply->id != inFlight_->id) {
            fail(Failure::ReaderFailed);
            return;
        }
        finish(std::move(*reply));
        if (!process_) {
            return;
        }
    }
}

void PreviewWorker::finish(Reply reply) {
    timeout_.stop();
    const Request request = std::move(*inFlight_);
    inFlight_.reset();
    emit replied(request, reply);
    wake();
}

void PreviewWorker::fail(Failure failure) {
    // The process is of no more use: killed, it will be started again for the next request.
    stopProcess();
    if (inFlight_) {
        finish(Reply{inFlight_->id, failure, 0, {}, {}, {}, {}});
    }
}

}  // namespace tomefuse
