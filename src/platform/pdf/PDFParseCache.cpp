#include "platform/pdf/PDFParseCache.h"

#include <list>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse {

namespace {

using pdf_detail::ParsedFile;

// A parse whose pages were listed holds most of a large file's objects; one that was only
// summarised, little more than the bytes and the cross-reference table.
size_t costOf(const ParsedFile& parse) {
    return static_cast<size_t>(parse.identity->size) * (parse.pagesListed ? 16 : 2) + (8u << 10);
}

}  // namespace

struct PDFParseCache::Impl {
    using Kept = std::list<std::shared_ptr<ParsedFile>>;

    size_t budget;
    mutable std::mutex mutex;  // the list reads files on the main thread while a combine runs on another
    Kept byAge;
    std::unordered_multimap<std::string, Kept::iterator> byPath;
    size_t cost = 0;

    void remove(std::unordered_multimap<std::string, Kept::iterator>::iterator entry) {
        cost -= costOf(**entry->second);
        byAge.erase(entry->second);
        byPath.erase(entry);
    }
    void removeOldest() {
        auto [first, last] = byPath.equal_range(byAge.front()->path);
        for (auto entry = first; entry != last; ++entry) {
            if (entry->second == byAge.begin()) {
                remove(entry);
                return;
            }
        }
    }
};

PDFParseCache::PDFParseCache(size_t budget) : impl_(std::make_unique<Impl>()) { impl_->budget = budget; }

PDFParseCache::~PDFParseCache() = default;

size_t PDFParseCache::count() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->byAge.size();
}

size_t PDFParseCache::cost() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->cost;
}

void PDFParseCache::keep(std::shared_ptr<ParsedFile> parse) {
    // Only a parse of a file read into memory that nobody else sees: no page handle or outline
    // item of it outside. Anything else could share objects with the next opening.
    if (!parse || parse.use_count() != 1 || !parse->qpdf || parse->qpdf.use_count() != 1 || !parse->identity ||
        costOf(*parse) > impl_->budget) {
        return;
    }
    std::vector<std::shared_ptr<ParsedFile>> evicted;  // let go outside the lock
    std::lock_guard lock(impl_->mutex);
    impl_->cost += costOf(*parse);
    const std::string path = parse->path;
    impl_->byPath.emplace(path, impl_->byAge.insert(impl_->byAge.end(), std::move(parse)));
    while (impl_->cost > impl_->budget) {
        evicted.push_back(impl_->byAge.front());
        impl_->removeOldest();
    }
}

std::shared_ptr<ParsedFile> PDFParseCache::take(const std::string& path, const pdf_detail::FileIdentity& now,
                                                const std::string& password, ImagePageSize imagePages) {
    std::shared_ptr<ParsedFile> parse;
    std::vector<std::shared_ptr<ParsedFile>> stale;  // let go outside the lock
    std::lock_guard lock(impl_->mutex);
    auto [entry, last] = impl_->byPath.equal_range(path);
    while (entry != last) {
        const std::shared_ptr<ParsedFile>& kept = *entry->second;
        const auto next = std::next(entry);
        if (!(*kept->identity == now)) {
            // The file changed since: it is parsed afresh.
            stale.push_back(kept);
            impl_->remove(entry);
        } else if (!parse && kept->password == password && kept->imagePages.value_or(imagePages) == imagePages) {
            parse = kept;
            impl_->remove(entry);
        }
        entry = next;
    }
    return parse;
}

}  // namespace tomefuse
