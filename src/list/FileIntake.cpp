#include "list/FileIntake.h"

#include <filesystem>
#include <set>

#include "list/FolderScan.h"
#include "list/NaturalOrder.h"

namespace tomefuse {

namespace {

// PDF files, images, and folders to look into.
const URLReadingOptions& fileDropFilter() {
    static const URLReadingOptions options{true, {kUTTypePDF, kUTTypeJPEG, kUTTypePNG, kUTTypeTIFF, kUTTypeFolder}};
    return options;
}

}  // namespace

FileIntake::FileIntake(const EntryReader& reader, const DesktopServices& services)
    : reader_(reader), services_(services), compareNames_(desktopOrNaturalOrder(services.compareNames)) {}

std::optional<std::vector<std::string>> FileIntake::runOpenPanel(bool folders) const {
    auto panel = services_.openPanel ? services_.openPanel() : nullptr;
    if (!panel) {
        services_.system.beep();
        return std::nullopt;
    }
    panel->setCanChooseDirectories(folders);
    panel->setAllowsMultipleSelection(!folders);
    panel->setAllowedFileTypes(folders ? std::vector<std::string>{}
                                       : std::vector<std::string>{"pdf", "jpg", "jpeg", "png", "tif", "tiff"});
    if (panel->runModal() != NSModalResponseOK) {
        return std::nullopt;
    }
    return panel->URLs();
}

std::optional<Intake> FileIntake::chooseFiles() const {
    auto paths = runOpenPanel(false);
    if (!paths) {
        return std::nullopt;
    }
    const EntryReader::Batch batch = reader_.batch();
    Intake intake;
    for (const auto& path : *paths) {
        intake.entries.push_back(*reader_.entryFor(path, true));
    }
    return intake;
}

void FileIntake::gatherFolder(const std::string& folder, std::vector<PdfEntry>& into, LeftOut& leftOut) const {
    const FolderContents contents = pdfFilesInFolder(folder, compareNames_);
    leftOut.notPdf += contents.otherFiles;
    for (const std::string& path : contents.pdfs) {
        PdfEntry entry = *reader_.entryFor(path, true);
        if (entry.problem.empty()) {
            into.push_back(std::move(entry));
        } else {
            leftOut.count(entry.failure == PDFOpenFailure::none ? PDFOpenFailure::damaged : entry.failure);
        }
    }
}

std::optional<Intake> FileIntake::chooseFolder() const {
    auto folders = runOpenPanel(true);
    if (!folders) {
        return std::nullopt;
    }
    const EntryReader::Batch batch = reader_.batch();
    Intake intake;
    LeftOut leftOut;
    for (const auto& folder : *folders) {
        gatherFolder(folder, intake.entries, leftOut);
    }
    if (intake.entries.empty() && !leftOut.any()) {
        leftOut.folders = 1;
    }
    if (leftOut.any()) {
        intake.leftOut = leftOutMessage(leftOut);
    }
    return intake;
}

Intake FileIntake::requested(const std::vector<std::string>& paths) const {
    const EntryReader::Batch batch = reader_.batch();
    Intake intake;
    for (const auto& path : paths) {
        if (auto entry = reader_.entryFor(path, false)) {
            intake.entries.push_back(std::move(*entry));
        }
    }
    return intake;
}

bool FileIntake::offersFiles(const Pasteboard& pasteboard) {
    return !pasteboard.readFileURLs(fileDropFilter()).empty();
}

// The files in the order given; folders give the PDFs inside. Whatever is left out is said, not
// passed over in silence.
Intake FileIntake::dropped(const Pasteboard& pasteboard) const {
    const std::vector<std::string> pdfs = pasteboard.readFileURLs(fileDropFilter());
    const std::set<std::string> accepted(pdfs.begin(), pdfs.end());
    const EntryReader::Batch batch = reader_.batch();
    Intake intake;
    LeftOut leftOut;
    for (const auto& path : pasteboard.readFileURLs(URLReadingOptions{true, {kUTTypeItem}})) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            const size_t before = intake.entries.size();
            LeftOut inFolder;
            gatherFolder(path, intake.entries, inFolder);
            // A folder without PDFs is one thing left out, however many files it holds.
            if (intake.entries.size() == before &&
                inFolder.needPassword + inFolder.damaged + inFolder.unreadable == 0) {
                ++leftOut.folders;
            } else {
                leftOut.add(inFolder);
            }
        } else if (!accepted.contains(path) && !isInputFile(path)) {
            ++leftOut.notPdf;
        } else if (PdfEntry entry = *reader_.entryFor(path, true); entry.problem.empty()) {
            intake.entries.push_back(std::move(entry));
        } else {
            leftOut.count(entry.failure == PDFOpenFailure::none ? PDFOpenFailure::damaged : entry.failure);
        }
    }
    if (leftOut.any()) {
        intake.leftOut = leftOutMessage(leftOut);
    }
    return intake;
}

}  // namespace tomefuse
