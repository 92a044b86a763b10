#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "list/NaturalOrder.h"

namespace tomefuse {

// What a folder holds for the list.
struct FolderContents {
    std::vector<std::string> pdfs;  // absolute paths
    uint64_t otherFiles = 0;        // files whose contents are not PDF
};

// The PDF files in a folder and all its subfolders, found by their contents, in the order of
// their paths with each component compared by compareNames. Hidden files and folders are passed
// over, and so are links to folders (they may lead back up) and folders that cannot be read.
FolderContents pdfFilesInFolder(const std::string& folder, const NameComparison& compareNames);

// "1 folder without PDFs and 2 files that are not PDFs were left out"
std::string leftOutMessage(uint64_t folders, uint64_t files);

// Whether the file starts as a PDF does: "%PDF-" within its first kilobyte, where readers
// still find it after leading junk.
bool hasPdfSignature(const std::string& path);

}  // namespace tomefuse
