#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "list/EntryReader.h"
#include "list/FolderScan.h"
#include "list/PdfEntry.h"
#include "platform/desktop/DesktopServices.h"
#include "platform/desktop/Dragging.h"

namespace tomefuse {

// Files read for the list, and what was left out, in a line for the status line ("1 folder
// without PDFs was left out"); empty when nothing was.
struct Intake {
    std::vector<PdfEntry> entries;
    std::string leftOut;
};

// What the user hands the list, read into entries: files chosen in the open dialog (listed even
// when they cannot be read, saying why), a folder chosen (every PDF inside, found by content, in
// natural order), the desktop's open requests and files or folders dropped from elsewhere (a
// file that cannot be read is left out).
class FileIntake {
  public:
    FileIntake(const EntryReader& reader, const DesktopServices& services);

    // None when the dialog is cancelled, or when there is no dialog to show (which beeps).
    std::optional<Intake> chooseFiles() const;
    std::optional<Intake> chooseFolder() const;
    Intake requested(const std::vector<std::string>& paths) const;
    Intake dropped(const Pasteboard& pasteboard) const;
    // Whether a drag from elsewhere brings anything to list: PDFs, or folders to look in.
    static bool offersFiles(const Pasteboard& pasteboard);

  private:
    std::optional<std::vector<std::string>> runOpenPanel(bool folders) const;
    // Adds the entries of the PDFs in a folder, and counts what it leaves out.
    void gatherFolder(const std::string& folder, std::vector<PdfEntry>& into, LeftOut& leftOut) const;

    const EntryReader& reader_;
    const DesktopServices& services_;
    NameComparison compareNames_;
};

}  // namespace tomefuse
