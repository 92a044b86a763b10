#include "app/TomefuseAppDelegate.h"

namespace tomefuse {

int64_t TomefuseAppDelegate::numberOfRowsInTableView() const {
    return static_cast<int64_t>(pdfsList_.size());
}

CellValue TomefuseAppDelegate::objectValueForTableColumn(const std::string& identifier, int64_t row) const {
    if (!rowInList(row)) {
        return std::monostate{};
    }
    return pdfsList_[static_cast<size_t>(row)].valueForKey(identifier);
}

bool TomefuseAppDelegate::shouldEditTableColumn(const std::string& identifier, int64_t row) const {
    return rowInList(row) && identifier == PdfEntry::filenameKey;
}

void TomefuseAppDelegate::setObjectValue(const std::string& value, const std::string& identifier, int64_t row) {
    if (identifier != PdfEntry::filenameKey || !rowInList(row)) {
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

}  // namespace tomefuse
