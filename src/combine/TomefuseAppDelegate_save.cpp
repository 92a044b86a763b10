#include <algorithm>

#include "app/TomefuseAppDelegate.h"

namespace tomefuse {

namespace {

// Display names are the user's text: a separator in one must not lead out of the folder.
std::string fileNamePart(std::string name) {
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

// "Field Notes and Star Atlas.pdf", "Field Notes and 3 more.pdf".
std::string suggestedFileName(const std::vector<PdfEntry>& list) {
    const std::string first = list.front().filename.empty() ? "Combined" : fileNamePart(list.front().filename);
    if (list.size() == 2 && !list[1].filename.empty()) {
        return first + " and " + fileNamePart(list[1].filename) + ".pdf";
    }
    return first + " and " + std::to_string(list.size() - 1) + " more.pdf";
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

void TomefuseAppDelegate::saveToDisk(Sender*) {
    if (pdfsList_.size() < 2) {
        services_.system.beep();
        return;
    }
    if (services_.system.currentEventModifierFlags() & NSEventModifierFlagOption) {
        saveToTemporaryFile(nullptr);
        return;
    }
    auto panel = services_.savePanel ? services_.savePanel() : nullptr;
    if (!panel) {
        services_.system.beep();
        return;
    }
    panel->setTitle("Save Combined PDF");
    panel->setAllowedFileTypes({"pdf"});
    panel->setExtensionHidden(false);
    panel->setCanSelectHiddenExtension(true);
    panel->setDirectoryURL(folderOf(pdfsList_.front().path));
    panel->setNameFieldStringValue(suggestedFileName(pdfsList_));
    if (panel->runModal() == NSModalResponseOK) {
        writeCombinedPDF(panel->URL());
    }
}

void TomefuseAppDelegate::saveToTemporaryFile(Sender*) {
    if (pdfsList_.empty()) {
        services_.system.beep();
        return;
    }
    // The display name is the user's text: a separator in it must not lead out of the folder,
    // a line break would split the path wherever it is printed, and a leading dot would hide
    // the file.
    std::string name = pdfsList_.front().filename;
    std::replace(name.begin(), name.end(), '/', '-');
    std::replace_if(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }, ' ');
    name.erase(0, name.find_first_not_of(". "));
    std::string path = services_.system.temporaryDirectory() + "/" + name + quickSaveSuffix;
    services_.system.log("write to filepath [" + path + "]");
    writeCombinedPDF(path);
}

}  // namespace tomefuse
