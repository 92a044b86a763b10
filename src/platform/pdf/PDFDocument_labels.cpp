// Page labels of a document assembled from others. Once any document that gave pages has
// labels, every page gets one: its own document's label, or, for a document without labels,
// the plain number it had there, as a reader showed it with that document open alone.

#include <exception>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

constexpr size_t maxLabels = 1'000'000;

// A label dictionary rebuilt from its parts, so nothing of another document is referenced.
// firstNumber is the number of the first page it labels.
QPDFObjectHandle labelDictionary(QPDFObjectHandle style, QPDFObjectHandle prefix, long long firstNumber) {
    auto label = QPDFObjectHandle::newDictionary();
    if (style.isName()) {
        const std::string s = style.getName();
        if (s == "/D" || s == "/R" || s == "/r" || s == "/A" || s == "/a") {
            label.replaceKey("/S", QPDFObjectHandle::newName(s));
        }
    }
    if (prefix.isString()) {
        label.replaceKey("/P", QPDFObjectHandle::newString(prefix.getStringValue()));
    }
    if (firstNumber != 1) {
        label.replaceKey("/St", QPDFObjectHandle::newInteger(firstNumber));
    }
    return label;
}

long long startOf(QPDFObjectHandle label) {
    QPDFObjectHandle start = label.getKey("/St");
    return start.isInteger() && start.getIntValue() >= 1 ? start.getIntValue() : 1;
}

// The /Nums entries, flat and in page order, with each entry left out that only continues the
// one before it.
class LabelWriter {
  public:
    void add(long long pageIndex, QPDFObjectHandle style, QPDFObjectHandle prefix, long long firstNumber) {
        const std::string s = style.isName() ? style.getName() : std::string();
        const std::string p = prefix.isString() ? prefix.getStringValue() : std::string();
        if (any_ && s == style_ && p == prefix_ && firstNumber == number_ + (pageIndex - index_)) {
            return;
        }
        nums_.appendItem(QPDFObjectHandle::newInteger(pageIndex));
        nums_.appendItem(labelDictionary(style, prefix, firstNumber));
        any_ = true;
        index_ = pageIndex;
        style_ = s;
        prefix_ = p;
        number_ = firstNumber;
    }

    QPDFObjectHandle nums() const { return nums_; }

  private:
    QPDFObjectHandle nums_ = QPDFObjectHandle::newArray();
    bool any_ = false;
    long long index_ = 0;
    std::string style_;
    std::string prefix_;
    long long number_ = 0;
};

// Labels pages [first, last] of a source as pages from at on: the range from the entry at or
// below first, then each entry within.
void addRange(LabelWriter& writer, const std::map<long long, QPDFObjectHandle>& labels, long long first, long long last,
              long long at) {
    auto it = labels.upper_bound(first);
    if (it == labels.begin()) {
        // Before the first range (or no labels at all): readers show the page number.
        writer.add(at, QPDFObjectHandle::newName("/D"), QPDFObjectHandle::newNull(), first + 1);
    } else {
        auto below = std::prev(it);
        QPDFObjectHandle label = below->second;
        writer.add(at, label.getKey("/S"), label.getKey("/P"), startOf(label) + (first - below->first));
    }
    for (; it != labels.end() && it->first <= last; ++it) {
        QPDFObjectHandle label = it->second;
        writer.add(at + (it->first - first), label.getKey("/S"), label.getKey("/P"), startOf(label));
    }
}

}  // namespace

std::map<long long, QPDFObjectHandle> labelEntries(QPDFObjectHandle tree) {
    std::map<long long, QPDFObjectHandle> entries;
    walkTree(tree, "/Nums", [&entries](QPDFObjectHandle key, QPDFObjectHandle value) {
        if (key.isInteger() && key.getIntValue() >= 0 && value.isDictionary()) {
            entries.emplace(key.getIntValue(), value);
        }
        return entries.size() < maxLabels;
    });
    return entries;
}

void writePageLabels(DocumentData& data, Assembly& assembly) {
    bool anyLabels = false;
    for (const auto& source : assembly.sources) {
        anyLabels = anyLabels || !source->labels.empty();
    }
    if (!anyLabels) {
        return;
    }

    // Runs of pages that follow each other in one source, each labelled as a range.
    LabelWriter writer;
    const auto& pages = data.qpdf->getAllPages();
    const long long count = static_cast<long long>(pages.size());
    const std::map<long long, QPDFObjectHandle> noLabels;
    for (long long i = 0; i < count;) {
        auto origin = assembly.origins.find(pages[static_cast<size_t>(i)].getObjGen());
        if (origin == assembly.origins.end() || origin->second.index < 0) {
            // Unknown provenance: numbered by its place here.
            addRange(writer, noLabels, i, i, i);
            ++i;
            continue;
        }
        SourceRecord* source = origin->second.source;
        const long long first = origin->second.index;
        long long length = 1;
        while (i + length < count) {
            auto next = assembly.origins.find(pages[static_cast<size_t>(i + length)].getObjGen());
            if (next == assembly.origins.end() || next->second.source != source ||
                next->second.index != first + length) {
                break;
            }
            ++length;
        }
        addRange(writer, source->labels, first, first + length - 1, i);
        i += length;
    }
    data.qpdf->getRoot().replaceKey(
        "/PageLabels", data.qpdf->makeIndirectObject(QPDFObjectHandle::newDictionary({{"/Nums", writer.nums()}})));
}

}  // namespace tomefuse::pdf_detail
