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

bool PdfEntry::accepts(std::string_view key, std::string_view value) const {
    if (key == pagecountKey) {
        return PageSelection::parse(value, pagecount).selection.has_value();
    }
    return key == filenameKey && value.find_first_not_of(" \t\n\r\f\v") != std::string_view::npos;
}

namespace {

// The degrees each of the entry's pages is turned by, as it numbers them; empty when none is.
std::vector<int> everyTurn(const PdfEntry& entry) {
    if (entry.rotation.isNone()) {
        return {};
    }
    std::vector<uint64_t> every(entry.pagecount);
    std::iota(every.begin(), every.end(), uint64_t{0});
    return entry.rotation.turnsFor(every, entry.pagecount);
}

}  // namespace

RowFile PdfEntry::rowFile() const {
    RowFile file;
    file.path = path;
    file.filename = filename;
    file.password = password;
    file.outlinecount = outlinecount;
    file.fileSize = fileSize;
    file.fileModified = fileModified;
    file.imagePages = imagePages.value_or(ImagePageSize::natural);
    if (!partner) {
        file.turns = everyTurn(*this);
        return file;
    }
    // The row shows the first file; its pages are not the entry's one for one.
    file.partnerPath = partner->path;
    if (rotation.all() != 0) {
        file.turns.assign(pagecount - partner->pagecount, rotation.all());
    }
    return file;
}

std::optional<RowFile> previewFileOf(const std::vector<PdfEntry>& entries, int64_t row) {
    if (row < 0 || static_cast<uint64_t>(row) >= entries.size()) {
        return std::nullopt;
    }
    const PdfEntry& entry = entries[static_cast<size_t>(row)];
    RowFile file = entry.rowFile();
    if (entry.partner) {
        file.partnerPassword = entry.partner->password;
        file.partnerReversed = entry.partner->reversed;
        file.partnerSize = entry.partner->fileSize;
        file.partnerModified = entry.partner->fileModified;
        file.turns = everyTurn(entry);
    }
    return file;
}

std::optional<std::vector<uint64_t>> PdfEntry::pagesTaken() const {
    if (pages.isAll()) {
        return std::nullopt;
    }
    return pages.pages(pagecount).value_or(std::vector<uint64_t>{});
}

}  // namespace tomefuse
