// Reading /Outlines. The walk is iterative with its own stack: outlines from the wild can be
// 100,000 levels deep or loop through /First and /Next.

#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <optional>
#include <qpdf/Pipeline.hh>
#include <stdexcept>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

// Limits of an action copied out of its file: actions chained to it, and objects in all.
constexpr int maxCopyDepth = 32;
constexpr int maxCopyObjects = 2000;
// Scripts kept in streams become strings: their decoded bytes, for all bookmarks of a file
// together. Deflate reaches a thousand to one, so a small file could otherwise ask for
// gigabytes; an action whose script would pass this is left out.
constexpr size_t maxScriptBytes = 4u << 20;

struct CopyBudget {
    int objects = maxCopyObjects;
    size_t scriptBytes = maxScriptBytes;
    bool tooLarge = false;  // a script did not fit
};

// Collects decoded bytes up to a limit, and stops the decoding past it.
class BoundedBuffer final : public Pipeline {
  public:
    BoundedBuffer(std::string& out, size_t limit) : Pipeline("tomefuse script", nullptr), out_(out), limit_(limit) {}
    void write(unsigned char const* data, size_t length) override {
        if (length > limit_ - out_.size()) {
            over_ = true;
            throw std::length_error("too large");
        }
        out_.append(reinterpret_cast<const char*>(data), length);
    }
    void finish() override {}
    bool over() const { return over_; }

  private:
    std::string& out_;
    size_t limit_;
    bool over_ = false;
};

// The decoded bytes of a stream, within the budget; none when it cannot be decoded or does not fit.
std::optional<std::string> decodedWithin(QPDFObjectHandle stream, CopyBudget& budget) {
    std::string bytes;
    BoundedBuffer out(bytes, budget.scriptBytes);
    bool filtered = false;
    const bool ok = stream.pipeStreamData(&out, &filtered, 0, qpdf_dl_generalized, true, false);
    if (out.over()) {
        budget.tooLarge = true;
        return std::nullopt;
    }
    if (!ok || !filtered) {
        return std::nullopt;
    }
    budget.scriptBytes -= bytes.size();
    return bytes;
}

// A copy of an action made of direct objects only, so it needs nothing of its file. What would
// lead back into the file is left out: pages, form fields and a jump within the file (which
// would lead elsewhere in another document) become null; a script in a stream becomes a string.
QPDFObjectHandle directCopy(QPDFObjectHandle object, int depth, CopyBudget& budget, ObjGenSet& path) {
    if (--budget.objects < 0 || depth > maxCopyDepth || budget.tooLarge) {
        return QPDFObjectHandle::newNull();
    }
    const bool indirect = object.isIndirect();
    if (indirect && !path.insert(object.getObjGen()).second) {
        return QPDFObjectHandle::newNull();  // a loop
    }
    QPDFObjectHandle copy = QPDFObjectHandle::newNull();
    if (object.isStream()) {
        if (auto bytes = decodedWithin(object, budget)) {
            copy = QPDFObjectHandle::newString(*bytes);
        }
    } else if (object.isArray()) {
        copy = QPDFObjectHandle::newArray();
        for (int i = 0; i < object.getArrayNItems(); ++i) {
            copy.appendItem(directCopy(object.getArrayItem(i), depth + 1, budget, path));
        }
    } else if (object.isDictionary()) {
        QPDFObjectHandle type = object.getKey("/Type");
        QPDFObjectHandle kind = object.getKey("/S");
        const bool page = type.isName() && (type.getName() == "/Page" || type.getName() == "/Pages");
        const bool jumpHere = kind.isName() && kind.getName() == "/GoTo";
        if (!page && !jumpHere) {
            copy = QPDFObjectHandle::newDictionary();
            for (auto& [key, value] : object.getDictAsMap()) {
                if (key != "/P" && key != "/Parent" && key != "/Fields" && !value.isNull()) {
                    copy.replaceKey(key, directCopy(value, depth + 1, budget, path));
                }
            }
        }
    } else if (object.isString()) {
        copy = QPDFObjectHandle::newString(object.getStringValue());
    } else if (object.isName()) {
        copy = QPDFObjectHandle::newName(object.getName());
    } else if (object.isInteger()) {
        copy = QPDFObjectHandle::newInteger(object.getIntValue());
    } else if (object.isReal()) {
        copy = QPDFObjectHandle::newReal(object.getRealValue());
    } else if (object.isBool()) {
        copy = QPDFObjectHandle::newBool(object.getBoolValue());
    }
    if (indirect) {
        path.erase(object.getObjGen());
    }
    return copy;
}

// Null for an action that cannot be copied whole; one whose script is too large is named in
// what the file had left out.
std::shared_ptr<const PDFAction> actionCopy(QPDFObjectHandle action, CopyBudget& budget, ParsedFile& parse) {
    budget.objects = maxCopyObjects;
    ObjGenSet path;
    QPDFObjectHandle copy = directCopy(action, 0, budget, path);
    if (budget.tooLarge) {
        budget.tooLarge = false;
        if (parse.leftOut.empty()) {
            parse.leftOut = "a bookmark's script was left out: its bookmarks' scripts pass 4 MiB";
        }
        return nullptr;
    }
    if (!copy.isDictionary() || budget.objects < 0) {
        return nullptr;
    }
    return std::make_shared<PDFAction>(std::make_shared<PDFAction::Impl>(PDFAction::Impl{copy}));
}

PDFOutlineStyle styleOf(QPDFObjectHandle item) {
    PDFOutlineStyle style;
    try {
        QPDFObjectHandle color = item.getKey("/C");
        if (color.isArray() && color.getArrayNItems() == 3) {
            std::array<double, 3> rgb{};
            bool valid = true;
            for (int i = 0; i < 3; ++i) {
                QPDFObjectHandle part = color.getArrayItem(i);
                valid = valid && part.isNumber() && std::isfinite(part.getNumericValue());
                rgb[static_cast<size_t>(i)] = valid ? std::clamp(part.getNumericValue(), 0.0, 1.0) : 0;
            }
            if (valid) {
                style.color = rgb;
            }
        }
        QPDFObjectHandle flags = item.getKey("/F");
        if (flags.isInteger()) {
            style.flags = static_cast<int>(flags.getIntValue() & 3);
        }
        QPDFObjectHandle count = item.getKey("/Count");
        style.open = count.isInteger() && count.getIntValue() > 0;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
    return style;
}

// Resolves the destinations of outline items to a page of this document and a point on it.
class DestinationResolver {
  public:
    DestinationResolver(ParsedFile& parse, const std::function<PDFPage(uint64_t)>& pageAt)
        : parse_(parse), pageAt_(pageAt), pageCount_(parse.pages().size()) {}

    // Gives the item what it does: a destination in this file, another action, or, for a jump
    // to a place the file does not have, the mark that it jumps nowhere.
    void readTarget(QPDFObjectHandle item, PDFOutline& outline) {
        try {
            QPDFObjectHandle dest = item.getKey("/Dest");
            QPDFObjectHandle action = item.getKey("/A");
            if (dest.isNull() && action.isDictionary()) {
                QPDFObjectHandle type = action.getKey("/S");
                if (!type.isName() || type.getName() != "/GoTo") {
                    outline.setAction(actionCopy(action, budget_, parse_));
                    return;
                }
                dest = action.getKey("/D");
                if (dest.isNull()) {
                    outline.setJumpsNowhere(true);
                    return;
                }
            }
            if (dest.isNull()) {
                return;
            }
            if (auto destination = resolve(dest)) {
                outline.setDestination(std::move(*destination));
            } else {
                outline.setJumpsNowhere(true);
            }
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            outline.setJumpsNowhere(true);
        }
    }

  private:
    std::optional<PDFDestination> resolve(QPDFObjectHandle dest) {
        QPDFObjectHandle array = parse_.names().resolve(dest);
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

        using Fit = PDFDestinationView::Fit;
        PDFDestinationView view;
        QPDFObjectHandle kind = array.getArrayNItems() > 1 ? array.getArrayItem(1) : QPDFObjectHandle::newNull();
        const std::string name = kind.isName() ? kind.getName() : std::string();
        if (name == "/FitH" || name == "/FitBH") {
            view.fit = name == "/FitH" ? Fit::fitH : Fit::fitBH;
            view.top = number(array, 2);
        } else if (name == "/FitV" || name == "/FitBV") {
            view.fit = name == "/FitV" ? Fit::fitV : Fit::fitBV;
            view.left = number(array, 2);
        } else if (name == "/FitR") {  // [page /FitR left bottom right top]
            view.fit = Fit::fitR;
            view.left = number(array, 2);
            view.bottom = number(array, 3);
            view.right = number(array, 4);
            view.top = number(array, 5);
        } else if (name == "/Fit" || name == "/FitB") {
            view.fit = name == "/Fit" ? Fit::fit : Fit::fitB;
        } else {
            // /XYZ, and anything unknown read as it.
            view.left = number(array, 2);
            view.top = number(array, 3);
            view.zoom = number(array, 4);
        }
        // The point: where the view puts the page's top left; the top of the page when the view
        // gives no top.
        std::optional<double> top = view.top;
        if (!top) {
            const PDFRect media = page.boundsForBox(PDFDisplayBox::mediaBox);
            top = media.y + media.height;
        }
        const PDFPoint point{view.left.value_or(0), *top};
        return PDFDestination(std::move(page), point, view);
    }

    ParsedFile& parse_;
    const std::function<PDFPage(uint64_t)>& pageAt_;
    uint64_t pageCount_;
    CopyBudget budget_;
};

std::optional<std::string> labelOfItem(QPDFObjectHandle item) {
    try {
        QPDFObjectHandle title = item.getKey("/Title");
        if (title.isString()) {
            return title.getUTF8Value();  // PDFDocEncoding or UTF-16BE, to UTF-8
        }
    } catch (const std::bad_alloc&) {
        throw;
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
    } catch (const std::bad_alloc&) {
        throw;
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
            resolver.readTarget(item, *outline);
            outline->setStyle(styleOf(item));
            PDFOutline* added = outline.get();
            parent->insertChild(std::move(outline), parent->numberOfChildren());
            stack.back().next = item.getKey("/Next");
            stack.push_back({added, item.getKey("/First")});
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            // Damage inside this chain: keep what was read, go on with the chain above.
            stack.pop_back();
        }
    }
    return root;
}

void forEachOutlineItem(QPDFObjectHandle outlines, const std::function<bool(QPDFObjectHandle, int)>& visit) {
    ObjGenSet seen;
    if (outlines.isIndirect()) {
        seen.insert(outlines.getObjGen());
    }
    std::vector<QPDFObjectHandle> stack;
    try {
        stack.push_back(outlines.getKey("/First"));
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return;
    }
    while (!stack.empty()) {
        try {
            QPDFObjectHandle item = stack.back();
            if (!item.isDictionary() || (item.isIndirect() && !seen.insert(item.getObjGen()).second)) {
                stack.pop_back();
                continue;
            }
            if (!visit(item, static_cast<int>(stack.size()) - 1)) {
                return;
            }
            stack.back() = item.getKey("/Next");
            stack.push_back(item.getKey("/First"));
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            stack.pop_back();
        }
    }
}

uint64_t countOutlineItems(ParsedFile& parse) {
    QPDFObjectHandle outlines = parse.qpdf->getRoot().getKey("/Outlines");
    uint64_t count = 0;
    if (outlines.isDictionary()) {
        forEachOutlineItem(outlines, [&count](QPDFObjectHandle, int) {
            ++count;
            return true;
        });
    }
    return count;
}

}  // namespace tomefuse::pdf_detail
