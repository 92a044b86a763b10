#include <algorithm>

#include "app/TomefuseAppDelegate.h"

namespace tomefuse {

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
