// Page labels: as a source file has them, as pages made here are given them, and as the
// combined file writes and a reader shows them.

#include <algorithm>
#include <exception>
#include <new>

#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

constexpr size_t maxLabels = 1'000'000;

bool isNumberingStyle(const std::string& style) {
    return style == "/D" || style == "/R" || style == "/r" || style == "/A" || style == "/a";
}

std::string styleName(PDFPageLabel::Style style) {
    switch (style) {
        case PDFPageLabel::Style::decimal:
            return "/D";
        case PDFPageLabel::Style::upperRoman:
            return "/R";
        case PDFPageLabel::Style::lowerRoman:
            return "/r";
        case PDFPageLabel::Style::upperLetters:
            return "/A";
        case PDFPageLabel::Style::lowerLetters:
            return "/a";
        case PDFPageLabel::Style::none:
            break;
    }
    return {};
}

std::string roman(long long number, bool upper) {
    static const std::pair<int, const char*> digits[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
                                                         {90, "xc"},  {50, "l"},   {40, "xl"}, {10, "x"},   {9, "ix"},
                                                         {5, "v"},    {4, "iv"},   {1, "i"}};
    std::string text;
    // Readers write thousands as a run of m's; a label that long helps nobody.
    number = std::clamp(number, 1LL, 100000LL);
    for (const auto& [value, letters] : digits) {
        for (; number >= value; number -= value) {
            text += letters;
        }
    }
    if (upper) {
        std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(c - 'a' + 'A'); });
    }
    return text;
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
                label.number = start.isInteger() && start.getIntValue() >= 1 ? start.getIntValue() : 1;
                entries.emplace(key.getIntValue(), std::move(label));
            }
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            // A damaged entry is left out.
        }
        return entries.size() < maxLabels;
    });
    return entries;
}

std::optional<PageLabel> labelAt(const std::map<long long, PageLabel>& ranges, long long index) {
    auto above = ranges.upper_bound(index);
    if (above == ranges.begin()) {
        return std::nullopt;
    }
    const auto& [start, range] = *std::prev(above);
    return PageLabel{range.style, range.prefix, range.number + (index - start)};
}

PageLabel labelFrom(const PDFPageLabel& label) {
    PageLabel value{styleName(label.style), std::nullopt, label.number};
    if (!label.prefix.empty()) {
        value.prefix = QPDFObjectHandle::newUnicodeString(label.prefix).getStringValue();
    }
    return value;
}

// Once any file that gave pages has labels, every page gets one: its own file's label, or the
// plain number it had there, as a reader showed it with that file open alone; a page put between
// others continues the one before it.
std::vector<PageLabel> effectiveLabels(const std::vector<const WrittenPage*>& pages) {
    std::vector<PageLabel> labels;
    labels.reserve(pages.size());
    for (const WrittenPage* page : pages) {
        if (page->continuesLabels) {
            PageLabel next = labels.empty() ? PageLabel{"/D", std::nullopt, 0} : labels.back();
            ++next.number;
            labels.push_back(std::move(next));
        } else {
            labels.push_back(page->label.value_or(PageLabel{"/D", std::nullopt, page->indexInSource + 1}));
        }
    }
    return labels;
}

std::string labelText(const PageLabel& label) {
    std::string text = label.prefix ? QPDFObjectHandle::newString(*label.prefix).getUTF8Value() : std::string();
    const long long number = std::max(1LL, label.number);
    if (label.style == "/D") {
        text += std::to_string(number);
    } else if (label.style == "/R" || label.style == "/r") {
        text += roman(number, label.style == "/R");
    } else if (label.style == "/A" || label.style == "/a") {
        // A to Z, then AA to ZZ, AAA...
        const char first = label.style == "/A" ? 'A' : 'a';
        const long long repeat = std::min(1 + (number - 1) / 26, 1000LL);
        text += std::string(static_cast<size_t>(repeat), static_cast<char>(first + (number - 1) % 26));
    }
    return text;
}

// An entry is written only where a page does not just continue the one before it.
std::string labelNumbers(const std::vector<PageLabel>& labels) {
    std::string nums;
    for (size_t i = 0; i < labels.size(); ++i) {
        const PageLabel& label = labels[i];
        if (i > 0 && label.style == labels[i - 1].style && label.prefix == labels[i - 1].prefix &&
            label.number == labels[i - 1].number + 1) {
            continue;
        }
        nums += std::to_string(i) + "<<";
        if (isNumberingStyle(label.style)) {
            nums += "/S" + label.style;
        }
        if (label.prefix) {
            nums += "/P " + pdfStringBytes(*label.prefix);
        }
        if (label.number != 1) {
            nums += "/St " + std::to_string(label.number);
        }
        nums += ">> ";
    }
    return nums;
}

}  // namespace tomefuse::pdf_detail
