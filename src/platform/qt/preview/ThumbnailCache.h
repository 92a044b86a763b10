#pragma once

#include <QCache>
#include <QHash>
#include <QPixmap>
#include <QSet>
#include <QSize>
#include <QString>

namespace tomefuse {

// One thumbnail: a page of a file drawn to fit a box of device pixels.
struct ThumbnailKey {
    QString path;
    int page = 0;
    QSize box;
    bool operator==(const ThumbnailKey&) const = default;
};

inline size_t qHash(const ThumbnailKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.path, key.page, key.box.width(), key.box.height());
}

struct Thumbnail {
    QPixmap pixmap;
    QString label;  // the page's label in its file; empty when it has none
};

// The thumbnails drawn so far, the least recently shown going first once they would take more
// than the budget, whatever the size of the files. Pages that could not be drawn are remembered
// too, so that they are not asked for again and again.
class ThumbnailCache {
  public:
    explicit ThumbnailCache(qsizetype budgetBytes);

    // Counts as a use.
    const Thumbnail* find(const ThumbnailKey& key) const;
    void insert(const ThumbnailKey& key, Thumbnail thumbnail);
    bool failed(const ThumbnailKey& key) const { return failed_.contains(key); }
    void markFailed(const ThumbnailKey& key) { failed_.insert(key); }
    // Forgets everything of a file.
    void release(const QString& path);

    qsizetype bytes() const { return images_.totalCost(); }
    qsizetype budget() const { return images_.maxCost(); }
    int count() const { return static_cast<int>(images_.size()); }
    int count(const QString& path) const;

  private:
    mutable QCache<ThumbnailKey, Thumbnail> images_;
    QSet<ThumbnailKey> failed_;
};

}  // namespace tomefuse
