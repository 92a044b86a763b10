#include <gtest/gtest.h>

#include "Fakes.h"
#include "support/Fixtures.h"

namespace tomefuse::test {
namespace {

TEST(Table, ColumnsShowTheirKeyAndOnlyNameAndPagesAreEditable) {
    TempDir dir;
    std::string path = makePdf(dir, "Report.2024.pdf", 3, {item("A", 0, 72, 700, {item("A1", 1)})});
    Harness h(dir.path());
    EXPECT_EQ(h.controller.numberOfRowsInTableView(), 0);
    h.add(path);
    EXPECT_EQ(h.controller.numberOfRowsInTableView(), 1);

    EXPECT_EQ(h.controller.objectValueForTableColumn("filename", 0), CellValue(std::string("Report.2024")));
    EXPECT_EQ(h.controller.objectValueForTableColumn("path", 0), CellValue(path));
    EXPECT_EQ(h.controller.objectValueForTableColumn("pagecount", 0), CellValue(uint64_t{3}));
    EXPECT_EQ(h.controller.objectValueForTableColumn("outlinecount", 0), CellValue(uint64_t{2}));
    EXPECT_TRUE(h.controller.shouldEditTableColumn("filename", 0));
    EXPECT_TRUE(h.controller.shouldEditTableColumn("pagecount", 0)) << "the pages taken";
    for (const char* other : {"", "Filename", "FILENAME", "path", "size"}) {
        SCOPED_TRACE(other);
        if (std::string(other) != "path") {
            EXPECT_EQ(h.controller.objectValueForTableColumn(other, 0), CellValue());
        }
        EXPECT_FALSE(h.controller.shouldEditTableColumn(other, 0));
        h.controller.setObjectValue("changed", other, 0);
    }
    EXPECT_EQ(h.controller.pdfsList()[0].filename, "Report.2024") << "only a filename edit renames";
    EXPECT_TRUE(h.system.logLines.empty());
}

TEST(Table, RowsOutsideTheListAreIgnored) {
    TempDir dir;
    Harness h(dir.path());
    h.add(makePdf(dir, "a.pdf", 1));
    int reloads = h.table.reloads;
    for (int64_t row : {int64_t{-1}, int64_t{1}, int64_t{1} << 40, INT64_MIN}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(h.controller.objectValueForTableColumn("filename", row), CellValue());
        EXPECT_FALSE(h.controller.shouldEditTableColumn("filename", row));
        EXPECT_FALSE(h.controller.acceptsObjectValue("x", "filename", row));
        EXPECT_FALSE(h.controller.fileAtRow(row));
        EXPECT_FALSE(h.controller.pagesTakenAtRow(row));
        h.controller.setObjectValue("x", "filename", row);
    }
    EXPECT_EQ(h.filenames(), std::vector<std::string>{"a"});
    EXPECT_EQ(h.table.reloads, reloads);
    EXPECT_TRUE(h.system.logLines.empty());
}

TEST(Table, RenamingLogsReplacesTheEntryAndKeepsOrderAndSelection) {
    TempDir dir;
    Harness h(dir.path());
    std::string same = makePdf(dir, "same.pdf", 2);
    h.add(makePdf(dir, "first.pdf", 1));
    h.add(same);
    h.add(same);
    h.table.selection = {0, 2};
    int reloads = h.table.reloads;

    h.controller.setObjectValue("Chapter One", "filename", 1);
    EXPECT_EQ(h.filenames(), (std::vector<std::string>{"first", "Chapter One", "same"}));
    EXPECT_EQ(h.controller.pdfsList()[1], (PdfEntry{same, "Chapter One", 2, 0}));
    EXPECT_NE(h.controller.pdfsList()[1], h.controller.pdfsList()[2]);
    EXPECT_EQ(h.table.selection, (IndexSet{0, 2}));
    EXPECT_EQ(h.table.reloads, reloads + 1);

    h.controller.setObjectValue("same", "filename", 1);
    EXPECT_EQ(h.controller.pdfsList()[1], h.controller.pdfsList()[2]) << "renamed back, equal again";

    // A blank name would leave a blank row and bookmark: refused, the old name stays.
    for (const char* blank : {"", "  \t "}) {
        h.controller.setObjectValue(blank, "filename", 0);
        EXPECT_EQ(h.controller.pdfsList()[0].filename, "first");
    }
    EXPECT_EQ(h.system.beeps, 2);
    EXPECT_EQ(h.system.logLines,
              (std::vector<std::string>{"PDF filename changed to: Chapter One", "PDF filename changed to: same"}));
}

// What the table's editors and the preview ask before and beside an edit: whether a value would
// be taken (exactly when setting it changes the entry), and each row's file in plain values.
TEST(Table, SaysWhetherAValueWouldBeTakenAndGivesEachRowsFile) {
    TempDir dir;
    Harness h(dir.path());
    const std::string path = makePdf(dir, "Ten.pdf", 10, {item("A", 0)});
    h.add(path);
    const struct {
        const char* value;
        const char* identifier;
        bool taken;
    } cases[] = {
        {"2-4, z", "pagecount", true}, {"9-7", "pagecount", true},   {"1-11", "pagecount", false},
        {"0", "pagecount", false},     {"3,,4", "pagecount", false}, {"all", "pagecount", true},
        {"Renamed", "filename", true}, {" \t", "filename", false},   {"", "filename", false},
        {"Other", "path", false},      {"5", "outlinecount", false}, {"x", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.identifier) + " = " + c.value);
        const PdfEntry before = h.controller.pdfsList()[0];
        EXPECT_EQ(h.controller.acceptsObjectValue(c.value, c.identifier, 0), c.taken);
        h.controller.setObjectValue(c.value, c.identifier, 0);
        EXPECT_EQ(h.controller.pdfsList()[0] != before, c.taken);
    }

    h.controller.choosePages(0, "3, 1-2");
    const std::optional<RowFile> file = h.controller.fileAtRow(0);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->path, path);
    EXPECT_EQ(file->filename, "Renamed");
    EXPECT_EQ(file->outlinecount, 1u);
    EXPECT_EQ(file->fileSize, h.controller.pdfsList()[0].fileSize);
    EXPECT_EQ(h.controller.pagesTakenAtRow(0), (std::vector<uint64_t>{2, 0, 1}));
    h.controller.choosePages(0, "all");
    EXPECT_EQ(h.controller.pagesTakenAtRow(0), std::nullopt) << "every page";
}

}  // namespace
}  // namespace tomefuse::test
