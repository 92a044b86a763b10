// The controller's part in the pages of the list's files: turning them, choosing them by their
// thumbnails, and two files of a duplex scan made one entry.

#include "app/TomefuseAppDelegate.h"
#include "platform/desktop/Translation.h"

namespace tomefuse {

void TomefuseAppDelegate::turnSelection(int degrees) {
    const IndexSet rows = selectedRowsInList();
    if (!list_.turn(rows, degrees, rows)) {
        services_.system.beep();
    }
}

void TomefuseAppDelegate::rotateRight(Sender*) { turnSelection(90); }
void TomefuseAppDelegate::rotateLeft(Sender*) { turnSelection(-90); }

std::optional<PageSelection> TomefuseAppDelegate::chosenPages(int64_t row, const std::vector<uint64_t>& pages) {
    auto chosen =
        list_.contains(row) ? PageSelection::only(pages, list_[static_cast<size_t>(row)].pagecount) : std::nullopt;
    if (!chosen) {
        services_.system.beep();
    }
    return chosen;
}

void TomefuseAppDelegate::turnPages(int64_t row, const std::vector<uint64_t>& pages, int degrees) {
    if (auto chosen = chosenPages(row, pages)) {
        list_.turnPages(static_cast<uint64_t>(row), *chosen, degrees, selectedRowsInList());
    }
}

void TomefuseAppDelegate::choosePagesOf(int64_t row, PageSelection pages) {
    if (!list_.choosePages(static_cast<uint64_t>(row), std::move(pages), selectedRowsInList())) {
        // Already so: the table shows it again all the same.
        reloadTable();
    }
}

void TomefuseAppDelegate::takeOnlyPages(int64_t row, const std::vector<uint64_t>& pages) {
    if (auto chosen = chosenPages(row, pages)) {
        choosePagesOf(row, std::move(*chosen));
    }
}

void TomefuseAppDelegate::leaveOutPages(int64_t row, const std::vector<uint64_t>& pages) {
    if (!list_.contains(row) || pages.empty()) {
        services_.system.beep();
        return;
    }
    const PdfEntry& entry = list_[static_cast<size_t>(row)];
    auto kept = entry.pages.without(pages, entry.pagecount);
    if (!kept) {
        services_.system.beep();
        showStatusMessage(translate("tomefuse::TomefuseAppDelegate",
                                    "A file keeps at least one page; remove it from the list to leave it out."));
        return;
    }
    choosePagesOf(row, std::move(*kept));
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
