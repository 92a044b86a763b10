#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "list/PageRotation.h"
#include "list/PageSelection.h"
#include "platform/desktop/TableDataSource.h"
#include "platform/pdf/PDFDocument.h"

namespace tomefuse {

// The second file of an entry made of two files whose pages alternate (a duplex scan's backs),
// and whether its pages are taken last page first.
struct EntryPartner {
    std::string path;  // absolute
    std::string password;
    uint64_t pagecount = 0;
    bool reversed = false;
    int64_t fileSize = -1;
    int64_t fileModified = 0;
    bool operator==(const EntryPartner& other) const {
        return path == other.path && password == other.password && pagecount == other.pagecount &&
               reversed == other.reversed;
    }
};

// One entry of the document list. Never changed in place: a rename makes a new entry.
struct PdfEntry {
    // The keys of its values, which the table's columns go by.
    static constexpr std::string_view pathKey = EntryKey::path;
    static constexpr std::string_view filenameKey = EntryKey::filename;
    static constexpr std::string_view pagecountKey = EntryKey::pagecount;
    static constexpr std::string_view outlinecountKey = EntryKey::outlinecount;
    static constexpr std::string_view pagesKey = EntryKey::pages;
    static constexpr std::string_view pagesTakenKey = EntryKey::pagesTaken;
    static constexpr std::string_view problemKey = EntryKey::problem;
    static constexpr std::string_view turnedKey = EntryKey::turned;
    static constexpr std::string_view partnerKey = EntryKey::partner;

    PdfEntry() = default;
    PdfEntry(std::string path, std::string filename, uint64_t pagecount, uint64_t outlinecount)
        : path(std::move(path)), filename(std::move(filename)), pagecount(pagecount), outlinecount(outlinecount) {}

    std::string path;      // absolute; the combine opens the file again from here
    std::string filename;  // display name
    uint64_t pagecount = 0;
    uint64_t outlinecount = 0;
    // What the entry takes beyond its four keys: the pages chosen, all by default, and the
    // password of a protected file, held in memory only.
    PageSelection pages;
    std::string password;
    // How its pages are turned, on top of their own rotation.
    PageRotation rotation;
    // With a partner, the entry's pages are both files' taken in turn: pagecount counts them all,
    // and pages and rotation count in them. Its bookmark is the first file's.
    std::optional<EntryPartner> partner;
    // Why the file cannot be read, in the user's words; empty when it can. And the file as it was
    // when read (size and modification time), to notice it change.
    std::string problem;
    PDFOpenFailure failure = PDFOpenFailure::none;  // what the problem is, when opening failed
    int64_t fileSize = -1;
    int64_t fileModified = 0;
    // Where either file is an image: the size its pages were made at when read.
    std::optional<ImagePageSize> imagePages;
    // The pages taken when they were last found to copy whole, since the file was read.
    std::optional<PageSelection> copiesWholeTaking;

    // The value under a key, compared exactly; none for any other key.
    CellValue valueForKey(std::string_view key) const;
    // The degrees each page is turned by, as the turned key tells it.
    std::string turnedText() const;
    // Whether the cell under the key is edited in place: the name, and the pages taken.
    static bool isEditable(std::string_view key) { return key == filenameKey || key == pagecountKey; }
    // Whether an edit of that cell would be taken as it stands: a name that is not blank (which
    // would make a blank row, an empty bookmark and a quick save named by its suffix alone), pages
    // that the file has.
    bool accepts(std::string_view key, std::string_view value) const;
    // The file as the table's row and the preview show it.
    RowFile rowFile() const;
    // The pages taken, as indexes in the entry's pages; none when all are.
    std::optional<std::vector<uint64_t>> pagesTaken() const;

    // Equal by what the user listed and chose; what was read of the file (counts aside) is not
    // part of it.
    bool operator==(const PdfEntry& other) const {
        return path == other.path && filename == other.filename && pagecount == other.pagecount &&
               outlinecount == other.outlinecount && pages == other.pages && password == other.password &&
               rotation == other.rotation && partner == other.partner;
    }
};

// The folder a path is in: "/a/b.pdf" gives "/a", "/b.pdf" gives "/", "b.pdf" gives "".
std::string directoryOfPath(const std::string& path);

// The file's last path component without its last extension: "a.b.pdf" gives "a.b".
std::string displayNameForPath(const std::string& path);

// Why a file does not open, in the words the list and the alerts use: "not a PDF", "damaged
// beyond repair", "needs a password", "no longer there", "permission denied"...
std::string describeOpenFailure(PDFOpenFailure failure);

// What the preview draws of the entry at a row: its file, or both files of an interleaved entry
// with the pages turned as the entry numbers them, and its images at the size they were read.
std::optional<RowFile> previewFileOf(const std::vector<PdfEntry>& entries, int64_t row);

}  // namespace tomefuse
