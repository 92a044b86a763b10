#include "list/FolderScan.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "platform/pdf/PDFDocument.h"

namespace tomefuse {

namespace fs = std::filesystem;

namespace {

void scan(const fs::path& folder, const NameComparison& compareNames, FolderContents& into) {
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    if (error) {
        return;
    }
    std::vector<std::pair<std::string, fs::path>> children;
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error) {
            break;
        }
        const std::string name = it->path().filename().string();
        if (!name.empty() && name.front() != '.') {
            children.emplace_back(name, it->path());
        }
    }
    std::stable_sort(children.begin(), children.end(),
                     [&](const auto& a, const auto& b) { return compareNames(a.first, b.first) < 0; });
    for (const auto& [name, path] : children) {
        std::error_code statusError;
        if (fs::is_symlink(path, statusError) && fs::is_directory(path, statusError)) {
            continue;
        }
        if (fs::is_directory(path, statusError)) {
            scan(path, compareNames, into);
        } else if (fs::is_regular_file(path, statusError)) {
            if (hasPdfSignature(path.string())) {
                into.pdfs.push_back(path.string());
            } else {
                ++into.otherFiles;
            }
        }
    }
}

}  // namespace

FolderContents pdfFilesInFolder(const std::string& folder, const NameComparison& compareNames) {
    FolderContents contents;
    std::error_code error;
    const fs::path root = fs::absolute(folder, error);
    scan(error ? fs::path(folder) : root, compareNames, contents);
    return contents;
}

void LeftOut::count(PDFOpenFailure failure) {
    switch (failure) {
        case PDFOpenFailure::none:
            return;
        case PDFOpenFailure::notAPDF:
            ++notPdf;
            return;
        case PDFOpenFailure::needsPassword:
            ++needPassword;
            return;
        case PDFOpenFailure::damaged:
            ++damaged;
            return;
        case PDFOpenFailure::missing:
        case PDFOpenFailure::notAFile:
        case PDFOpenFailure::permissionDenied:
        case PDFOpenFailure::outOfMemory:
            ++unreadable;
            return;
    }
}

std::string leftOutMessage(const LeftOut& leftOut) {
    const auto counted = [](uint64_t n, const char* one, const char* many) {
        return n == 1 ? std::string("1 ") + one : std::to_string(n) + " " + many;
    };
    const struct {
        uint64_t n;
        const char* one;
        const char* many;
    } reasons[] = {
        {leftOut.folders, "folder without PDFs", "folders without PDFs"},
        {leftOut.notPdf, "file that is not a PDF", "files that are not PDFs"},
        {leftOut.needPassword, "file that needs a password", "files that need a password"},
        {leftOut.damaged, "damaged file", "damaged files"},
        {leftOut.unreadable, "file that cannot be read", "files that cannot be read"},
    };
    std::vector<std::string> parts;
    uint64_t total = 0;
    for (const auto& reason : reasons) {
        if (reason.n > 0) {
            parts.push_back(counted(reason.n, reason.one, reason.many));
            total += reason.n;
        }
    }
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i) {
        text += i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ";
        text += parts[i];
    }
    return text + (total == 1 ? " was left out" : " were left out");
}

bool hasPdfSignature(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    char head[PDFDocument::headerWindow];
    file.read(head, sizeof head);
    return PDFDocument::hasPDFHeader(std::string_view(head, static_cast<size_t>(file.gcount())));
}

}  // namespace tomefuse
