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
    while (inFlight_.size() < depth) {
        std::optional<Request> next;
        if (!resend_.empty()) {
            next = std::move(resend_.front());
            resend_.pop_front();
        } else if (supply_) {
            next = supply_();
        }
        if (!next) {
            break;
        }
        send(std::move(*next));
    }
    waking_ = false;
}

void PreviewWorker::send(Request request) {
    request.id = nextId_++;
    if (!ensureStarted() || !process_) {
        emit replied(request, Reply{request.id, Failure::NoWorker, 0, {}, {}, {}, {}, {}});
        return;
    }
    inFlight_.push_back(request);
    process_->write(preview::frame(request));
    if (!timeout_.isActive()) {
        timeout_.start(timeoutMs_);
    }
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
        if (!reply || inFlight_.empty() || reply->id != inFlight_.front().id) {
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
    // Answers come in the order asked: this one is the oldest's. The time allowed starts again
    // for the next.
    timeout_.stop();
    const Request request = std::move(inFlight_.front());
    inFlight_.pop_front();
    if (!inFlight_.empty()) {
        timeout_.start(timeoutMs_);
    }
    emit replied(request, reply);
    wake();
}

void PreviewWorker::fail(Failure failure) {
    // The process is of no more use: killed, it will be started again for the next request.
    stopProcess();
    timeout_.stop();
    std::deque<Request> failed;
    failed.swap(inFlight_);
    // The oldest request is the one it was working on; the others were only waiting.
    if (failure != Failure::NoWorker && failed.size() > 1) {
        resend_.insert(resend_.begin(), std::next(failed.begin()), failed.end());
        failed.erase(std::next(failed.begin()), failed.end());
    }
    for (const Request& request : failed) {
        emit replied(request, Reply{request.id, failure, 0, {}, {}, {}, {}, {}});
    }
    wake();
}

}  // namespace tomefuse
