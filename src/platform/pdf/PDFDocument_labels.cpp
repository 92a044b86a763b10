// Page labels of a document assembled from others. Once any document that gave pages has
// labels, every page gets one: its own document's label, or, for a document without labels,
// the plain number it had there, as a reader showed it with that document open alone.

#include <exception>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

constexpr size_t maxLabels = 1'000'000;

// A label dictionary built from its parts. firstNumber is the number of the first page it labels.
QPDFObjectHandle labelDictionary(const std::string& style, const std::optional<std::string>& prefix,
                                 long long firstNumber) {
    auto label = QPDFObjectHandle::newDictionary();
    if (style == "/D" || style == "/R" || style == "/r" || style == "/A" || style == "/a") {
        label.replaceKey("/S", QPDFObjectHandle::newName(style));
    }
    if (prefix) {
        label.replaceKey("/P", QPDFObjectHandle::newString(*prefix));
    }
    if (firstNumber != 1) {
        label.replaceKey("/St", QPDFObjectHandle::newInteger(firstNumber));
    }
    return label;
}

// The /Nums entries, flat and in page order, with each entry left out that only continues the
// one before it.
class LabelWriter {
  public:
    void add(long long pageIndex, const std::string& style, const std::optional<std::string>& prefix,
             long long firstNumber) {
        const std::string& s = style;
        const std::string p = prefix.value_or(std::string());
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
void addRange(LabelWriter& writer, const std::map<long long, PageLabel>& labels, long long first, long long last,
              long long at) {
    auto it = labels.upper_bound(first);
    if (it == labels.begin()) {
        // Before the first range (or no labels at all): readers show the page number.
        writer.add(at, "/D", std::nullopt, first + 1);
    } else {
        auto below = std::prev(it);
        const PageLabel& label = below->second;
        writer.add(at, label.style, label.prefix, label.start + (first - below->first));
    }
    for (; it != labels.end() && it->first <= last; ++it) {
        const PageLabel& label = it->second;
        writer.add(at + (it->first - first), label.style, label.prefix, label.start);
    }
}

}  // namespace

std::map<long long, PageLabel> labelEntries(QPDFObjectHandle tree) {
    std::map<long long, PageLabel> entries;
    walkTree(tree, "/Nums", [&entries](QPDFObjectHandle key, QPDFObjectHandle value) {
        try {
            if (key.isInteger() && key.getIntValue() >= 0 && value.isDictionary()) {
                PageLabel label;
                QPDFObjectHandle style = value.getKey("/S");
                QPDFObjectHandle prefix = value.getKey("/P");
                QPDFObjectHandle start = value.getKey("/St");
                label.style = style.isName() ? style.getName() : std::string();
                if (prefix.isString()) {
                    label.prefix = prefix.getStringValue();
                }
                label.start = start.isInteger() && start.getIntValue() >= 1 ? start.getIntValue() : 1;
                entries.emplace(key.getIntValue(), std::move(label));
            }
        } catch (const std::exception&) {
            // A damaged entry is left out.
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
    const std::map<long long, PageLabel> noLabels;
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
