#include "platform/qt/preview/ThumbnailCache.h"

namespace tomefuse {

ThumbnailCache::ThumbnailCache(qsizetype budgetBytes) : images_(budgetBytes) {}

const Thumbnail* ThumbnailCache::find(const ThumbnailKey& key) const { return images_.object(key); }

void ThumbnailCache::insert(const ThumbnailKey& key, Thumbnail thumbnail) {
    const QSize size = thumbnail.pixmap.size();
    const qsizetype cost = std::max<qsizetype>(1, qsizetype(size.width()) * size.height() * 4);
    failed_.remove(key);
    images_.insert(key, new Thumbnail(std::move(thumbnail)), cost);
}

void ThumbnailCache::release(const QString& path) {
    for (const ThumbnailKey& key : images_.keys()) {
        if (key.path == path) {
            images_.remove(key);
        }
    }
    failed_.removeIf([&](const ThumbnailKey& key) { return key.path == path; });
}

int ThumbnailCache::count(const QString& path) const {
    int n = 0;
    for (const ThumbnailKey& key : images_.keys()) {
        n += key.path == path ? 1 : 0;
    }
    return n;
}

}  // namespace tomefuse
