#include <sys/stat.h>

#include <filesystem>
#include <tuple>

#include "app/TomefuseAppDelegate.h"

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

PDFFileSummary TomefuseAppDelegate::summarizeWithPassword(const std::string& path, const std::string& name,
                                                          std::string& password) const {
    PDFFileSummary summary = PDFDocument::summaryOfFile(path, password);
    // A protected file: ask, again while the password given is wrong, until the user skips it.
    bool wrong = !password.empty();
    while (summary.failure == PDFOpenFailure::needsPassword && services_.passwordPanel) {
        auto panel = services_.passwordPanel();
        if (!panel) {
            break;
        }
        panel->setFile(path, name);
        panel->setPasswordWasWrong(wrong);
        if (panel->runModal() != NSModalResponseOK) {
            break;
        }
        password = panel->password();
        summary = PDFDocument::summaryOfFile(path, password);
        wrong = true;
    }
    if (summary.failure != PDFOpenFailure::none) {
        password.clear();
    }
    return summary;
}

namespace {

// The file's size and modification time now; size -1 when it is not there.
std::pair<int64_t, int64_t> stampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {-1, 0};
    }
    return {static_cast<int64_t>(info.st_size),
            static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

}  // namespace

// Reads what the entry shows from its file: page and bookmark counts, or why it cannot be read.
void TomefuseAppDelegate::readEntry(PdfEntry& entry) const {
    std::tie(entry.fileSize, entry.fileModified) = stampOf(entry.path);
    const PDFFileSummary summary = summarizeWithPassword(entry.path, entry.filename, entry.password);
    entry.problem = describeOpenFailure(summary.failure);
    entry.pagecount = summary.pageCount;
    entry.outlinecount = summary.outlineCount;
    if (entry.problem.empty() && !entry.pages.fits(entry.pagecount)) {
        entry.problem = "the pages chosen, " + entry.pages.text() + ", are not all there any more";
    }
}

std::optional<PdfEntry> TomefuseAppDelegate::makeEntry(const std::string& path, bool keepUnreadable) const {
    PdfEntry entry;
    entry.path = absolutePath(path);
    entry.filename = displayNameForPath(path);
    readEntry(entry);
    if (!entry.problem.empty() && !keepUnreadable) {
        return std::nullopt;
    }
    return entry;
}

bool TomefuseAppDelegate::refreshEntries() {
    bool changed = false;
    for (PdfEntry& entry : pdfsList_) {
        if (stampOf(entry.path) != std::pair{entry.fileSize, entry.fileModified}) {
            readEntry(entry);
            changed = true;
        }
    }
    if (changed) {
        // The files changed, not the list: nothing to undo.
        reloadTable();
    }
    return changed;
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
    const IndexSet rows = selectedRowsInList();
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
