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

bool TomefuseAppDelegate::makeAndAppendEntry(const std::string& path, bool keepUnreadable) {
    auto document = PDFDocument::initWithURL(path);
    if (!document && !keepUnreadable) {
        return false;
    }
    PdfEntry entry;
    entry.path = absolutePath(path);
    entry.filename = displayNameForPath(path);
    if (document) {
        entry.pagecount = document->pageCount();
        entry.outlinecount = arrayFromOutline(*document).size();
    }
    pdfsList_.push_back(std::move(entry));
    return true;
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
    for (const auto& path : panel->URLs()) {
        makeAndAppendEntry(path, true);
    }
    reloadTable();
}

bool TomefuseAppDelegate::openFile(const std::string& path) {
    if (!makeAndAppendEntry(path, false)) {
        return false;
    }
    reloadTable();
    return true;
}

void TomefuseAppDelegate::openFiles(const std::vector<std::string>& paths) {
    for (const auto& path : paths) {
        makeAndAppendEntry(path, false);
    }
    reloadTable();
}

void TomefuseAppDelegate::removeFromTable(Sender*) {
    IndexSet rows = tableView_ ? tableView_->selectedRowIndexes() : IndexSet{};
    if (rows.empty()) {
        services_.system.beep();
        return;
    }
    std::vector<PdfEntry> kept;
    kept.reserve(pdfsList_.size());
    for (uint64_t i = 0; i < pdfsList_.size(); ++i) {
        if (!rows.contains(i)) {
            kept.push_back(std::move(pdfsList_[i]));
        }
    }
    pdfsList_ = std::move(kept);
    reloadTable();
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
