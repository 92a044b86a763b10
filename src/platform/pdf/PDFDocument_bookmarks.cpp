// The bookmarks of a file for a reader that only lists them: each item's title, depth and page
// index. Listing a large file's pages resolves every page object, and with object streams that
// parses nearly the whole file; the page tree's nodes and counts alone give the indexes.

#include <exception>
#include <new>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

constexpr size_t maxTreeDepth = 64;

// Page objects by index, read from the tree's nodes: a node whose /Count equals its number of
// kids has pages for kids, which are taken as they are, unread. Anything that does not add up
// (a count that lies, a loop, damage) makes it give up, and the caller lists the pages instead.
class PageIndexFromCounts {
  public:
    explicit PageIndexFromCounts(QPDF& pdf) {
        try {
            QPDFObjectHandle root = pdf.getRoot().getKey("/Pages");
            QPDFObjectHandle count = root.getKey("/Count");
            valid_ = count.isInteger() && read(root, 0) && next_ == static_cast<uint64_t>(count.getIntValue());
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            valid_ = false;
        }
    }

    bool valid() const { return valid_; }
    uint64_t find(const QPDFObjGen& og) const {
        auto it = index_.find(og);
        return it == index_.end() ? NSNotFound : it->second;
    }
    uint64_t count() const { return next_; }

  private:
    bool read(QPDFObjectHandle node, size_t depth) {
        if (depth > maxTreeDepth || !node.isDictionary() ||
            (node.isIndirect() && !seen_.insert(node.getObjGen()).second)) {
            return false;
        }
        QPDFObjectHandle kids = node.getKey("/Kids");
        QPDFObjectHandle count = node.getKey("/Count");
        if (!kids.isArray() || !count.isInteger()) {
            return false;
        }
        const int n = kids.getArrayNItems();
        if (count.getIntValue() == n) {
            for (int i = 0; i < n; ++i) {
                take(kids.getArrayItem(i));
            }
            return true;
        }
        const uint64_t first = next_;
        for (int i = 0; i < n; ++i) {
            QPDFObjectHandle kid = kids.getArrayItem(i);
            if (kid.isDictionary() && kid.hasKey("/Kids")) {
                if (!read(kid, depth + 1)) {
                    return false;
                }
            } else {
                take(kid);
            }
        }
        return next_ - first == static_cast<uint64_t>(count.getIntValue());
    }

    void take(const QPDFObjectHandle& page) {
        if (page.isIndirect()) {
            index_.emplace(page.getObjGen(), next_);  // a page listed twice is found at its first place
        }
        ++next_;
    }

    std::unordered_map<QPDFObjGen, uint64_t, ObjGenHash> index_;
    ObjGenSet seen_;
    uint64_t next_ = 0;
    bool valid_ = false;
};

// The page object or 0-based number an item leads to; null when it leads nowhere in the file.
QPDFObjectHandle targetOf(QPDFObjectHandle item, ParsedFile& parse) {
    QPDFObjectHandle dest = item.getKey("/Dest");
    QPDFObjectHandle action = item.getKey("/A");
    if (dest.isNull() && action.isDictionary()) {
        QPDFObjectHandle type = action.getKey("/S");
        if (!type.isName() || type.getName() != "/GoTo") {
            return QPDFObjectHandle::newNull();
        }
        dest = action.getKey("/D");
    }
    if (dest.isNull()) {
        return dest;
    }
    QPDFObjectHandle array = parse.names().resolve(dest);
    return array.isArray() && array.getArrayNItems() > 0 ? array.getArrayItem(0) : QPDFObjectHandle::newNull();
}

}  // namespace

std::vector<PDFBookmarkLine> readBookmarkLines(ParsedFile& parse, size_t limit) {
    std::vector<PDFBookmarkLine> lines;
    QPDFObjectHandle outlines = parse.qpdf->getRoot().getKey("/Outlines");
    if (!outlines.isDictionary()) {
        return lines;
    }
    PageIndexFromCounts counted(*parse.qpdf);
    const uint64_t pageCount = counted.valid() ? counted.count() : parse.pages().size();
    auto indexOf = [&](QPDFObjectHandle target) {
        if (target.isInteger()) {
            // A page number where a page belongs, as some producers write: a 0-based index.
            const long long value = target.getIntValue();
            return value >= 0 && static_cast<uint64_t>(value) < pageCount ? static_cast<uint64_t>(value) : NSNotFound;
        }
        if (!target.isIndirect()) {
            return NSNotFound;
        }
        const uint64_t found = counted.valid() ? counted.find(target.getObjGen()) : NSNotFound;
        return found != NSNotFound ? found : parse.indexOfPage(target.getObjGen());
    };

    forEachOutlineItem(outlines, [&](QPDFObjectHandle item, int depth) {
        if (lines.size() >= limit) {
            return false;
        }
        PDFBookmarkLine line;
        line.level = depth;
        QPDFObjectHandle title = item.getKey("/Title");
        if (title.isString()) {
            line.title = title.getUTF8Value();
        }
        try {
            line.page = indexOf(targetOf(item, parse));
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            line.page = NSNotFound;
        }
        lines.push_back(std::move(line));
        return true;
    });
    return lines;
}

}  // namespace tomefuse::pdf_detail
