#include "list/FileIntake.h"

#include <filesystem>
#include <set>

#include "list/FolderScan.h"
#include "list/NaturalOrder.h"

namespace tomefuse {

namespace {

// PDF files, and folders to look into.
const URLReadingOptions& fileDropFilter() {
    static const URLReadingOptions options{true, {kUTTypePDF, kUTTypeFolder}};
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
    panel->setAllowedFileTypes(folders ? std::vector<std::string>{} : std::vector<std::string>{"pdf"});
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
    Intake intake;
    for (const auto& path : *paths) {
        intake.entries.push_back(*reader_.entryFor(path, true));
    }
    return intake;
}

uint64_t FileIntake::gatherFolder(const std::string& folder, std::vector<PdfEntry>& into) const {
    const FolderContents contents = pdfFilesInFolder(folder, compareNames_);
    uint64_t leftOut = contents.otherFiles;
    for (const std::string& path : contents.pdfs) {
        if (auto entry = reader_.entryFor(path, false)) {
            into.push_back(std::move(*entry));
        } else {
            ++leftOut;
        }
    }
    return leftOut;
}

std::optional<Intake> FileIntake::chooseFolder() const {
    auto folders = runOpenPanel(true);
    if (!folders) {
        return std::nullopt;
    }
    Intake intake;
    uint64_t notPdf = 0;
    for (const auto& folder : *folders) {
        notPdf += gatherFolder(folder, intake.entries);
    }
    if (notPdf > 0) {
        intake.leftOut = notPdf == 1 ? "1 file was not a PDF" : std::to_string(notPdf) + " files were not PDFs";
    } else if (intake.entries.empty()) {
        intake.leftOut = leftOutMessage(1, 0);
    }
    return intake;
}

Intake FileIntake::requested(const std::vector<std::string>& paths) const {
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
    Intake intake;
    uint64_t foldersWithoutPdfs = 0;
    uint64_t filesNotPdf = 0;
    for (const auto& path : pasteboard.readFileURLs(URLReadingOptions{true, {kUTTypeItem}})) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            const size_t before = intake.entries.size();
            const uint64_t leftOut = gatherFolder(path, intake.entries);
            // A folder that gave nothing is one thing left out, however many files it holds.
            if (intake.entries.size() == before) {
                ++foldersWithoutPdfs;
            } else {
                filesNotPdf += leftOut;
            }
        } else if (auto entry = accepted.contains(path) ? reader_.entryFor(path, false) : std::nullopt) {
            intake.entries.push_back(std::move(*entry));
        } else {
            ++filesNotPdf;
        }
    }
    if (foldersWithoutPdfs + filesNotPdf > 0) {
        intake.leftOut = leftOutMessage(foldersWithoutPdfs, filesNotPdf);
    }
    return intake;
}

}  // namespace tomefuse
