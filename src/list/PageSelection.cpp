#include "list/PageSelection.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <set>

#include "platform/desktop/Translation.h"

namespace tomefuse {

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

bool isAllText(std::string_view text) {
    return text.empty() || (text.size() == 3 && std::tolower(static_cast<unsigned char>(text[0])) == 'a' &&
                            std::tolower(static_cast<unsigned char>(text[1])) == 'l' &&
                            std::tolower(static_cast<unsigned char>(text[2])) == 'l');
}

// Upper bound of a page number: larger is surely a typing error, and stays far from overflow.
constexpr uint64_t maxPageNumber = 100'000'000;

// A count's plural form, marked here for the catalogues: a lookup with a count is not extracted.
constexpr const char* pagesTheFileHas = QT_TRANSLATE_N_NOOP("tomefuse::PageSelection", "“%1”: the file has %n pages");

// A refusal naming the part at fault, in the user's language (which has its own quotation marks).
std::string refusal(const char* text, std::string_view part) {
    return withArguments(translate("tomefuse::PageSelection", text), {std::string(part)});
}

}  // namespace

// One end of a range, "7" or "z"; or why it is none, quoting the part it is in.
std::string PageSelection::parsePage(std::string_view end, std::string_view part, uint64_t pageCount, Page& page) {
    page = Page();
    if (end == "z" || end == "Z") {
        page.last = true;
        return {};
    }
    const bool digits = !end.empty() && end.size() <= 9 && std::all_of(end.begin(), end.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
    if (!digits) {
        return refusal(QT_TRANSLATE_NOOP("tomefuse::PageSelection",
                                         "“%1” is not a page or a range of pages, such as 3 or 1-5 or 10-z"),
                       part);
    }
    page.number = std::stoull(std::string(end));
    if (page.number == 0) {
        return refusal(QT_TRANSLATE_NOOP("tomefuse::PageSelection", "“%1”: pages count from 1"), part);
    }
    if (page.number > pageCount || page.number > maxPageNumber) {
        return pageCount == 1 ? refusal(QT_TRANSLATE_NOOP("tomefuse::PageSelection", "“%1”: the file has 1 page"), part)
                              : withArguments(translate("tomefuse::PageSelection", pagesTheFileHas, nullptr,
                                                        static_cast<int>(pageCount)),
                                              {std::string(part)});
    }
    return {};
}

// One page, or two joined by a dash; or why not.
std::string PageSelection::parseRange(std::string_view part, uint64_t pageCount, Range& range) {
    const size_t dash = part.find('-');
    const std::string_view first = trimmed(part.substr(0, dash));
    if (std::string error = parsePage(first, part, pageCount, range.first); !error.empty()) {
        return error;
    }
    range.end = range.first;
    if (dash != std::string_view::npos) {
        if (std::string error = parsePage(trimmed(part.substr(dash + 1)), part, pageCount, range.end); !error.empty()) {
            return error;
        }
    }
    if (pageCount == 0) {
        return refusal(QT_TRANSLATE_NOOP("tomefuse::PageSelection", "“%1”: the file has no pages"), part);
    }
    return {};
}

PageSelection::Parsed PageSelection::parse(std::string_view text, uint64_t pageCount) {
    text = trimmed(text);
    if (isAllText(text)) {
        return {PageSelection(), {}};
    }
    PageSelection selection;
    while (true) {
        const size_t separator = text.find_first_of(",;");
        const std::string_view part = trimmed(text.substr(0, separator));
        if (part.empty()) {
            return {std::nullopt,
                    translate("tomefuse::PageSelection", "a page or range is missing between two commas")};
        }
        Range range;
        if (std::string error = parseRange(part, pageCount, range); !error.empty()) {
            return {std::nullopt, std::move(error)};
        }
        selection.ranges_.push_back(range);
        if (separator == std::string_view::npos) {
            break;
        }
        text = text.substr(separator + 1);
    }
    return {std::move(selection), {}};
}

std::optional<std::vector<uint64_t>> PageSelection::pages(uint64_t pageCount) const {
    std::vector<uint64_t> pages;
    if (isAll()) {
        pages.resize(pageCount);
        for (uint64_t i = 0; i < pageCount; ++i) {
            pages[i] = i;
        }
        return pages;
    }
    if (!fits(pageCount)) {
        return std::nullopt;
    }
    for (const Range& range : ranges_) {
        const uint64_t first = range.first.index(pageCount);
        const uint64_t end = range.end.index(pageCount);
        if (first <= end) {
            for (uint64_t i = first; i <= end; ++i) {
                pages.push_back(i);
            }
        } else {
            for (uint64_t i = first + 1; i-- > end;) {
                pages.push_back(i);
            }
        }
    }
    return pages;
}

bool PageSelection::fits(uint64_t pageCount) const {
    return isAll() || (pageCount > 0 && std::all_of(ranges_.begin(), ranges_.end(), [&](const Range& range) {
                           return (range.first.last || range.first.number <= pageCount) &&
                                  (range.end.last || range.end.number <= pageCount);
                       }));
}

uint64_t PageSelection::count(uint64_t pageCount) const {
    if (isAll()) {
        return pageCount;
    }
    if (!fits(pageCount)) {
        return 0;
    }
    uint64_t count = 0;
    for (const Range& range : ranges_) {
        const uint64_t first = range.first.index(pageCount);
        const uint64_t end = range.end.index(pageCount);
        count += (first <= end ? end - first : first - end) + 1;
    }
    return count;
}

PageSelection PageSelection::ofPages(const std::vector<uint64_t>& pages) {
    PageSelection selection;
    for (uint64_t index : pages) {
        const Page page{index + 1, false};
        auto& ranges = selection.ranges_;
        if (!ranges.empty() && !ranges.back().end.last && ranges.back().end.number + 1 == page.number &&
            ranges.back().first.number <= ranges.back().end.number) {
            ranges.back().end = page;
        } else {
            ranges.push_back({page, page});
        }
    }
    return selection;
}

std::string PageSelection::text() const {
    if (isAll()) {
        return "all";
    }
    auto page = [](const Page& p) { return p.last ? std::string("z") : std::to_string(p.number); };
    std::string out;
    for (const Range& range : ranges_) {
        if (!out.empty()) {
            out += ", ";
        }
        out += page(range.first);
        if (!(range.end == range.first)) {
            out += "-" + page(range.end);
        }
    }
    return out;
}

std::optional<PageSelection> PageSelection::only(std::vector<uint64_t> pages, uint64_t pageCount) {
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
    pages.erase(std::lower_bound(pages.begin(), pages.end(), pageCount), pages.end());
    if (pages.empty()) {
        return std::nullopt;
    }
    return pages.size() == pageCount ? PageSelection() : ofPages(pages);
}

std::optional<PageSelection> PageSelection::without(const std::vector<uint64_t>& pages, uint64_t pageCount) const {
    const std::set<uint64_t> out(pages.begin(), pages.end());
    const std::vector<uint64_t> taken = this->pages(pageCount).value_or(std::vector<uint64_t>{});
    std::vector<uint64_t> kept;
    std::copy_if(taken.begin(), taken.end(), std::back_inserter(kept),
                 [&](uint64_t page) { return !out.contains(page); });
    if (kept.empty()) {
        return std::nullopt;
    }
    // Nothing left out: the selection stays as written, "all" and z included.
    return kept.size() == taken.size() ? *this : ofPages(kept);
}

}  // namespace tomefuse
