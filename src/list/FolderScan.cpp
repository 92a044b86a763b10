#include "list/FolderScan.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "platform/desktop/Translation.h"
#include "platform/pdf/ImagePages.h"
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
            if (isInputFile(path.string())) {
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
    const struct {
        uint64_t n;
        const char* one;
        const char* many;  // a plural form of %n
    } reasons[] = {
        {leftOut.folders, QT_TRANSLATE_NOOP("tomefuse::FolderScan", "1 folder without PDFs"),
         QT_TRANSLATE_N_NOOP("tomefuse::FolderScan", "%n folders without PDFs")},
        {leftOut.notPdf, QT_TRANSLATE_NOOP("tomefuse::FolderScan", "1 file that is not a PDF"),
         QT_TRANSLATE_N_NOOP("tomefuse::FolderScan", "%n files that are not PDFs")},
        {leftOut.needPassword, QT_TRANSLATE_NOOP("tomefuse::FolderScan", "1 file that needs a password"),
         QT_TRANSLATE_N_NOOP("tomefuse::FolderScan", "%n files that need a password")},
        {leftOut.damaged, QT_TRANSLATE_NOOP("tomefuse::FolderScan", "1 damaged file"),
         QT_TRANSLATE_N_NOOP("tomefuse::FolderScan", "%n damaged files")},
        {leftOut.unreadable, QT_TRANSLATE_NOOP("tomefuse::FolderScan", "1 file that cannot be read"),
         QT_TRANSLATE_N_NOOP("tomefuse::FolderScan", "%n files that cannot be read")},
    };
    std::vector<std::string> parts;
    uint64_t total = 0;
    for (const auto& reason : reasons) {
        if (reason.n > 0) {
            parts.push_back(reason.n == 1
                                ? translate("tomefuse::FolderScan", reason.one)
                                : translate("tomefuse::FolderScan", reason.many, nullptr, static_cast<int>(reason.n)));
            total += reason.n;
        }
    }
    std::string text = parts.empty() ? std::string() : parts.front();
    for (size_t i = 1; i < parts.size(); ++i) {
        text = withArguments(i + 1 == parts.size() ? translate("tomefuse::FolderScan", "%1 and %2")
                                                   : translate("tomefuse::FolderScan", "%1, %2"),
                             {text, parts[i]});
    }
    return withArguments(total == 1 ? translate("tomefuse::FolderScan", "%1 was left out")
                                    : translate("tomefuse::FolderScan", "%1 were left out"),
                         {text});
}

bool isInputFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    char head[PDFDocument::headerWindow];
    file.read(head, sizeof head);
    const std::string_view read(head, static_cast<size_t>(file.gcount()));
    return PDFDocument::hasPDFHeader(read) || imageFormatOf(read) != ImageFormat::none;
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
