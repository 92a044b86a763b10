#include "list/PdfEntry.h"

#include <algorithm>
#include <numeric>

#include "platform/desktop/Translation.h"

namespace tomefuse {

CellValue PdfEntry::valueForKey(std::string_view key) const {
    if (key == pathKey) {
        return path;
    }
    if (key == filenameKey) {
        return filename;
    }
    if (key == pagecountKey) {
        return pagecount;
    }
    if (key == outlinecountKey) {
        return outlinecount;
    }
    if (key == pagesKey) {
        return pages.text();
    }
    if (key == pagesTakenKey) {
        return pages.count(pagecount);
    }
    if (key == problemKey) {
        return problem;
    }
    if (key == turnedKey) {
        return turnedText();
    }
    if (key == partnerKey) {
        return partner ? partner->path : std::string();
    }
    return std::monostate{};
}

std::string PdfEntry::turnedText() const {
    if (rotation.isNone()) {
        return {};
    }
    if (rotation.parts().empty()) {
        return std::to_string(rotation.all());
    }
    std::vector<uint64_t> every(pagecount);
    for (uint64_t i = 0; i < pagecount; ++i) {
        every[i] = i;
    }
    const std::vector<int> turns = rotation.turnsFor(every, pagecount);
    const bool alike = std::all_of(turns.begin(), turns.end(), [&](int turn) { return turn == turns.front(); });
    if (turns.empty() || (alike && turns.front() == 0)) {
        return {};
    }
    return alike ? std::to_string(turns.front()) : std::string("some");
}

std::string directoryOfPath(const std::string& path) {
    auto end = path.find_last_not_of('/');
    if (end == std::string::npos) {
        return path.empty() ? std::string() : std::string("/");
    }
    auto slash = path.find_last_of('/', end);
    if (slash == std::string::npos) {
        return std::string();
    }
    auto last = path.find_last_not_of('/', slash);
    return last == std::string::npos ? std::string("/") : path.substr(0, last + 1);
}

std::string displayNameForPath(const std::string& path) {
    // The last component, trailing separators ignored, as a file URL's last component is.
    auto end = path.find_last_not_of('/');
    if (end == std::string::npos) {
        return path.empty() ? std::string() : std::string("/");
    }
    auto start = path.find_last_of('/', end);
    std::string name =
        path.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
    // A leading dot starts a hidden name, not an extension.
    auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name;
}

std::string describeOpenFailure(PDFOpenFailure failure) {
    switch (failure) {
        case PDFOpenFailure::none:
            return {};
        case PDFOpenFailure::missing:
            return translate("tomefuse::PdfEntry", "no longer there");
        case PDFOpenFailure::notAFile:
            return translate("tomefuse::PdfEntry", "not a file");
        case PDFOpenFailure::permissionDenied:
            return translate("tomefuse::PdfEntry", "permission denied");
        case PDFOpenFailure::notAPDF:
            return translate("tomefuse::PdfEntry", "not a PDF");
        case PDFOpenFailure::damaged:
            return translate("tomefuse::PdfEntry", "damaged beyond repair");
        case PDFOpenFailure::needsPassword:
            return translate("tomefuse::PdfEntry", "needs a password");
        case PDFOpenFailure::outOfMemory:
            return translate("tomefuse::PdfEntry", "not enough memory to read it");
    }
    return translate("tomefuse::PdfEntry", "cannot be read");
}

std::optional<RowFile> previewFileOf(const std::vector<PdfEntry>& entries, int64_t row) {
    if (row < 0 || static_cast<uint64_t>(row) >= entries.size()) {
        return std::nullopt;
    }
    const PdfEntry& entry = entries[static_cast<size_t>(row)];
    RowFile file;
    file.path = entry.path;
    file.filename = entry.filename;
    file.password = entry.password;
    file.outlinecount = entry.outlinecount;
    file.fileSize = entry.fileSize;
    file.fileModified = entry.fileModified;
    file.imagePages = entry.imagePages.value_or(ImagePageSize::natural);
    if (entry.partner) {
        file.partnerPath = entry.partner->path;
        file.partnerPassword = entry.partner->password;
        file.partnerReversed = entry.partner->reversed;
        file.partnerSize = entry.partner->fileSize;
        file.partnerModified = entry.partner->fileModified;
    }
    if (!entry.rotation.isNone()) {
        std::vector<uint64_t> every(entry.pagecount);
        std::iota(every.begin(), every.end(), uint64_t{0});
        file.turns = entry.rotation.turnsFor(every, entry.pagecount);
    }
    return file;
}

}  // namespace tomefuse
