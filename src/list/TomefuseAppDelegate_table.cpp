#include "app/TomefuseAppDelegate.h"

namespace tomefuse {

int64_t TomefuseAppDelegate::numberOfRowsInTableView() const { return static_cast<int64_t>(pdfsList_.size()); }

CellValue TomefuseAppDelegate::objectValueForTableColumn(const std::string& identifier, int64_t row) const {
    if (!rowInList(row)) {
        return std::monostate{};
    }
    return pdfsList_[static_cast<size_t>(row)].valueForKey(identifier);
}

// The name is edited in its cell, and the pages taken in the pages cell.
bool TomefuseAppDelegate::shouldEditTableColumn(const std::string& identifier, int64_t row) const {
    return rowInList(row) && (identifier == PdfEntry::filenameKey || identifier == PdfEntry::pagecountKey);
}

void TomefuseAppDelegate::setObjectValue(const std::string& value, const std::string& identifier, int64_t row) {
    if (!rowInList(row)) {
        return;
    }
    if (identifier == PdfEntry::pagecountKey) {
        choosePages(row, value);
        return;
    }
    if (identifier != PdfEntry::filenameKey) {
        return;
    }
    // A blank name would make a blank row, an empty bookmark and a quick save named only by its
    // suffix: the old name stays.
    if (value.find_first_not_of(" \t\n\r\f\v") == std::string::npos) {
        services_.system.beep();
        showStatusMessage("A file needs a name; the old one stays.");
        return;
    }
    services_.system.log("PDF filename changed to: " + value);
    ListSnapshot before = listSnapshot();
    PdfEntry renamed = pdfsList_[static_cast<size_t>(row)];
    renamed.filename = value;
    pdfsList_[static_cast<size_t>(row)] = std::move(renamed);
    // The selection stays as it is.
    commitListEdit("Rename File", std::move(before), {}, {});
}

void TomefuseAppDelegate::choosePages(int64_t row, const std::string& text) {
    PdfEntry& entry = pdfsList_[static_cast<size_t>(row)];
    PageSelection::Parsed parsed = PageSelection::parse(text, entry.pagecount);
    if (!parsed.selection) {
        services_.system.beep();
        if (window_) {
            window_->showAlert("These pages cannot be taken from “" + entry.filename + "”.", parsed.error);
        }
        return;
    }
    if (*parsed.selection == entry.pages) {
        return;
    }
    ListSnapshot before = listSnapshot();
    pdfsList_[static_cast<size_t>(row)].pages = std::move(*parsed.selection);
    commitListEdit("Choose Pages", std::move(before), {}, {});
}

}  // namespace tomefuse
