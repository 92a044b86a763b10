#include "platform/qt/preview/Thumbnails.h"

#include <QTimer>
#include <algorithm>

namespace tomefuse {

using preview::Failure;
using preview::Op;
using preview::Reply;
using preview::Request;

Thumbnails::Thumbnails(QString program, QObject* parent) : Thumbnails(std::move(program), Limits{}, parent) {}

Thumbnails::Thumbnails(QString program, Limits limits, QObject* parent)
    : QObject(parent),
      cache_(limits.budgetBytes),
      pages_(program, limits.pageTimeoutMs),
      outline_(program, limits.outlineTimeoutMs) {
    pages_.setSupply([this] { return nextPageRequest(); });
    outline_.setSupply([this] { return nextOutlineRequest(); });
    connect(&pages_, &PreviewWorker::replied, this, &Thumbnails::pageReplied);
    connect(&outline_, &PreviewWorker::replied, this, [this](const Request& request, const Reply& reply) {
        if (known_.contains(request.path)) {
            emit outlineRead(request, reply);
        }
    });
}

Request Thumbnails::requestFor(Op op, const PreviewSource& source, int page, QSize box) {
    Request request;
    request.op = op;
    request.path = source.path;
    request.password = source.password;
    request.partnerPassword = source.partnerPassword;
    request.page = page;
    request.box = box;
    return request;
}

void Thumbnails::answerLater(const Request& request, Failure failure) {
    // Answered from the event loop, as a worker would, never from inside the call that asked.
    QTimer::singleShot(0, this, [this, request, failure] {
        if (known_.contains(request.path)) {
            emit opened(request, Reply{0, failure, 0, {}, {}, {}, {}, {}});
        }
    });
}

void Thumbnails::open(const PreviewSource& source) {
    known_.insert(source.path);
    if (broken_.contains(source.path)) {
        answerLater(requestFor(Op::Open, source), Failure::ReaderFailed);
        return;
    }
    openJob_ = source;
    pages_.wake();
}

void Thumbnails::readOutline(const PreviewSource& source) {
    known_.insert(source.path);
    outlineJob_ = source;
    outline_.wake();
}

bool Thumbnails::wanted(const Job& job) const {
    const ThumbnailKey key{job.source.path, job.page, job.box};
    if (cache_.failed(key) || cache_.find(key)) {
        return false;
    }
    const auto& sent = pages_.inFlight();
    return std::none_of(sent.begin(), sent.end(), [&](const Request& request) {
        return request.op == Op::Render && request.path == key.path && request.page == key.page &&
               request.box == key.box;
    });
}

void Thumbnails::wantPages(const PreviewSource& source, const std::vector<int>& pages, QSize box) {
    known_.insert(source.path);
    pageJobs_.clear();
    for (int page : pages) {
        Job job{source, page, box};
        if (wanted(job)) {
            pageJobs_.push_back(std::move(job));
        }
    }
    pages_.wake();
}

void Thumbnails::wantFirstPage(const PreviewSource& source, QSize box) {
    Job job{source, 0, box};
    if (!wanted(job)) {
        return;
    }
    known_.insert(source.path);
    const bool queued = std::any_of(firstPageJobs_.begin(), firstPageJobs_.end(), [&](const Job& other) {
        return other.source.path == job.source.path && other.box == job.box;
    });
    if (!queued) {
        firstPageJobs_.push_back(std::move(job));
    }
    pages_.wake();
}

std::optional<Request> Thumbnails::nextPageRequest() {
    if (openJob_) {
        return requestFor(Op::Open, *std::exchange(openJob_, std::nullopt));
    }
    // The pane's pages in the order asked, then the list's first pages, the latest first: those
    // are the rows just scrolled to.
    auto take = [this](const Job& job) -> std::optional<Request> {
        const ThumbnailKey key{job.source.path, job.page, job.box};
        if (broken_.contains(key.path)) {
            cache_.markFailed(key);
            return std::nullopt;
        }
        if (!wanted(job)) {
            return std::nullopt;
        }
        return requestFor(Op::Render, job.source, job.page, job.box);
    };
    while (!pageJobs_.empty()) {
        const Job job = std::move(pageJobs_.front());
        pageJobs_.pop_front();
        if (auto request = take(job)) {
            return request;
        }
    }
    while (!firstPageJobs_.empty()) {
        const Job job = std::move(firstPageJobs_.back());
        firstPageJobs_.pop_back();
        if (auto request = take(job)) {
            return request;
        }
    }
    return std::nullopt;
}

std::optional<Request> Thumbnails::nextOutlineRequest() {
    // The outline worker is a process of its own: the bookmarks are read while the pages are.
    if (outlineJob_) {
        return requestFor(Op::Outline, *std::exchange(outlineJob_, std::nullopt));
    }
    return std::nullopt;
}

void Thumbnails::pageReplied(const Request& request, const Reply& reply) {
    if (!known_.contains(request.path)) {
        return;  // released while it was being read
    }
    if (reply.failure == Failure::ReaderFailed) {
        broken_.insert(request.path);
    }
    if (pageJobs_.empty()) {
        outline_.wake();
    }
    if (request.op == Op::Open) {
        emit opened(request, reply);
        return;
    }
    const ThumbnailKey key{request.path, request.page, request.box};
    if (reply.failure != Failure::None || reply.image.isNull()) {
        cache_.markFailed(key);
    } else {
        cache_.insert(key, Thumbnail{QPixmap::fromImage(reply.image), reply.label});
    }
    emit thumbnailReady(key);
}

void Thumbnails::release(const QString& path) {
    if (!known_.contains(path)) {
        return;
    }
    known_.remove(path);
    broken_.remove(path);
    cache_.release(path);
    if (openJob_ && openJob_->path == path) {
        openJob_.reset();
    }
    if (outlineJob_ && outlineJob_->path == path) {
        outlineJob_.reset();
    }
    std::erase_if(pageJobs_, [&](const Job& job) { return job.source.path == path; });
    std::erase_if(firstPageJobs_, [&](const Job& job) { return job.source.path == path; });
    pages_.close(path);
    outline_.close(path);
}

void Thumbnails::retain(const QSet<QString>& paths) {
    const QSet<QString> known = known_;
    for (const QString& path : known) {
        if (!paths.contains(path)) {
            release(path);
        }
    }
}

}  // namespace tomefuse
