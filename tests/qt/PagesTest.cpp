// The window's page commands on real widgets: Rotate Left and Right on rows and on thumbnails
// chosen in the preview, pages taken or left out by thumbnail, two rows interleaved and previewed
// as one, images taken in like PDFs with thumbnails of their own, at their own size or fitted to a
// sheet, and lists kept in files and opened again.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QStandardItemModel>
#include <QTest>
#include <cmath>
#include <filesystem>

#include "QtTestSupport.h"
#include "list/FolderScan.h"
#include "list/NaturalOrder.h"
#include "platform/qt/preview/PageGrid.h"
#include "platform/qt/preview/PreviewPane.h"
#include "support/PdfBuilder.h"

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

// A file whose pages are all 1000 points tall and as wide as given, so that each page's thumbnail
// tells which page it is, with one bookmark.
std::string writePagesOfWidths(const TempDir& dir, const std::string& name, std::initializer_list<double> widths,
                               const OutlineSpec& bookmark) {
    PdfBuilder builder;
    builder.setOutline({bookmark});
    for (double width : widths) {
        PageSpec page;
        page.width = width;
        page.height = 1000;
        builder.addPage(page);
    }
    const std::string path = dir.file(name);
    builder.write(path);
    return path;
}

// The widths of the preview's pages, in tenths of their height, once all are drawn.
std::vector<int> shownWidths(PreviewPane& pane) {
    std::vector<int> widths;
    const bool drawn = QTest::qWaitFor(
        [&] {
            widths.clear();
            for (int page = 0; page < pane.pages()->rowCount(); ++page) {
                const auto pixmap = pane.pages()->index(page).data(Qt::DecorationRole).value<QPixmap>();
                if (pixmap.isNull()) {
                    return false;
                }
                widths.push_back(qRound(10.0 * pixmap.width() / pixmap.height()));
            }
            return true;
        },
        10000);
    EXPECT_TRUE(drawn);
    return widths;
}

std::vector<int> combinedWidths(const std::string& path) {
    std::vector<int> widths;
    const auto combined = PDFDocument::initWithURL(path);
    for (uint64_t page = 0; combined && page < combined->pageCount(); ++page) {
        widths.push_back(static_cast<int>(combined->pageAtIndex(page).boundsForBox(PDFDisplayBox::mediaBox).width));
    }
    return widths;
}

// The preview of an entry of two files shows its pages in the entry's order, and pages chosen
// there count in that order, as the Pages cell and the combine do.
TEST(Pages, AnInterleavedEntryIsPreviewedAndChosenInItsOwnPages) {
    struct Case {
        bool reversed;
        std::vector<int> shown;  // the pages' widths, in hundreds of points
        int backBookmark;        // the place of the backs' bookmark, to their first page
        std::vector<int> combined;
    };
    for (const Case& c : {Case{false, {1, 3, 2, 4, 5}, 1, {300, 400}}, Case{true, {1, 5, 2, 4, 3}, 4, {500, 400}}}) {
        SCOPED_TRACE(c.reversed ? "reversed" : "in order");
        WindowHarness harness;
        MainWindow& window = harness.window();
        const std::string fronts =
            writePagesOfWidths(harness.dir, "fronts.pdf", {100, 200}, {"Front two", 1, 0, 0, {}, {}});
        const std::string backs =
            writePagesOfWidths(harness.dir, "backs.pdf", {300, 400, 500}, {"Back one", 0, 0, 0, {}, {}});
        harness.controller().openFiles({fronts, backs, writePdf(harness.dir, "other.pdf", 1)});
        harness.table().selectRowIndexes({0}, false);
        window.commandAction(c.reversed ? &Delegate::interleaveWithNextReversed : &Delegate::interleaveWithNext)
            ->trigger();
        harness.table().selectRowIndexes({0}, false);
        PageGridView& grid = focusedPages(harness);
        ASSERT_EQ(harness.window().previewPane()->pages()->rowCount(), 5);
        EXPECT_EQ(shownWidths(*harness.window().previewPane()), c.shown);
        // Both files' bookmarks, at their pages' places among the other's, as the combine writes them.
        const QStandardItemModel& bookmarks = *harness.window().previewPane()->bookmarkModel();
        ASSERT_TRUE(QTest::qWaitFor([&] { return bookmarks.rowCount() == 2; }, 10000));
        EXPECT_EQ(bookmarks.index(0, 0).data().toString(), "Front two");
        EXPECT_EQ(bookmarks.index(0, 0).data(PreviewPane::PageRole).toInt(), 2);
        EXPECT_EQ(bookmarks.index(1, 0).data().toString(), "Back one");
        EXPECT_EQ(bookmarks.index(1, 0).data(PreviewPane::PageRole).toInt(), c.backBookmark);

        choose(grid, {1, 3});
        ASSERT_TRUE(window.takeOnlyPagesAction()->isEnabled()) << "an entry of two files is chosen from too";
        window.takeOnlyPagesAction()->trigger();
        EXPECT_EQ(harness.controller().pdfsList()[0].pages.text(), "2, 4");
        EXPECT_EQ(pagesCell(harness, 0), "2 of 5");
        EXPECT_FALSE(grid.model()->index(2, 0).data(PageGridModel::TakenRole).toBool());
        EXPECT_TRUE(grid.model()->index(3, 0).data(PageGridModel::TakenRole).toBool());
        choose(grid, {3});
        window.rotateRightAction()->trigger();
        ASSERT_EQ(harness.controller().pdfsList()[0].rotation.parts().size(), 1u);
        EXPECT_EQ(harness.controller().pdfsList()[0].rotation.parts()[0].pages.text(), "4");

        const std::string combined = harness.dir.file("combined.pdf");
        harness.controller().writeCombinedPDF(combined);
        EXPECT_EQ(combinedWidths(combined), (std::vector<int>{c.combined.front(), c.combined.back(), 612}));
    }
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

// Options > Image Pages makes the rows' images pages of their own size or of a sheet, and the
// preview and the combined file agree, whatever size the rows were read at first.
TEST(Pages, ImagePagesChosenInTheOptionsMenuReachThePreviewAndTheCombinedFile) {
    struct Case {
        int item;  // in the menu: own size, A4, Letter
        double width, height;
    };
    WindowHarness harness;
    MainWindow& window = harness.window();
    harness.controller().openFiles(writeImages(harness.dir));
    ASSERT_EQ(harness.model().rowCount(), 2);
    harness.table().selectRowIndexes({1}, false);
    PreviewPane& pane = *window.previewPane();
    for (const Case& c : {Case{1, 841.89, 595.276}, Case{2, 792, 612}, Case{0, 45, 30}}) {
        SCOPED_TRACE(c.item);
        const QList<QAction*> sizes = window.imagePagesMenu()->actions();
        ASSERT_EQ(sizes.size(), 3);
        sizes[c.item]->trigger();
        window.syncOptions();
        EXPECT_TRUE(sizes[c.item]->isChecked());
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return pane.state() == PreviewPane::State::Pages &&
                       std::abs(pane.pages()->index(0, 0).data(PageGridModel::AspectRole).toDouble() -
                                c.height / c.width) < 0.01;
            },
            10000))
            << "the preview draws the page the combine writes";

        const std::string combined = harness.dir.file("combined.pdf");
        harness.controller().writeCombinedPDF(combined);
        const auto result = PDFDocument::initWithURL(combined);
        ASSERT_TRUE(result);
        ASSERT_EQ(result->pageCount(), 2u);
        for (uint64_t page = 0; page < 2; ++page) {
            const PDFRect box = result->pageAtIndex(page).boundsForBox(PDFDisplayBox::mediaBox);
            EXPECT_NEAR(box.width, c.width, 0.01);
            EXPECT_NEAR(box.height, c.height, 0.01);
        }
    }
    // Kept in the list's file, and set again when it is opened.
    const QString job = QString::fromStdString(harness.dir.file("images.tomefuse"));
    window.imagePagesMenu()->actions()[1]->trigger();
    ASSERT_TRUE(window.saveList(job));
    window.imagePagesMenu()->actions()[0]->trigger();
    ASSERT_TRUE(window.openList(job));
    EXPECT_TRUE(window.imagePagesMenu()->actions()[1]->isChecked());
    EXPECT_EQ(harness.controller().pdfsList()[0].imagePages, ImagePageSize::a4);
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
