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

std::string leftOutMessage(uint64_t folders, uint64_t files) {
    std::string text;
    if (folders > 0) {
        text = folders == 1 ? "1 folder without PDFs" : std::to_string(folders) + " folders without PDFs";
    }
    if (files > 0) {
        text += text.empty() ? "" : " and ";
        text += files == 1 ? "1 file that is not a PDF" : std::to_string(files) + " files that are not PDFs";
    }
    return text + (folders + files == 1 ? " was left out" : " were left out");
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
