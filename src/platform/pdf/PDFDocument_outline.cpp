// Reading /Outlines. The walk is iterative with its own stack: outlines from the wild can be
// 100,000 levels deep or loop through /First and /Next.

#include <algorithm>
#include <cmath>
#include <exception>
#include <unordered_map>
#include <unordered_set>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

// Resolves the destinations of outline items to a page of this document and a point on it.
class DestinationResolver {
  public:
    DestinationResolver(ParsedFile& parse, const std::function<PDFPage(uint64_t)>& pageAt)
        : parse_(parse), pageAt_(pageAt), pageCount_(parse.pages().size()), names_(*parse.qpdf) {}

    std::optional<PDFDestination> destinationOfItem(QPDFObjectHandle item) {
        try {
            QPDFObjectHandle dest = item.getKey("/Dest");
            if (!dest.isNull()) {
                return resolve(dest);
            }
            QPDFObjectHandle action = item.getKey("/A");
            if (action.isDictionary()) {
                QPDFObjectHandle type = action.getKey("/S");
                if (type.isName() && type.getName() == "/GoTo") {
                    return resolve(action.getKey("/D"));
                }
            }
        } catch (const std::exception&) {
        }
        return std::nullopt;
    }

  private:
    std::optional<PDFDestination> resolve(QPDFObjectHandle dest) {
        QPDFObjectHandle array = names_.resolve(dest);
        return array.isArray() ? explicitDestination(array) : std::nullopt;
    }

    static std::optional<double> number(QPDFObjectHandle array, int index) {
        if (index >= array.getArrayNItems()) {
            return std::nullopt;
        }
        QPDFObjectHandle item = array.getArrayItem(index);
        if (!item.isNumber()) {
            return std::nullopt;
        }
        const double value = item.getNumericValue();
        return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
    }

    std::optional<PDFDestination> explicitDestination(QPDFObjectHandle array) {
        if (array.getArrayNItems() < 1) {
            return std::nullopt;
        }
        QPDFObjectHandle target = array.getArrayItem(0);
        uint64_t index = NSNotFound;
        if (target.isInteger()) {
            // A producer bug seen in the wild: a page number where a page reference belongs.
            // Taken as a 0-based index, as remote destinations use it.
            const long long value = target.getIntValue();
            if (value >= 0 && static_cast<uint64_t>(value) < pageCount_) {
                index = static_cast<uint64_t>(value);
            }
        } else if (target.isIndirect()) {
            index = parse_.indexOfPage(target.getObjGen());
        }
        if (index == NSNotFound) {
            return std::nullopt;
        }
        PDFPage page = pageAt_(index);
        if (!page) {
            return std::nullopt;
        }

        std::optional<double> left;
        std::optional<double> top;
        QPDFObjectHandle kind = array.getArrayNItems() > 1 ? array.getArrayItem(1) : QPDFObjectHandle::newNull();
        const std::string name = kind.isName() ? kind.getName() : std::string();
        if (name == "/XYZ") {
            left = number(array, 2);
            top = number(array, 3);
        } else if (name == "/FitH" || name == "/FitBH") {
            top = number(array, 2);
        } else if (name == "/FitV" || name == "/FitBV") {
            left = number(array, 2);
        } else if (name == "/FitR") {  // [page /FitR left bottom right top]
            left = number(array, 2);
            top = number(array, 5);
        }
        // /Fit, /FitB and anything unknown give no coordinates: the top left of the page.
        if (!top) {
            const PDFRect media = page.boundsForBox(PDFDisplayBox::mediaBox);
            top = media.y + media.height;
        }
        return PDFDestination(std::move(page), PDFPoint{left.value_or(0), *top});
    }

    ParsedFile& parse_;
    const std::function<PDFPage(uint64_t)>& pageAt_;
    uint64_t pageCount_;
    NamedDestinations names_;
};

std::optional<std::string> labelOfItem(QPDFObjectHandle item) {
    try {
        QPDFObjectHandle title = item.getKey("/Title");
        if (title.isString()) {
            return title.getUTF8Value();  // PDFDocEncoding or UTF-16BE, to UTF-8
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

}  // namespace

std::shared_ptr<PDFOutline> readOutline(ParsedFile& parse, const std::function<PDFPage(uint64_t)>& pageAt) {
    QPDFObjectHandle outlines = parse.qpdf->getRoot().getKey("/Outlines");
    if (!outlines.isDictionary()) {
        return nullptr;
    }
    auto root = PDFOutline::init();
    DestinationResolver resolver(parse, pageAt);
    ObjGenSet seen;
    if (outlines.isIndirect()) {
        seen.insert(outlines.getObjGen());
    }

    // Each frame is a parent and the next sibling to read below it. Items are read in pre-order;
    // a chain ends at anything that is not a dictionary or at the first item seen before.
    struct Frame {
        PDFOutline* parent;
        QPDFObjectHandle next;
    };
    std::vector<Frame> stack;
    try {
        stack.push_back({root.get(), outlines.getKey("/First")});
    } catch (const std::exception&) {
        return root;
    }
    while (!stack.empty()) {
        try {
            QPDFObjectHandle item = stack.back().next;
            PDFOutline* parent = stack.back().parent;
            if (!item.isDictionary() || (item.isIndirect() && !seen.insert(item.getObjGen()).second)) {
                stack.pop_back();
                continue;
            }
            auto outline = PDFOutline::init();
            if (auto label = labelOfItem(item)) {
                outline->setLabel(std::move(*label));
            }
            if (auto destination = resolver.destinationOfItem(item)) {
                outline->setDestination(std::move(*destination));
            }
            PDFOutline* added = outline.get();
            parent->insertChild(std::move(outline), parent->numberOfChildren());
            stack.back().next = item.getKey("/Next");
            stack.push_back({added, item.getKey("/First")});
        } catch (const std::exception&) {
            // Damage inside this chain: keep what was read, go on with the chain above.
            stack.pop_back();
        }
    }
    return root;
}

}  // namespace tomefuse::pdf_detail
