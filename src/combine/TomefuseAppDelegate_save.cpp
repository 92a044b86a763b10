#include <sys/stat.h>

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

}  // namespace

// The list as the files are now; files that cannot be read are named, and the user says whether
// to combine the others without them.
bool TomefuseAppDelegate::readyToSave() {
    refreshEntries();
    std::vector<const PdfEntry*> unreadable;
    for (const PdfEntry& entry : list_.entries()) {
        if (!entry.problem.empty()) {
            unreadable.push_back(&entry);
        }
    }
    if (unreadable.empty()) {
        return true;
    }
    if (!leavesOutUnreadableFiles_) {
        // Where nothing may be left out, nothing is written.
        const PdfEntry& first = *unreadable.front();
        lastCombineOutcome_ =
            CombineOutcome{CombineOutcome::Status::unreadable, first.path + ": " + first.problem, {}, {}};
        services_.system.beep();
        if (window_) {
            window_->showAlert("The combined PDF was not saved.",
                               "A file cannot be read: " + lastCombineOutcome_->error);
        }
        return false;
    }
    if (unreadable.size() == list_.entries().size()) {
        services_.system.beep();
        if (window_) {
            window_->showAlert("None of the files can be read.", "Nothing is combined.");
        }
        return false;
    }
    std::string names;
    for (const PdfEntry* entry : unreadable) {
        names += entry->path + ": " + entry->problem + "\n";
    }
    const std::string message = unreadable.size() == 1
                                    ? "1 file cannot be read and will be left out."
                                    : std::to_string(unreadable.size()) + " files cannot be read and will be left out.";
    return !window_ || window_->askToProceed(message, names + "Combine the others?", "Combine the Others");
}

std::string TomefuseAppDelegate::refusalToReplace(const std::string& path) const {
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0) {
        return {};
    }
    for (const PdfEntry& entry : list_.entries()) {
        struct stat listed {};
        if (::stat(entry.path.c_str(), &listed) == 0 && listed.st_dev == target.st_dev &&
            listed.st_ino == target.st_ino) {
            return "“" + entry.filename + "” is one of the files to combine. Choose another name.";
        }
    }
    return {};
}

void TomefuseAppDelegate::saveToDisk(Sender*) {
    if (list_.entries().size() < 2) {
        services_.system.beep();
        return;
    }
    if (!readyToSave()) {
        return;
    }
    if (services_.system.currentEventModifierFlags() & NSEventModifierFlagOption) {
        quickSave();
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
    panel->setDirectoryURL(directoryOfPath(list_.entries().front().path));
    panel->setNameFieldStringValue(suggestedFileName(list_.entries()));
    panel->setRefusal([this](const std::string& path) { return refusalToReplace(path); });
    if (panel->runModal() == NSModalResponseOK) {
        writeCombinedPDF(panel->URL());
    }
}

void TomefuseAppDelegate::saveToTemporaryFile(Sender*) {
    if (list_.entries().empty()) {
        services_.system.beep();
        return;
    }
    if (readyToSave()) {
        quickSave();
    }
}

void TomefuseAppDelegate::quickSave() {
    // The display name is the user's text: a separator in it must not lead out of the folder,
    // a line break would split the path wherever it is printed, and a leading dot would hide
    // the file.
    std::string name = fileNamePart(list_.entries().front().filename);
    std::replace_if(
        name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }, ' ');
    name.erase(0, name.find_first_not_of(". "));
    std::string path = services_.system.temporaryDirectory() + "/" + name + quickSaveSuffix;
    services_.system.log("write to filepath [" + path + "]");
    writeCombinedPDF(path);
}

}  // namespace tomefuse
