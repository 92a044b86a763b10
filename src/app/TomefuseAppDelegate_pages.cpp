// The controller's part in the pages of the list's files: turning them, choosing them by their
// thumbnails, and two files of a duplex scan made one entry.

#include <algorithm>
#include <set>

#include "app/TomefuseAppDelegate.h"
#include "platform/desktop/Translation.h"

namespace tomefuse {

std::optional<bool> TomefuseAppDelegate::validatePagesItem(Action action) const {
    const IndexSet rows = selectedRowsInList();
    if (action == &TomefuseAppDelegate::rotateRight || action == &TomefuseAppDelegate::rotateLeft) {
        return !rows.empty();
    }
    if (action == &TomefuseAppDelegate::interleaveWithNext ||
        action == &TomefuseAppDelegate::interleaveWithNextReversed) {
        const uint64_t row = rows.empty() ? 0 : *rows.begin();
        return rows.size() == 1 && row + 1 < list_.size() && DocumentList::canInterleave(list_[row], list_[row + 1]);
    }
    return std::nullopt;
}

void TomefuseAppDelegate::turnSelection(int degrees) {
    const IndexSet rows = selectedRowsInList();
    if (!list_.turn(rows, degrees, rows)) {
        services_.system.beep();
    }
}

void TomefuseAppDelegate::rotateRight(Sender*) { turnSelection(90); }
void TomefuseAppDelegate::rotateLeft(Sender*) { turnSelection(-90); }

void TomefuseAppDelegate::turnPages(int64_t row, const std::vector<uint64_t>& pages, int degrees) {
    if (!list_.contains(row) || pages.empty()) {
        services_.system.beep();
        return;
    }
    std::vector<uint64_t> sorted(pages);
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    list_.turnPages(static_cast<uint64_t>(row), PageSelection::ofPages(sorted), degrees, selectedRowsInList());
}

void TomefuseAppDelegate::choosePagesOf(int64_t row, PageSelection pages) {
    if (!list_.choosePages(static_cast<uint64_t>(row), std::move(pages), selectedRowsInList())) {
        // Already so: the table shows it again all the same.
        reloadTable();
    }
}

void TomefuseAppDelegate::takeOnlyPages(int64_t row, const std::vector<uint64_t>& pages) {
    if (!list_.contains(row) || pages.empty()) {
        services_.system.beep();
        return;
    }
    const PdfEntry& entry = list_[static_cast<size_t>(row)];
    std::vector<uint64_t> taken;
    for (uint64_t page : std::set<uint64_t>(pages.begin(), pages.end())) {
        if (page < entry.pagecount) {
            taken.push_back(page);
        }
    }
    if (taken.empty()) {
        services_.system.beep();
        return;
    }
    // Every page is all pages: "all" keeps its meaning when the file grows.
    choosePagesOf(row, taken.size() == entry.pagecount ? PageSelection() : PageSelection::ofPages(taken));
}

void TomefuseAppDelegate::leaveOutPages(int64_t row, const std::vector<uint64_t>& pages) {
    if (!list_.contains(row) || pages.empty()) {
        services_.system.beep();
        return;
    }
    const PdfEntry& entry = list_[static_cast<size_t>(row)];
    const std::set<uint64_t> out(pages.begin(), pages.end());
    // What stays keeps its order, pages taken backwards or twice included.
    std::vector<uint64_t> kept;
    for (uint64_t page : entry.pages.pages(entry.pagecount).value_or(std::vector<uint64_t>{})) {
        if (!out.contains(page)) {
            kept.push_back(page);
        }
    }
    if (kept.empty()) {
        services_.system.beep();
        showStatusMessage(translate("tomefuse::TomefuseAppDelegate",
                                    "A file keeps at least one page; remove it from the list to leave it out."));
        return;
    }
    choosePagesOf(row, PageSelection::ofPages(kept));
}

void TomefuseAppDelegate::interleaveSelection(bool reversed) {
    const IndexSet rows = selectedRowsInList();
    if (rows.size() != 1 || !list_.interleave(*rows.begin(), reversed, rows)) {
        services_.system.beep();
    }
}

void TomefuseAppDelegate::interleaveWithNext(Sender*) { interleaveSelection(false); }
void TomefuseAppDelegate::interleaveWithNextReversed(Sender*) { interleaveSelection(true); }

}  // namespace tomefuse
