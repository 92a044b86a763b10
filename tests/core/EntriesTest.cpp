#include <gtest/gtest.h>

#include "Fakes.h"
#include "support/Fixtures.h"

namespace tomefuse::test {
namespace {

TEST(Entries, DisplayNameLosesOnlyTheLastExtension) {
    const std::pair<std::string, std::string> cases[] = {
        {"/docs/Annual Report.pdf", "Annual Report"},
        {"/docs/a.b.pdf", "a.b"},
        {"/docs/v1.2/notes", "notes"},
        {"/docs/.hidden", ".hidden"},
        {"/docs/Book.PDF", "Book"},
    };
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(displayNameForPath(path), name) << path;
    }
}

TEST(Entries, ValueForKeyIsExact) {
    PdfEntry entry{"/p/a.pdf", "a", 3, 5};
    EXPECT_EQ(entry.valueForKey("path"), CellValue(std::string("/p/a.pdf")));
    EXPECT_EQ(entry.valueForKey("filename"), CellValue(std::string("a")));
    EXPECT_EQ(entry.valueForKey("pagecount"), CellValue(uint64_t{3}));
    EXPECT_EQ(entry.valueForKey("outlinecount"), CellValue(uint64_t{5}));
    for (const char* other : {"", "Filename", "pageCount", "name"}) {
        EXPECT_EQ(entry.valueForKey(other), CellValue()) << other;
    }
}

TEST(Entries, EntryHoldsNamePagesAndOutlineCount) {
    TempDir dir;
    std::string none = makePdf(dir, "no.outline.pdf", 2);
    std::string emptyRoot = makePdf(dir, "empty-root.pdf", 1);
    touchOutlineRoot(emptyRoot);
    std::string five =
        makePdf(dir, "five.pdf", 4,
                {item("A", 0, 72, 700, {item("A1", 1), item("A2", 2)}), item("B", 3, 72, 700, {item("B1", 3)})});
    Harness h(dir.path());
    for (const auto& path : {none, emptyRoot, five, five}) {
        h.add(path);
    }
    const auto& list = h.controller.pdfsList();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], (PdfEntry{none, "no.outline", 2, 0}));
    EXPECT_EQ(list[1], (PdfEntry{emptyRoot, "empty-root", 1, 0}));
    EXPECT_EQ(list[2], (PdfEntry{five, "five", 4, 5}));
    EXPECT_EQ(list[2], list[3]) << "the same file twice gives equal entries";
}

TEST(Entries, UnreadableFileIsListedOnlyFromTheOpenDialog) {
    TempDir dir;
    std::string pdf = makePdf(dir, "good.pdf", 2);
    std::string text = dir.file("notes.pdf");
    writeTextFile(text, "not a PDF at all\n");
    Harness h(dir.path());

    h.openScript.urls = {text};
    h.controller.addToTable(nullptr);
    ASSERT_EQ(h.controller.pdfsList().size(), 1u);
    EXPECT_EQ(h.controller.pdfsList()[0], (PdfEntry{text, "notes", 0, 0}));
    EXPECT_EQ(h.table.reloads, 1);

    EXPECT_FALSE(h.controller.openFile(text));
    EXPECT_FALSE(h.controller.openFile(dir.file("missing.pdf")));
    EXPECT_EQ(h.controller.pdfsList().size(), 1u);
    EXPECT_EQ(h.table.reloads, 1) << "a refused open request leaves the table alone";

    h.controller.openFiles({text, pdf, dir.path(), pdf});
    EXPECT_EQ(h.filenames(), (std::vector<std::string>{"notes", "good", "good"}));
    EXPECT_EQ(h.table.reloads, 2);
    h.controller.openFiles({text});
    EXPECT_EQ(h.controller.pdfsList().size(), 3u);
    EXPECT_EQ(h.table.reloads, 3) << "reloaded also when nothing was added";
}

TEST(Commands, OpenDialogAppendsInItsOrderOrChangesNothingWhenCancelled) {
    TempDir dir;
    std::string a = makePdf(dir, "a.pdf", 1), b = makePdf(dir, "b.pdf", 1), c = makePdf(dir, "c.pdf", 1);
    Harness h(dir.path());
    h.add(a);
    int reloads = h.table.reloads;

    h.openScript.result = 0;
    h.openScript.urls = {b, c};
    h.controller.addToTable(nullptr);
    EXPECT_EQ(h.filenames(), std::vector<std::string>{"a"});
    EXPECT_EQ(h.table.reloads, reloads);

    h.openScript.result = NSModalResponseOK;
    h.openScript.urls = {c, a, b};
    h.controller.addToTable(nullptr);
    EXPECT_EQ(h.filenames(), (std::vector<std::string>{"a", "c", "a", "b"}));
    EXPECT_EQ(h.table.reloads, reloads + 1);
    EXPECT_EQ(h.openScript.canChooseDirectories, false);
    EXPECT_EQ(h.openScript.allowsMultipleSelection, true);
    EXPECT_EQ(h.openScript.allowedFileTypes, (std::vector<std::string>{"pdf", "jpg", "jpeg", "png", "tif", "tiff"}));
}

TEST(Commands, RemoveTakesExactlyTheSelectedRows) {
    TempDir dir;
    Harness h(dir.path());
    for (const char* name : {"p", "q", "r", "s", "t"}) {
        h.add(makePdf(dir, std::string(name) + ".pdf", 1));
    }
    h.controller.removeFromTable(nullptr);
    EXPECT_EQ(h.system.beeps, 1) << "nothing selected";
    EXPECT_EQ(h.controller.pdfsList().size(), 5u);

    int reloads = h.table.reloads;
    h.table.selection = {0, 2, 4};
    h.controller.removeFromTable(nullptr);
    EXPECT_EQ(h.filenames(), (std::vector<std::string>{"q", "s"}));
    EXPECT_EQ(h.table.reloads, reloads + 1);
    EXPECT_EQ(h.system.beeps, 1);
}

TEST(Commands, DoubleClickOpensTheRowOrTheDialog) {
    TempDir dir;
    Harness h(dir.path());
    std::string a = makePdf(dir, "a.pdf", 1), b = makePdf(dir, "b.pdf", 1);
    h.add(a);
    h.add(b);

    h.openScript.urls = {a};
    h.controller.tableViewDoubleClicked(nullptr);
    EXPECT_EQ(h.openScript.runs, 1);
    EXPECT_EQ(h.filenames(), (std::vector<std::string>{"a", "b", "a"}));

    h.table.selection = {1};
    h.controller.tableViewDoubleClicked(nullptr);
    EXPECT_EQ(h.workspace.opened, std::vector<std::string>{b});
    EXPECT_EQ(h.openScript.runs, 1);
    EXPECT_EQ(h.controller.pdfsList().size(), 3u);
}

}  // namespace
}  // namespace tomefuse::test
