#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "app/TomefuseAppDelegate.h"
#include "list/FolderScan.h"

namespace tomefuse {

namespace {

// PDF files, and folders to look into.
const URLReadingOptions& fileDropFilter() {
    static const URLReadingOptions options{true, {kUTTypePDF, kUTTypeFolder}};
    return options;
}

void appendJSONString(std::string& out, const std::string& text) {
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04X", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

// The row payload: a JSON array of entries, four keys each.
std::string serializeEntries(const std::vector<const PdfEntry*>& entries) {
    std::string out = "[";
    for (size_t i = 0; i < entries.size(); ++i) {
        const PdfEntry& entry = *entries[i];
        out += i ? ",{" : "{";
        appendJSONString(out, std::string(PdfEntry::pathKey));
        out += ':';
        appendJSONString(out, entry.path);
        out += ',';
        appendJSONString(out, std::string(PdfEntry::filenameKey));
        out += ':';
        appendJSONString(out, entry.filename);
        out += ',';
        appendJSONString(out, std::string(PdfEntry::pagecountKey));
        out += ':' + std::to_string(entry.pagecount) + ',';
        appendJSONString(out, std::string(PdfEntry::outlinecountKey));
        out += ':' + std::to_string(entry.outlinecount) + '}';
    }
    out += ']';
    return out;
}

}  // namespace

bool TomefuseAppDelegate::writeRowsWithIndexes(const IndexSet& rows, Pasteboard& pasteboard) {
    pasteboard.declareTypes({MultiplePDFContentType});
    std::vector<const PdfEntry*> dragged;
    for (uint64_t row : rows) {
        if (row < pdfsList_.size()) {
            dragged.push_back(&pdfsList_[row]);
        }
    }
    pasteboard.setData(serializeEntries(dragged), MultiplePDFContentType);
    return true;
}

NSDragOperation TomefuseAppDelegate::validateDrop(DraggingInfo& info, int64_t, NSTableViewDropOperation operation) {
    if (operation == NSTableViewDropOn) {
        return NSDragOperationNone;
    }
    // A drag from another process has no source; it must not pass for ours when the outlet is unset.
    if (tableView_ && info.draggingSource() == static_cast<const void*>(tableView_)) {
        return NSDragOperationMove;
    }
    return info.draggingPasteboard().readFileURLs(fileDropFilter()).empty() ? NSDragOperationNone : NSDragOperationCopy;
}

bool TomefuseAppDelegate::acceptDrop(DraggingInfo& info, int64_t row, NSTableViewDropOperation) {
    if (tableView_ && info.draggingSource() == static_cast<const void*>(tableView_)) {
        if (tableView_->selectedRowIndexes().empty()) {
            return false;
        }
        moveSelectedRows(row);
        return true;
    }
    return dropFiles(info, row);
}

void TomefuseAppDelegate::moveSelectedRows(int64_t row) {
    const IndexSet selected = selectedRowsInList();
    const uint64_t gap = row < 0 ? 0 : static_cast<uint64_t>(row);
    rearrangeList(moveRows(pdfsList_, selected, gap), editName("Move", selected.size()));
}

// The files go where the drop line showed, in the order given; folders give the PDFs inside.
// Whatever is left out is said, not passed over in silence.
bool TomefuseAppDelegate::dropFiles(DraggingInfo& info, int64_t row) {
    const Pasteboard& pasteboard = info.draggingPasteboard();
    const std::vector<std::string> pdfs = pasteboard.readFileURLs(fileDropFilter());
    const std::set<std::string> accepted(pdfs.begin(), pdfs.end());
    std::vector<PdfEntry> entries;
    uint64_t foldersWithoutPdfs = 0;
    uint64_t filesNotPdf = 0;
    for (const auto& path : pasteboard.readFileURLs(URLReadingOptions{true, {kUTTypeItem}})) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            const size_t before = entries.size();
            const uint64_t leftOut = gatherFolder(path, entries);
            // A folder that gave nothing is one thing left out, however many files it holds.
            if (entries.size() == before) {
                ++foldersWithoutPdfs;
            } else {
                filesNotPdf += leftOut;
            }
        } else if (auto entry = accepted.contains(path) ? makeEntry(path, false) : std::nullopt) {
            entries.push_back(std::move(*entry));
        } else {
            ++filesNotPdf;
        }
    }
    const bool added = insertEntries(std::move(entries), row < 0 ? 0 : static_cast<uint64_t>(row)) > 0;
    if (foldersWithoutPdfs + filesNotPdf > 0) {
        showStatusMessage(leftOutMessage(foldersWithoutPdfs, filesNotPdf));
    }
    return added;
}

}  // namespace tomefuse
