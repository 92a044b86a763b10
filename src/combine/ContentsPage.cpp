#include "combine/ContentsPage.h"

#include <unordered_set>

#include "platform/desktop/Translation.h"
#include "toc/TableOfContents.h"

namespace tomefuse {

std::string contentsTitle() { return translate("tomefuse::ContentsPage", "Contents"); }

namespace {

// Why the contents could not be laid out: the typesetter's reason, when it gave one.
std::string notLaidOut(const std::string& reason) {
    return reason.empty()
               ? translate("tomefuse::ContentsPage", "the contents page could not be laid out")
               : withArguments(translate("tomefuse::ContentsPage", "the contents page could not be laid out: %1"),
                               {reason});
}

// More rounds than any layout needs: each one only grows the pages assumed.
constexpr int maxRounds = 32;

PDFDestination topOf(const PDFPage& page) { return PDFDestination(page, pageTopPoint(page)); }

// The contents pages' own labels: "Contents 1", "Contents 2"..., apart from the document's.
std::string contentsLabel(uint64_t k) { return contentsTitle() + " " + std::to_string(k + 1); }

// The pages laid out, then blank ones up to the count assumed. Where the document has labels
// they are labelled as contentsLabel says.
bool insertPages(PDFDocument& combined, const PDFDocument& pages, std::vector<PDFPageAdditions> additions,
                 uint64_t count, std::string& error) {
    for (uint64_t k = 0; k < count; ++k) {
        bool inserted = false;
        if (k < additions.size()) {
            additions[k].label =
                PDFPageLabel{PDFPageLabel::Style::decimal, contentsTitle() + " ", static_cast<long long>(k) + 1};
            inserted = combined.insertPage(pages.pageAtIndex(k), k, additions[k]);
        } else {
            PDFPageAdditions blank;
            blank.continuesLabels = true;
            inserted = combined.insertBlankPage(k, pages.pageAtIndex(0), blank);
        }
        if (!inserted) {
            error = combined.lastError().empty()
                        ? translate("tomefuse::ContentsPage", "the contents page could not be written")
                        : combined.lastError();
            return false;
        }
    }
    return true;
}

}  // namespace

void ContentsPage::addFile(const PDFDocument& combined, const std::string& name, uint64_t firstPage,
                           const std::vector<TocEntry>& bookmarks) {
    if (!options_.add) {
        return;
    }
    entries_.push_back({name, 0, topOf(combined.pageAtIndex(firstPage)), nullptr});
    if (options_.depth == 0 || bookmarks.empty()) {
        return;
    }
    // Rebuilt as the outline is, so each line leads where its bookmark does.
    std::vector<TocEntry> kept;
    for (const TocEntry& entry : bookmarks) {
        if (options_.depth < 0 || entry.level <= static_cast<uint64_t>(options_.depth)) {
            kept.push_back(entry);
        }
    }
    LevelBuckets buckets = outlineArrayFromArray(combined, &kept, firstPage);
    std::vector<std::pair<const PDFOutline*, unsigned>> stack;
    for (size_t i = buckets[1].size(); i-- > 0;) {
        stack.emplace_back(buckets[1][i].get(), 1);
    }
    while (!stack.empty()) {
        const auto [item, level] = stack.back();
        stack.pop_back();
        entries_.push_back({item->label().value_or(std::string()), level, item->destination(), item->action()});
        for (size_t i = item->numberOfChildren(); i-- > 0;) {
            stack.emplace_back(item->childAtIndex(i).get(), level + 1);
        }
    }
}

std::vector<std::string> ContentsPage::labelsShown(const PDFDocument& combined, uint64_t contentsPages) const {
    if (!options_.pageLabels) {
        return {};
    }
    std::vector<std::string> labels = combined.pageLabels();
    // Files that each start at "1" (or blank pages that continue a file's labels into the next's)
    // would send a reader to the wrong page.
    std::unordered_set<std::string> seen;
    for (uint64_t k = 0; k < contentsPages; ++k) {
        seen.insert(contentsLabel(k));
    }
    for (const std::string& label : labels) {
        if (label.empty() || !seen.insert(label).second) {
            return {};
        }
    }
    return labels;
}

std::vector<ContentsLine> ContentsPage::lines(const PDFDocument& combined, uint64_t contentsPages,
                                              const std::vector<std::string>& labels) const {
    std::vector<ContentsLine> lines;
    lines.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        ContentsLine line{entry.text, {}, entry.level};
        if (entry.destination) {
            const uint64_t index = combined.indexForPage(entry.destination->page());
            if (index < labels.size()) {
                line.pageText = labels[index];
            } else if (index != NSNotFound) {
                line.pageText = std::to_string(index + contentsPages + 1);
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// The numbers shown count the contents pages, whose number depends on the numbers' widths: lays
// out again with the pages found until they are enough. Answers the pages the contents take,
// padding included; 0 when they could not be laid out.
uint64_t ContentsPage::settlePageCount(const PDFDocument& combined, ContentsRequest& request, bool evenPages,
                                       std::string& error) const {
    uint64_t assumed = evenPages ? 2 : 1;
    for (int round = 0;; ++round) {
        request.lines = lines(combined, assumed, labelsShown(combined, assumed));
        request.render = false;
        const ContentsTypesetting measured = options_.typesetter->typeset(request);
        if (!measured.error.empty()) {
            error = notLaidOut(measured.error);
            return 0;
        }
        const uint64_t needed = measured.pageCount + (evenPages && measured.pageCount % 2 ? 1 : 0);
        if (needed <= assumed) {
            return assumed;
        }
        if (round == maxRounds) {
            error = notLaidOut(translate("tomefuse::ContentsPage", "its length does not settle"));
            return 0;
        }
        assumed = needed;
    }
}

// Each line's link, on the page the layout put it; the lines and the title as a tagged
// document's structure takes them.
std::vector<PDFPageAdditions> ContentsPage::linksOnPages(const ContentsTypesetting& made) const {
    std::vector<PDFPageAdditions> additions(made.pageCount);
    for (PDFPageAdditions& page : additions) {
        page.contents.emplace();
    }
    if (!additions.empty()) {
        additions[0].contents->title = made.title;
    }
    for (size_t i = 0; i < entries_.size(); ++i) {
        const ContentsPlacement& placement = made.placements[i];
        if (placement.page >= additions.size()) {
            continue;
        }
        PDFPageAdditions& page = additions[placement.page];
        PDFContentsTags::Line line{placement.rect, entries_[i].level, std::nullopt};
        if (entries_[i].destination || entries_[i].action) {
            line.link = page.links.size();
            page.links.push_back({placement.rect, entries_[i].destination, entries_[i].action});
        }
        page.contents->lines.push_back(line);
    }
    return additions;
}

bool ContentsPage::insertInto(PDFDocument& combined, PDFOutline& root, bool evenPages, std::string& error) {
    if (!options_.add || entries_.empty() || combined.pageCount() == 0) {
        return true;
    }
    if (!options_.typesetter) {
        error =
            translate("tomefuse::ContentsPage", "the contents page cannot be laid out here (its Qt module is missing)");
        return false;
    }
    struct Finish {
        ContentsTypesetter& typesetter;
        ~Finish() { typesetter.finishContents(); }
    } finish{*options_.typesetter};
    // The size of the first page as it is seen, turned or not.
    const PDFPage first = combined.pageAtIndex(0);
    const PDFRect box = first.boundsForBox(PDFDisplayBox::cropBox);
    const bool turned = first.rotation() % 180 != 0;
    ContentsRequest request;
    request.title = contentsTitle();
    request.pageWidth = turned ? box.height : box.width;
    request.pageHeight = turned ? box.width : box.height;

    const uint64_t assumed = settlePageCount(combined, request, evenPages, error);
    if (assumed == 0) {
        return false;
    }
    request.render = true;
    ContentsTypesetting made = options_.typesetter->typeset(request);
    std::shared_ptr<PDFDocument> pages;
    if (made.error.empty()) {
        pages = PDFDocument::initWithData(std::move(made.pdf));
    }
    if (!pages || pages->pageCount() != made.pageCount || made.pageCount > assumed ||
        made.placements.size() != entries_.size()) {
        error = notLaidOut(made.error);
        return false;
    }
    if (!insertPages(combined, *pages, linksOnPages(made), assumed, error)) {
        return false;
    }
    auto item = PDFOutline::init();
    item->setLabel(contentsTitle());
    item->setDestination(topOf(combined.pageAtIndex(0)));
    root.insertChild(std::move(item), 0);
    combined.finishPagesFrom(*pages);
    return true;
}

}  // namespace tomefuse
