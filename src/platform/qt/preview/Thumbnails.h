#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <deque>
#include <optional>
#include <vector>

#include "platform/qt/preview/PreviewProtocol.h"
#include "platform/qt/preview/PreviewSource.h"
#include "platform/qt/preview/PreviewWorker.h"
#include "platform/qt/preview/ThumbnailCache.h"

namespace tomefuse {

// Everything the preview reads from files, off the event loop: documents opened, bookmarks read
// and pages drawn by worker processes, the drawings kept in a cache of bounded size. What is
// asked for last comes first: the pane's pages replace the ones it asked for before, and the
// list's first pages wait behind them. Bookmarks have a worker of their own, as a long outline
// can take a second to read.
class Thumbnails final : public QObject {
    Q_OBJECT

  public:
    struct Limits {
        qsizetype budgetBytes = 32 << 20;
        int pageTimeoutMs = 10000;     // to open a file or draw one page
        int outlineTimeoutMs = 30000;  // to read a file's bookmarks
    };

    explicit Thumbnails(QString program, QObject* parent = nullptr);
    Thumbnails(QString program, Limits limits, QObject* parent = nullptr);

    ThumbnailCache& cache() { return cache_; }
    const ThumbnailCache& cache() const { return cache_; }

    // Opens the file: opened() tells its page count or why it does not open.
    void open(const PreviewSource& source);
    // outlineRead() brings the file's bookmarks, once the pages asked for are drawn.
    void readOutline(const PreviewSource& source);
    // Pages of the file to draw, most wanted first, instead of those asked for before.
    void wantPages(const PreviewSource& source, const std::vector<int>& pages, QSize box);
    // The file's first page, once, after the pane's pages.
    void wantFirstPage(const PreviewSource& source, QSize box);

    // Lets go of everything of a file: its thumbnails, what is asked of it, the workers' hold.
    void release(const QString& path);
    // Releases every file but these.
    void retain(const QSet<QString>& paths);
    // Whether anything of the file is held or asked for.
    bool holds(const QString& path) const { return known_.contains(path); }

    const PreviewWorker& pageWorker() const { return pages_; }

  signals:
    void opened(const preview::Request& request, const preview::Reply& reply);
    void outlineRead(const preview::Request& request, const preview::Reply& reply);
    // A thumbnail was drawn, or could not be (cache().failed(key)).
    void thumbnailReady(const ThumbnailKey& key);

  private:
    struct Job {
        PreviewSource source;
        int page = 0;
        QSize box;
    };

    static preview::Request requestFor(preview::Op op, const PreviewSource& source, int page = 0, QSize box = {});
    bool wanted(const Job& job) const;
    std::optional<preview::Request> nextPageRequest();
    std::optional<preview::Request> nextOutlineRequest();
    void pageReplied(const preview::Request& request, const preview::Reply& reply);
    void answerLater(const preview::Request& request, preview::Failure failure);

    ThumbnailCache cache_;
    PreviewWorker pages_;
    PreviewWorker outline_;
    std::optional<PreviewSource> openJob_;
    std::optional<PreviewSource> outlineJob_;
    std::deque<Job> pageJobs_;
    std::vector<Job> firstPageJobs_;  // the latest last
    // Files over which the page worker crashed or stalled: not sent to it again.
    QSet<QString> broken_;
    QSet<QString> known_;
};

}  // namespace tomefuse
