#include <filesystem>

#include "app/TomefuseAppDelegate.h"
#include "toc/TableOfContents.h"

namespace tomefuse {

namespace {

std::string absolutePath(const std::string& path) {
    if (path.empty() || path.front() == '/') {
        return path;
    }
    std::error_code error;
    auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

}  // namespace

std::optional<PdfEntry> TomefuseAppDelegate::makeEntry(const std::string& path, bool keepUnreadable) const {
    auto document = PDFDocument::initWithURL(path);
    if (!document && !keepUnreadable) {
        return std::nullopt;
    }
    PdfEntry entry;
    entry.path = absolutePath(path);
    entry.filename = displayNameForPath(path);
    if (document) {
        entry.pagecount = document->pageCount();
        entry.outlinecount = arrayFromOutline(*document).size();
    }
    return entry;
}

void TomefuseAppDelegate::addToTable(Sender*) {
    auto panel = services_.openPanel ? services_.openPanel() : nullptr;
    if (!panel) {
        services_.system.beep();
        return;
    }
    panel->setCanChooseDirectories(false);
    panel->setAllowsMultipleSelection(true);
    panel->setAllowedFileTypes({"pdf"});
    if (panel->runModal() != NSModalResponseOK) {
        return;
    }
    std::vector<PdfEntry> entries;
    for (const auto& path : panel->URLs()) {
        entries.push_back(*makeEntry(path, true));
    }
    insertEntries(std::move(entries), pdfsList_.size());
}

bool TomefuseAppDelegate::openFile(const std::string& path) {
    auto entry = makeEntry(path, false);
    if (!entry) {
        return false;
    }
    insertEntries({std::move(*entry)}, pdfsList_.size());
    return true;
}

void TomefuseAppDelegate::openFiles(const std::vector<std::string>& paths) {
    std::vector<PdfEntry> entries;
    for (const auto& path : paths) {
        if (auto entry = makeEntry(path, false)) {
            entries.push_back(std::move(*entry));
        }
    }
    insertEntries(std::move(entries), pdfsList_.size());
}

void TomefuseAppDelegate::removeFromTable(Sender*) {
    IndexSet rows = tableView_ ? tableView_->selectedRowIndexes() : IndexSet{};
    std::erase_if(rows, [this](uint64_t row) { return row >= pdfsList_.size(); });
    if (rows.empty()) {
        services_.system.beep();
        return;
    }
    ListSnapshot before = listSnapshot();
    std::vector<PdfEntry> kept;
    kept.reserve(pdfsList_.size());
    for (uint64_t i = 0; i < pdfsList_.size(); ++i) {
        if (!rows.contains(i)) {
            kept.push_back(std::move(pdfsList_[i]));
        }
    }
    pdfsList_ = std::move(kept);
    // The selection goes to the row after the (first) removed block, or to the last row; a
    // selection kept by row number would pick rows the user never chose.
    IndexSet next;
    if (!pdfsList_.empty()) {
        next.insert(std::min<uint64_t>(*rows.begin(), pdfsList_.size() - 1));
    }
    commitListEdit(editName("Remove", rows.size()), std::move(before), next, next);
}

void TomefuseAppDelegate::tableViewDoubleClicked(Sender*) {
    int64_t row = tableView_ ? tableView_->selectedRow() : -1;
    if (row < 0) {
        addToTable(nullptr);
        return;
    }
    if (rowInList(row)) {
        services_.workspace.openFile(pdfsList_[static_cast<size_t>(row)].path);
    }
}

}  // namespace tomefuse
