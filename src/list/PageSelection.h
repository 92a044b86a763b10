#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomefuse {

// Which pages of a file go into the combined document, in order: all of them, or ranges as the
// user writes them: "1-3, 7, 10-z", z standing for the last page, "9-5" taken backwards, a page
// more than once if asked. Pages count from 1 in the text and from 0 everywhere else. z stays z:
// a file that grows or shrinks keeps its last page last.
class PageSelection {
  public:
    PageSelection() = default;  // all pages

    struct Parsed;
    // The selection a text asks for, checked against the file's page count; or why not, naming
    // the part at fault. Commas (or semicolons) separate the parts; "all" or nothing at all
    // takes every page.
    static Parsed parse(std::string_view text, uint64_t pageCount);

    // The 0-based pages given, in their order, runs of consecutive pages as ranges. None given
    // is all pages.
    static PageSelection ofPages(const std::vector<uint64_t>& pages);
    // Only the 0-based pages given, in page order and each once, those the file lacks ignored:
    // all pages when they are every page (so "all" keeps its meaning when the file grows), none
    // when the file has none of them.
    static std::optional<PageSelection> only(std::vector<uint64_t> pages, uint64_t pageCount);
    // This selection without the pages given, what stays in its order (pages taken backwards or
    // twice included); none when nothing stays, itself when none of them is taken.
    std::optional<PageSelection> without(const std::vector<uint64_t>& pages, uint64_t pageCount) const;

    bool isAll() const { return ranges_.empty(); }
    // The 0-based pages taken from a file of pageCount pages, in order; none when the selection
    // names a page the file does not have (a file that shrank since it was chosen).
    std::optional<std::vector<uint64_t>> pages(uint64_t pageCount) const;
    // Whether a file of pageCount pages has every page named.
    bool fits(uint64_t pageCount) const;
    // How many pages are taken from a file of pageCount pages (0 when it lacks some).
    uint64_t count(uint64_t pageCount) const;
    // As the user would write it again: "all", or the ranges, "1-3, 7, 10-z".
    std::string text() const;

    bool operator==(const PageSelection&) const = default;

  private:
    // A page number from 1, or the last page.
    struct Page {
        uint64_t number = 0;
        bool last = false;
        bool operator==(const Page&) const = default;
        uint64_t index(uint64_t pageCount) const { return last ? pageCount - 1 : number - 1; }
    };
    struct Range {
        Page first;
        Page end;  // inclusive; may come before first
        bool operator==(const Range&) const = default;
    };
    static std::string parsePage(std::string_view end, std::string_view part, uint64_t pageCount, Page& page);
    static std::string parseRange(std::string_view part, uint64_t pageCount, Range& range);

    std::vector<Range> ranges_;
};

struct PageSelection::Parsed {
    std::optional<PageSelection> selection;
    std::string error;  // when there is no selection: what is wrong, quoting the part
};

}  // namespace tomefuse
