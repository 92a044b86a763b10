#include <gtest/gtest.h>

#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "QtTestSupport.h"
#include "platform/qt/QtPasteboard.h"

namespace tomefuse::test {
namespace {

constexpr const char* rowsMimeType = "application/x-tomefuse-multiplepdfcontent";

std::unique_ptr<QMimeData> urlData(const std::vector<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(QList<QUrl>(urls.begin(), urls.end()));
    return data;
}

QUrl fileUrl(const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); }

// A point in the empty viewport below the rows.
QPoint belowTheRows(PdfTableView& table) { return {20, table.viewport()->height() - 4}; }

TEST(Pasteboard, FileReadingKeepsOnlyExistingPdfFiles) {
    TempDir dir;
    const std::string pdf = writePdf(dir, "real.pdf", 1);
    const std::string damaged = dir.file("damaged.pdf");
    writeTextFile(damaged, "%PDF-1.4\nnot really\n");
    const std::string text = dir.file("notes.txt");
    writeTextFile(text, "plain words\n");
    const std::string folder = dir.file("folder.pdf");
    QDir().mkdir(QString::fromStdString(folder));

    auto data = urlData({fileUrl(text), fileUrl(pdf), QUrl("https://example.org/remote.pdf"), fileUrl(folder),
                         fileUrl(dir.file("missing.pdf")), fileUrl(damaged)});
    QtPasteboard pasteboard(data.get(), nullptr);
    EXPECT_EQ(pasteboard.readFileURLs({true, {kUTTypePDF}}), (std::vector<std::string>{pdf, damaged}))
        << "PDF contents, as the MIME database sees them; the damaged file is turned away later, when it does not open";
    EXPECT_EQ(pasteboard.readFileURLs({true, {}}), (std::vector<std::string>{text, pdf, damaged}));
}

TEST(Pasteboard, RowsTravelUnderThePrivateTypeOnly) {
    WindowHarness harness;
    harness.addPdfs({1, 2, 3});
    harness.model().setData(harness.model().index(1, PdfTableModel::NameColumn), "Renamed \"b\"");

    QMimeData data;
    data.setText("left over");
    QtPasteboard pasteboard(nullptr, &data);
    EXPECT_TRUE(harness.controller().writeRowsWithIndexes({1, 2}, pasteboard));
    EXPECT_EQ(data.formats(), QStringList{rowsMimeType});
    const QString payload = QString::fromUtf8(data.data(rowsMimeType));
    EXPECT_TRUE(payload.contains("Renamed \\\"b\\\"")) << payload.toStdString();
    EXPECT_FALSE(payload.contains("\"a\"")) << payload.toStdString();
    EXPECT_TRUE(payload.endsWith("\"pagecount\":3,\"outlinecount\":0}]")) << payload.toStdString();
    EXPECT_FALSE(pasteboard.setPropertyList({}, "SomethingUndeclared"));
}

TEST(TableDrop, DropPositionsMapToGapsAndRows) {
    WindowHarness harness;
    harness.addPdfs({1, 1, 1});
    PdfTableView& table = harness.table();
    const int top = table.rowViewportPosition(1);
    const int height = table.rowHeight(1);
    const struct {
        QPoint at;
        int64_t row;
        NSTableViewDropOperation operation;
    } cases[] = {
        {{20, top + 1}, 1, NSTableViewDropAbove},
        {{20, top + height / 2 - 1}, 1, NSTableViewDropAbove},
        {{20, top + height / 2 + 1}, 2, NSTableViewDropAbove},
        {{20, top + height - 2}, 2, NSTableViewDropAbove},
        {{20, table.rowViewportPosition(0)}, 0, NSTableViewDropAbove},
        {belowTheRows(table), 3, NSTableViewDropAbove},
    };
    for (const auto& c : cases) {
        const auto target = table.dropTargetAt(c.at);
        EXPECT_EQ(target.row, c.row) << c.at.y();
        EXPECT_EQ(target.operation, c.operation) << c.at.y();
    }
}

TEST(TableDrop, FilesDroppedFromOutsideLandAtTheDropLine) {
    WindowHarness harness;
    harness.addPdfs({1, 1});
    PdfTableView& table = harness.table();
    EXPECT_EQ(table.registeredMimeTypes(), (QStringList{"text/uri-list", rowsMimeType}));

    const std::string second = writePdf(harness.dir, "second.pdf", 4);
    const std::string text = harness.dir.file("notes.txt");
    writeTextFile(text, "words");
    auto data = urlData({fileUrl(text), fileUrl(second)});
    // The lower half of the first row: below it.
    const QPoint at(20, table.rowViewportPosition(0) + table.rowHeight(0) * 3 / 4);

    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(table.viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction) << "files are copied in, never moved";

    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(table.viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    // Added once the drag is over, from what it carried: a password may have to be asked for.
    data.reset();
    EXPECT_EQ(harness.controller().pdfsList().size(), 2u);
    QTest::qWait(0);
    ASSERT_EQ(harness.controller().pdfsList().size(), 3u);
    EXPECT_EQ(harness.controller().pdfsList()[1].path, second);
    EXPECT_EQ(harness.window().noticeLine()->text(), "1 file that is not a PDF was left out");
}

TEST(TableDrop, RefusedDropsChangeNothing) {
    WindowHarness harness;
    const auto paths = harness.addPdfs({1, 1});
    PdfTableView& table = harness.table();
    const std::string pdf = writePdf(harness.dir, "more.pdf", 1);

    auto files = urlData({fileUrl(pdf)});
    const std::string notes = harness.dir.file("notes.txt");
    writeTextFile(notes, "words");
    auto text = urlData({fileUrl(notes)});
    QMimeData plain;
    plain.setText(QString::fromStdString(pdf));

    const struct {
        const char* what;
        const QMimeData* data;
        QPoint at;
        Qt::DropActions possible;
    } cases[] = {
        {"no PDF among the files", text.get(), belowTheRows(table), Qt::CopyAction},
        {"a type the table does not take", &plain, belowTheRows(table), Qt::CopyAction},
        {"a source that only lets go of its files", files.get(), belowTheRows(table), Qt::MoveAction},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(table.validateDrop(c.data, c.at, nullptr, c.possible), Qt::IgnoreAction) << c.what;
        EXPECT_EQ(table.performDrop(c.data, c.at, nullptr, c.possible), Qt::IgnoreAction) << c.what;
        EXPECT_EQ(harness.controller().pdfsList().size(), 2u) << c.what;
    }
}

TEST(TableDrop, RowsDraggedWithinTheTableMoveTheSelection) {
    WindowHarness harness;
    harness.addPdfs({1, 1, 1, 1});
    PdfTableView& table = harness.table();
    QMimeData rows;
    rows.setData(rowsMimeType, "[]");
    const QPoint aboveFirst(20, table.rowViewportPosition(0) + 1);

    // From elsewhere the same data is no file drop at all.
    table.selectRowIndexes({1}, false);
    EXPECT_EQ(table.performDrop(&rows, aboveFirst, nullptr, Qt::MoveAction), Qt::IgnoreAction);

    EXPECT_EQ(table.validateDrop(&rows, aboveFirst, &table, Qt::MoveAction), Qt::MoveAction);
    EXPECT_EQ(table.performDrop(&rows, aboveFirst, &table, Qt::MoveAction), Qt::MoveAction);
    std::vector<std::string> order;
    for (const auto& entry : harness.controller().pdfsList()) {
        order.push_back(entry.filename);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"b", "a", "c", "d"}));
    EXPECT_EQ(table.selectedRowIndexes(), (IndexSet{0}));
}

}  // namespace
}  // namespace tomefuse::test
