#include <algorithm>
#include <cstdio>

#include "app/TomefuseAppDelegate.h"

namespace tomefuse {

namespace {

const URLReadingOptions& fileDropFilter() {
    static const URLReadingOptions options{true, {kUTTypePDF}};
    return options;
}

void appendJSONString(std::string& out, const std::string& text) {
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
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
    return info.draggingPasteboard().readFileURLs(fileDropFilter()).empty() ? NSDragOperationNone
                                                                            : NSDragOperationCopy;
}

bool TomefuseAppDelegate::acceptDrop(DraggingInfo& info, int64_t row, NSTableViewDropOperation) {
    if (tableView_ && info.draggingSource() == static_cast<const void*>(tableView_)) {
        if (tableView_->selectedRowIndexes().empty()) {
            return false;
        }
        moveSelectedRows(row);
        return true;
    }
    return dropFiles(info);
}

// The block lands where the drop indicator stood, counted before the block was taken out: a gap
// is named by its position, not by a neighbour, so equal entries cannot send it elsewhere.
void TomefuseAppDelegate::moveSelectedRows(int64_t row) {
    willChangeValueForKey("pdfsList");
    IndexSet selected = tableView_ ? tableView_->selectedRowIndexes() : IndexSet{};
    uint64_t drop = row < 0 ? 0 : std::min<uint64_t>(static_cast<uint64_t>(row), pdfsList_.size());

    std::vector<PdfEntry> block;
    std::vector<PdfEntry> rest;
    uint64_t selectedAbove = 0;
    for (uint64_t i = 0; i < pdfsList_.size(); ++i) {
        if (selected.contains(i)) {
            block.push_back(std::move(pdfsList_[i]));
            if (i < drop) {
                ++selectedAbove;
            }
        } else {
            rest.push_back(std::move(pdfsList_[i]));
        }
    }
    uint64_t at = drop - selectedAbove;
    rest.insert(rest.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(block.begin()),
                std::make_move_iterator(block.end()));
    pdfsList_ = std::move(rest);
    didChangeValueForKey("pdfsList");

    reloadTable();
    IndexSet moved;
    for (uint64_t i = 0; i < block.size(); ++i) {
        moved.insert(at + i);
    }
    if (tableView_) {
        tableView_->selectRowIndexes(moved, false);
    }
}

bool TomefuseAppDelegate::dropFiles(DraggingInfo& info) {
    bool added = false;
    for (const auto& path : info.draggingPasteboard().readFileURLs(fileDropFilter())) {
        added = makeAndAppendEntry(path, false) || added;
    }
    reloadTable();
    return added;
}

}  // namespace tomefuse
