#include "list/PageSelection.h"

#include <algorithm>
#include <cctype>

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

}  // namespace

PageSelection::Parsed PageSelection::parse(std::string_view text, uint64_t pageCount) {
    text = trimmed(text);
    if (isAllText(text)) {
        return {PageSelection(), {}};
    }
    PageSelection selection;
    auto quote = [](std::string_view part) { return "“" + std::string(part) + "”"; };
    while (true) {
        const size_t separator = text.find_first_of(",;");
        const std::string_view part = trimmed(text.substr(0, separator));
        if (part.empty()) {
            return {std::nullopt, "a page or range is missing between two commas"};
        }
        // One page, or two joined by a dash.
        Range range;
        const size_t dash = part.find('-');
        const std::string_view ends[2] = {trimmed(part.substr(0, dash)), dash == std::string_view::npos
                                                                             ? std::string_view()
                                                                             : trimmed(part.substr(dash + 1))};
        Page pages[2];
        for (int i = 0; i < (dash == std::string_view::npos ? 1 : 2); ++i) {
            const std::string_view end = ends[i];
            if (end == "z" || end == "Z") {
                pages[i].last = true;
            } else if (!end.empty() && end.size() <= 9 && std::all_of(end.begin(), end.end(), [](char c) {
                           return std::isdigit(static_cast<unsigned char>(c));
                       })) {
                pages[i].number = std::stoull(std::string(end));
                if (pages[i].number == 0) {
                    return {std::nullopt, quote(part) + ": pages count from 1"};
                }
                if (pages[i].number > pageCount || pages[i].number > maxPageNumber) {
                    return {std::nullopt, quote(part) + ": the file has " + std::to_string(pageCount) +
                                              (pageCount == 1 ? " page" : " pages")};
                }
            } else {
                return {std::nullopt, quote(part) + " is not a page or a range of pages, such as 3 or 1-5 or 10-z"};
            }
        }
        if (pageCount == 0) {
            return {std::nullopt, quote(part) + ": the file has no pages"};
        }
        range.first = pages[0];
        range.end = dash == std::string_view::npos ? pages[0] : pages[1];
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

}  // namespace tomefuse
