// The window's page commands on real widgets: Rotate Left and Right on rows and on thumbnails
// chosen in the preview, pages taken or left out by thumbnail, two rows interleaved, images
// taken in like PDFs with thumbnails of their own, and lists kept in files and opened again.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <filesystem>

#include "QtTestSupport.h"
#include "list/FolderScan.h"
#include "list/NaturalOrder.h"
#include "platform/qt/preview/PageGrid.h"
#include "platform/qt/preview/PreviewPane.h"

namespace tomefuse::test {
namespace {

using Delegate = TomefuseAppDelegate;

QString pagesCell(WindowHarness& harness, int row) {
    return harness.model().index(row, PdfTableModel::PagesColumn).data().toString();
}

// Waits for the preview to show the selected row's pages, and gives them the focus.
PageGridView& focusedPages(WindowHarness& harness) {
    PreviewPane& pane = *harness.window().previewPane();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane.state() == PreviewPane::State::Pages; }, 10000));
    harness.window().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&harness.window()));
    pane.grid()->setFocus(Qt::OtherFocusReason);
    return *pane.grid();
}

void choose(PageGridView& grid, std::initializer_list<int> pages) {
    grid.selectionModel()->clearSelection();
    for (int page : pages) {
        grid.selectionModel()->select(grid.model()->index(page, 0), QItemSelectionModel::Select);
    }
}

TEST(Pages, RotateTurnsRowsOrThePagesChosenInThePreviewAndTheListShowsIt) {
    WindowHarness harness;
    MainWindow& window = harness.window();
    harness.addPdfs({3, 4});
    harness.table().selectRowIndexes({0, 1}, false);
    ASSERT_TRUE(window.rotateRightAction()->isEnabled());
    EXPECT_EQ(window.rotateRightAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(window.rotateLeftAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    window.rotateRightAction()->trigger();
    EXPECT_EQ(pagesCell(harness, 0), "3, turned 90°");
    EXPECT_EQ(pagesCell(harness, 1), "4, turned 90°");
    EXPECT_EQ(window.commandAction(&Delegate::undo)->text(), "Undo Rotate Right");
    window.commandAction(&Delegate::undo)->trigger();
    EXPECT_EQ(harness.model().index(0, PdfTableModel::PagesColumn).data().toULongLong(), 3u) << "a number again";

    // With the preview's pages in focus, the pages chosen there turn, and only they.
    harness.table().selectRowIndexes({1}, false);
    PageGridView& grid = focusedPages(harness);
    const double upright = grid.model()->index(1, 0).data(PageGridModel::AspectRole).toDouble();
    choose(grid, {1, 2});
    ASSERT_TRUE(window.takeOnlyPagesAction()->isEnabled());
    window.rotateLeftAction()->trigger();
    const PdfEntry& entry = harness.controller().pdfsList()[1];
    EXPECT_EQ(entry.rotation.all(), 0);
    ASSERT_EQ(entry.rotation.parts().size(), 1u);
    EXPECT_EQ(entry.rotation.parts()[0].pages.text(), "2-3");
    EXPECT_EQ(entry.rotation.parts()[0].degrees, 270);
    EXPECT_EQ(pagesCell(harness, 1), "4, some turned");
    EXPECT_DOUBLE_EQ(grid.model()->index(1, 0).data(PageGridModel::AspectRole).toDouble(), 1 / upright);
    EXPECT_DOUBLE_EQ(grid.model()->index(0, 0).data(PageGridModel::AspectRole).toDouble(), upright);
    EXPECT_EQ(grid.selectedPages(), (std::vector<uint64_t>{1, 2})) << "the pages stay chosen";

    // Take Only and Leave Out write the row's pages, as the Pages cell would.
    window.takeOnlyPagesAction()->trigger();
    EXPECT_EQ(harness.controller().pdfsList()[1].pages.text(), "2-3");
    choose(grid, {0, 2});
    window.leaveOutPagesAction()->trigger();
    EXPECT_EQ(harness.controller().pdfsList()[1].pages.text(), "2");
    EXPECT_EQ(pagesCell(harness, 1), "1 of 4, some turned");
    EXPECT_EQ(window.pagesContextMenu()->actions().size(), 4);

    // The list's focus again: the commands work on rows, and pages are not chosen.
    harness.table().setFocus(Qt::OtherFocusReason);
    EXPECT_FALSE(window.takeOnlyPagesAction()->isEnabled());
}

TEST(Pages, InterleaveMakesOneRowOfBothFilesUndoably) {
    WindowHarness harness;
    MainWindow& window = harness.window();
    const auto paths = harness.addPdfs({2, 3, 1});
    harness.table().selectRowIndexes({0}, false);
    QAction* interleave = window.commandAction(&Delegate::interleaveWithNext);
    ASSERT_TRUE(interleave && interleave->isEnabled());
    interleave->trigger();
    ASSERT_EQ(harness.model().rowCount(), 2);
    EXPECT_EQ(harness.model().index(0, PdfTableModel::NameColumn).data().toString(), "a");
    EXPECT_EQ(harness.model().index(0, PdfTableModel::PagesColumn).data().toULongLong(), 5u);
    EXPECT_TRUE(harness.model()
                    .index(0, PdfTableModel::NameColumn)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains(QString::fromStdString(paths[1])));
    EXPECT_EQ(window.statusLine()->text(), "2 files, 6 pages");
    EXPECT_FALSE(interleave->isEnabled()) << "made of two already";
    window.commandAction(&Delegate::undo)->trigger();
    EXPECT_EQ(harness.model().rowCount(), 3);
}

// A PNG and a JPEG written by Qt; the JPEG named as no image is, found by its content.
std::vector<std::string> writeImages(const TempDir& dir) {
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const std::string png = dir.file("scans/scan.png");
    const std::string jpeg = dir.file("scans/photo.data");
    std::filesystem::create_directories(dir.file("scans"));
    EXPECT_TRUE(image.save(QString::fromStdString(png), "PNG"));
    EXPECT_TRUE(image.save(QString::fromStdString(jpeg), "JPG"));
    QFile text(QString::fromStdString(dir.file("scans/notes.txt")));
    EXPECT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    return {jpeg, png};
}

TEST(Pages, ImagesComeInLikePdfsWithRowsThumbnailsAndPreviews) {
    WindowHarness harness;
    const std::vector<std::string> images = writeImages(harness.dir);
    const FolderContents folder = pdfFilesInFolder(harness.dir.file("scans"), desktopOrNaturalOrder(nullptr));
    EXPECT_EQ(folder.pdfs, images);
    EXPECT_EQ(folder.otherFiles, 1u);

    harness.controller().openFiles(images);
    ASSERT_EQ(harness.model().rowCount(), 2);
    EXPECT_EQ(harness.model().index(1, PdfTableModel::NameColumn).data().toString(), "scan");
    EXPECT_EQ(harness.model().index(1, PdfTableModel::PagesColumn).data().toULongLong(), 1u);
    harness.table().selectRowIndexes({1}, false);
    PreviewPane& pane = *harness.window().previewPane();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane.state() == PreviewPane::State::Pages; }, 10000))
        << pane.message().toStdString();
    EXPECT_EQ(pane.pages()->rowCount(), 1);
    // 60 by 40 pixels at 96 dpi: a page wider than tall.
    EXPECT_NEAR(pane.pages()->index(0, 0).data(PageGridModel::AspectRole).toDouble(), 40.0 / 60.0, 0.01);
}

TEST(Pages, AListSavedIsOpenedAgainFromOpenRecentAndAGoneOneSaysSo) {
    WindowHarness harness;
    MainWindow& window = harness.window();
    harness.addPdfs({2, 3});
    harness.table().selectRowIndexes({1}, false);
    window.rotateRightAction()->trigger();
    const std::vector<PdfEntry> listed = harness.controller().pdfsList();
    const QString job = QString::fromStdString(harness.dir.file("report.tomefuse"));
    ASSERT_TRUE(window.saveList(job));
    harness.table().selectRowIndexes({0, 1}, false);
    window.removeAction()->trigger();
    ASSERT_EQ(harness.model().rowCount(), 0);

    emit window.openRecentMenu()->aboutToShow();
    const QList<QAction*> recent = window.openRecentMenu()->actions();
    ASSERT_GE(recent.size(), 1);
    EXPECT_EQ(recent[0]->text(), "report");
    recent[0]->trigger();
    EXPECT_EQ(harness.controller().pdfsList(), listed);
    EXPECT_EQ(pagesCell(harness, 1), "3, turned 90°");

    // A list gone says so, keeps the list shown, and leaves Open Recent.
    std::filesystem::remove(job.toStdString());
    QString alert;
    auto watch = whenModal<QMessageBox>([&](QMessageBox* box) {
        alert = box->text() + "\n" + box->informativeText();
        box->accept();
    });
    EXPECT_FALSE(window.openList(job));
    EXPECT_TRUE(watch->done());
    EXPECT_EQ(alert, "The list “report” cannot be opened.\nno longer there");
    EXPECT_EQ(harness.model().rowCount(), 2);
    EXPECT_TRUE(window.recentLists().isEmpty());
}

}  // namespace
}  // namespace tomefuse::test
