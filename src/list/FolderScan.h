#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "list/NaturalOrder.h"
#include "platform/pdf/PDFDocument.h"

namespace tomefuse {

// What a folder holds for the list.
struct FolderContents {
    std::vector<std::string> pdfs;  // absolute paths, of PDFs and images
    uint64_t otherFiles = 0;        // files whose contents are neither
};

// The PDF files and images in a folder and all its subfolders, found by their contents, in the order of
// their paths with each component compared by compareNames. Hidden files and folders are passed
// over, and so are links to folders (they may lead back up) and folders that cannot be read.
FolderContents pdfFilesInFolder(const std::string& folder, const NameComparison& compareNames);

// What an adding left out, by why.
struct LeftOut {
    uint64_t folders = 0;  // without PDFs
    uint64_t notPdf = 0;
    uint64_t needPassword = 0;
    uint64_t damaged = 0;
    uint64_t unreadable = 0;  // gone, not a file, no permission, no memory

    void count(PDFOpenFailure failure);
    void add(const LeftOut& other) {
        folders += other.folders, notPdf += other.notPdf, needPassword += other.needPassword;
        damaged += other.damaged, unreadable += other.unreadable;
    }
    bool any() const { return folders + notPdf + needPassword + damaged + unreadable > 0; }
};

// "1 folder without PDFs, 2 files that need a password and 1 damaged file were left out"
std::string leftOutMessage(const LeftOut& leftOut);

// Whether the list takes the file, by its first bytes: a PDF, or a JPEG, PNG or TIFF image.
bool isInputFile(const std::string& path);

// Whether the file starts as a PDF does: "%PDF-" within its first kilobyte, where readers
// still find it after leading junk.
bool hasPdfSignature(const std::string& path);

}  // namespace tomefuse
