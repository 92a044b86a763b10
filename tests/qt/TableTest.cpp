#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <optional>

#include "QtTestSupport.h"
#include "platform/qt/PageSelectionDelegate.h"

namespace tomefuse::test {
namespace {

std::vector<std::string> names(const TomefuseAppDelegate& controller) {
    std::vector<std::string> result;
    for (const auto& entry : controller.pdfsList()) {
        result.push_back(entry.filename);
    }
    return result;
}

bool editing(PdfTableView& table) {
    const auto editors = table.findChildren<QLineEdit*>();
    return std::any_of(editors.begin(), editors.end(), [](QLineEdit* editor) { return editor->isVisible(); });
}

QPoint cellCenter(PdfTableView& table, int row, int column) {
    return table.visualRect(table.model()->index(row, column)).center();
}

TEST(TableModel, StaysConsistentWhileRowsAreAddedRenamedAndRemoved) {
    WindowHarness harness;
    PdfTableModel& model = harness.model();
    ModelTestWarnings warnings;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);

    harness.addPdfs({2, 3, 1});
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_TRUE(model.setData(model.index(1, PdfTableModel::NameColumn), "Renamed"));
    harness.table().selectRowIndexes({0, 2}, false);
    harness.window().removeAction()->trigger();
    harness.controller().openFiles({});
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(warnings.take(), std::vector<std::string>{});
}

TEST(TableModel, ShowsEachKeyInItsColumnAndLetsNamesAndPagesBeEdited) {
    WindowHarness harness;
    const auto paths = harness.addPdfs({7});
    PdfTableModel& model = harness.model();
    harness.controller().openFile(writePdf(harness.dir, "outlined.pdf", 2, 3));

    const struct {
        int column;
        QVariant value;
        bool numeric;
        bool editable;
    } cells[] = {
        {PdfTableModel::NameColumn, QString("a"), false, true},
        {PdfTableModel::PagesColumn, QVariant::fromValue<qulonglong>(7), true, true},
        {PdfTableModel::BookmarksColumn, QVariant::fromValue<qulonglong>(0), true, false},
        {PdfTableModel::LocationColumn, QString::fromStdString(harness.dir.path()), false, false},
    };
    for (const auto& cell : cells) {
        const QModelIndex index = model.index(0, cell.column);
        EXPECT_EQ(model.data(index), cell.value) << cell.column;
        if (cell.column != PdfTableModel::PagesColumn && cell.column != PdfTableModel::LocationColumn) {
            EXPECT_EQ(model.data(index, Qt::EditRole), cell.value) << cell.column;
        }
        const auto alignment = model.data(index, Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(bool(alignment & Qt::AlignRight), cell.numeric) << cell.column;
        EXPECT_EQ(bool(model.flags(index) & Qt::ItemIsEditable), cell.editable) << cell.column;
    }
    EXPECT_EQ(model.data(model.index(1, PdfTableModel::BookmarksColumn)), QVariant::fromValue<qulonglong>(3));

    // The pages cell edits the pages taken; what names no pages of the file is refused, saying
    // which part, and the pages stay as they were.
    const QModelIndex pages = model.index(0, PdfTableModel::PagesColumn);
    EXPECT_EQ(model.data(pages, Qt::EditRole), "all");
    ASSERT_TRUE(model.setData(pages, "2-1, z"));
    EXPECT_EQ(model.data(pages), "3 of 7");
    EXPECT_EQ(model.data(pages, Qt::EditRole), "2-1, z");
    QString refusal;
    auto refused = whenModal<QMessageBox>([&](QMessageBox* box) {
        refusal = box->informativeText();
        box->accept();
    });
    model.setData(pages, "1-3, 99");
    EXPECT_TRUE(refused->done());
    EXPECT_EQ(refusal, "“99”: the file has 7 pages");
    EXPECT_EQ(model.data(pages), "3 of 7");
    EXPECT_EQ(harness.controller().pdfsList()[0].pagecount, 7u);
    EXPECT_FALSE(model.setData(model.index(0, PdfTableModel::BookmarksColumn), 99));
}

TEST(TableView, RenamingKeepsTheSelection) {
    WindowHarness harness;
    harness.addPdfs({1, 1, 1, 1});
    PdfTableView& table = harness.table();
    table.setCurrentIndex(harness.model().index(2, 0));
    table.selectRowIndexes({0, 2}, false);

    ASSERT_TRUE(harness.model().setData(harness.model().index(2, PdfTableModel::NameColumn), "Third"));
    EXPECT_EQ(names(harness.controller()), (std::vector<std::string>{"a", "b", "Third", "d"}));
    EXPECT_EQ(table.selectedRowIndexes(), (IndexSet{0, 2}));
    EXPECT_EQ(table.selectedRow(), 2) << "the current row, being selected";
    EXPECT_TRUE(harness.window().removeAction()->isEnabled());

    // The same through the editor, as the user does it: F2, a name, Return.
    QApplication::setActiveWindow(&harness.window());
    table.setFocus();
    table.setCurrentIndex(harness.model().index(0, PdfTableModel::NameColumn));
    table.selectRowIndexes({0, 2}, false);
    QTest::keyClick(&table, Qt::Key_F2);
    auto* editor = table.findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "First");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return names(harness.controller())[0] == "First"; }));
    EXPECT_EQ(names(harness.controller()), (std::vector<std::string>{"First", "b", "Third", "d"}));
    EXPECT_EQ(table.selectedRowIndexes(), (IndexSet{0, 2}));
}

TEST(TableView, ReloadKeepsOnlyTheSelectedRowsStillInTheList) {
    WindowHarness harness;
    harness.addPdfs({1, 1, 1});
    PdfTableView& table = harness.table();
    table.selectRowIndexes({0, 2}, false);
    table.selectRowIndexes({1}, true);
    EXPECT_EQ(table.selectedRowIndexes(), (IndexSet{0, 1, 2}));
    table.selectRowIndexes({1}, false);
    EXPECT_EQ(table.selectedRowIndexes(), (IndexSet{1}));
    EXPECT_EQ(table.selectedRow(), 1);

    table.selectRowIndexes({0, 2}, false);
    harness.window().removeAction()->trigger();  // leaves one row: row 0 is still in the list
    EXPECT_EQ(harness.controller().pdfsList().size(), 1u);
    EXPECT_EQ(table.selectedRowIndexes(), (IndexSet{0}));
    table.clearSelection();
    EXPECT_EQ(table.selectedRow(), -1);
}

TEST(TableView, DoubleClickEditsNamesAndOtherwiseRunsTheDoubleAction) {
    WindowHarness harness;
    const auto paths = harness.addPdfs({1, 2});
    PdfTableView& table = harness.table();
    QWidget* viewport = table.viewport();

    // On a row: that row's file opens.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, cellCenter(table, 1, PdfTableModel::BookmarksColumn));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, cellCenter(table, 1, PdfTableModel::BookmarksColumn));
    EXPECT_EQ(harness.workspace.opened, std::vector<std::string>{paths[1]});
    EXPECT_FALSE(editing(table));

    // On a name, or on the pages taken: editing begins, nothing opens.
    for (int column : {PdfTableModel::NameColumn, PdfTableModel::PagesColumn}) {
        QTest::mouseClick(viewport, Qt::LeftButton, {}, cellCenter(table, 0, column));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, cellCenter(table, 0, column));
        EXPECT_TRUE(editing(table)) << column;
        EXPECT_EQ(harness.workspace.opened.size(), 1u);
        QTest::keyClick(table.findChild<QLineEdit*>(), Qt::Key_Escape);
    }

    // Return on a selected row does the same as a double click.
    QApplication::setActiveWindow(&harness.window());
    table.setFocus();
    table.selectRowIndexes({0}, false);
    QTest::keyClick(&table, Qt::Key_Return);
    EXPECT_EQ(harness.workspace.opened, (std::vector<std::string>{paths[1], paths[0]}));

    // On empty space: the selection goes and the add dialog comes.
    const QPoint below(10, viewport->height() - 5);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, below);
    EXPECT_EQ(table.selectedRow(), -1);
    auto shown = whenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, below);
    EXPECT_TRUE(shown->done());
    EXPECT_EQ(harness.controller().pdfsList().size(), 2u);
}

TEST(TableView, RowKeysGoBetweenRowsAndSelectAsInAFileManager) {
    WindowHarness harness;
    harness.addPdfs({1, 1, 1, 1, 1, 1});
    PdfTableView& table = harness.table();
    QApplication::setActiveWindow(&harness.window());
    table.setFocus();
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers alt = Qt::AltModifier;
    // Every case starts on the third row, reached by keys so that Shift extends from it. The six
    // rows fit on one page: Page Up and Page Down reach the ends.
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int current;
        IndexSet selected;
        std::string order;
    } cases[] = {
        {Qt::Key_End, {}, 5, {5}, "abcdef"},
        {Qt::Key_Home, {}, 0, {0}, "abcdef"},
        {Qt::Key_End, ctrl, 5, {5}, "abcdef"},
        {Qt::Key_Home, ctrl, 0, {0}, "abcdef"},
        {Qt::Key_PageDown, {}, 5, {5}, "abcdef"},
        {Qt::Key_PageUp, ctrl, 0, {0}, "abcdef"},
        {Qt::Key_End, shift, 5, {2, 3, 4, 5}, "abcdef"},
        {Qt::Key_Home, shift, 0, {0, 1, 2}, "abcdef"},
        {Qt::Key_End, ctrl | shift, 5, {2, 3, 4, 5}, "abcdef"},
        {Qt::Key_PageUp, shift, 0, {0, 1, 2}, "abcdef"},
        // Alt moves the selected row itself, which stays selected.
        {Qt::Key_End, alt, 5, {5}, "abdefc"},
        {Qt::Key_Home, alt, 0, {0}, "cabdef"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString());
        QTest::keyClick(&table, Qt::Key_Home);
        QTest::keyClick(&table, Qt::Key_Down);
        QTest::keyClick(&table, Qt::Key_Down);
        ASSERT_EQ(table.selectedRowIndexes(), IndexSet{2});
        QTest::keyClick(&table, c.key, c.modifiers);
        EXPECT_EQ(table.currentIndex().row(), c.current);
        EXPECT_EQ(table.currentIndex().column(), PdfTableModel::NameColumn) << "the names stay in sight";
        EXPECT_EQ(table.selectedRowIndexes(), c.selected);
        std::string order;
        for (const auto& entry : harness.controller().pdfsList()) {
            order += entry.filename;
        }
        EXPECT_EQ(order, c.order);
        if (order != "abcdef") {
            harness.controller().undo(nullptr);
        }
    }
    // The focus puts the cursor on the first row without selecting it; Home there selects it.
    for (Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(), ctrl}) {
        table.selectionModel()->clear();
        table.selectionModel()->setCurrentIndex(harness.model().index(0, 0), QItemSelectionModel::NoUpdate);
        QTest::keyClick(&table, Qt::Key_Home, modifiers);
        EXPECT_EQ(table.selectedRowIndexes(), IndexSet{0}) << modifiers.toInt();
    }
}

TEST(TableView, TheHeaderArrowShowsAClickedSortUntilTheRowsAreMovedByHand) {
    WindowHarness harness;
    harness.addPdfs({3, 1, 2});
    PdfTableView& table = harness.table();
    QHeaderView* header = table.horizontalHeader();
    QApplication::setActiveWindow(&harness.window());
    table.setFocus();
    auto clickHeader = [&](int column) {
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, {x, header->height() / 2});
    };
    auto arrow = [&]() -> std::optional<std::pair<int, Qt::SortOrder>> {
        if (!header->isSortIndicatorShown() || header->sortIndicatorSection() < 0) {
            return std::nullopt;
        }
        return std::pair{header->sortIndicatorSection(), header->sortIndicatorOrder()};
    };
    EXPECT_EQ(arrow(), std::nullopt);
    const struct {
        std::function<void()> step;
        std::vector<std::string> order;
        std::optional<std::pair<int, Qt::SortOrder>> arrow;
    } steps[] = {
        {[&] { clickHeader(PdfTableModel::PagesColumn); },
         {"b", "c", "a"},
         std::pair{int(PdfTableModel::PagesColumn), Qt::AscendingOrder}},
        {[&] { clickHeader(PdfTableModel::PagesColumn); },
         {"a", "c", "b"},
         std::pair{int(PdfTableModel::PagesColumn), Qt::DescendingOrder}},
        // The selected row, c, goes up by hand; the click on Name sorts it back; Undo takes that back.
        {[&] { QTest::keyClick(&table, Qt::Key_Up, Qt::AltModifier); }, {"c", "a", "b"}, std::nullopt},
        {[&] { clickHeader(PdfTableModel::NameColumn); },
         {"a", "b", "c"},
         std::pair{int(PdfTableModel::NameColumn), Qt::AscendingOrder}},
        {[&] { QTest::keyClick(&table, Qt::Key_Z, Qt::ControlModifier); }, {"c", "a", "b"}, std::nullopt},
    };
    table.selectRowIndexes({2}, false);
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(testing::Message() << "step " << i);
        steps[i].step();
        EXPECT_EQ(names(harness.controller()), steps[i].order);
        EXPECT_EQ(arrow(), steps[i].arrow);
    }
}

TEST(TableView, ColumnsFitTheirTitlesAndThePagesTaken) {
    WindowHarness harness;
    harness.addPdfs({113, 2});
    PdfTableView& table = harness.table();
    // The desktop's font grows larger than the one the widths were chosen for: the titles fit.
    QFont large = table.font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    table.setFont(large);
    QCoreApplication::processEvents();
    ASSERT_EQ(table.horizontalHeader()->font(), large);
    for (int column : {PdfTableModel::NameColumn, PdfTableModel::PagesColumn, PdfTableModel::BookmarksColumn}) {
        const QString title = harness.model().headerData(column, Qt::Horizontal).toString();
        EXPECT_GT(table.columnWidth(column), table.horizontalHeader()->fontMetrics().horizontalAdvance(title))
            << title.toStdString();
    }
    ASSERT_TRUE(harness.model().setData(harness.model().index(0, PdfTableModel::PagesColumn), "1-108"));
    const QModelIndex pages = harness.model().index(0, PdfTableModel::PagesColumn);
    EXPECT_EQ(pages.data(), "108 of 113");
    EXPECT_GT(table.columnWidth(PdfTableModel::PagesColumn), table.fontMetrics().horizontalAdvance("108 of 113"));

    // A column made narrower by hand shortens the count, in the table's font, to texts that read
    // as what they are; widening it again brings them back in turn.
    auto* delegate = qobject_cast<PageSelectionDelegate*>(table.itemDelegateForColumn(PdfTableModel::PagesColumn));
    ASSERT_TRUE(delegate);
    QStyleOptionViewItem option;
    option.initFrom(table.viewport());
    option.widget = &table;
    option.font = table.font();
    QStringList shown;
    for (int width = 8; width <= table.columnWidth(PdfTableModel::PagesColumn); ++width) {
        option.rect = QRect(0, 0, width, table.rowHeight(0));
        const QString text = delegate->shownText(option, pages);
        if (shown.isEmpty() || shown.back() != text) {
            shown << text;
        }
    }
    EXPECT_EQ(shown, (QStringList{"108…", "108/113", "108 of 113"}));
    option.rect = QRect(0, 0, 8, table.rowHeight(0));
    EXPECT_EQ(delegate->shownText(option, harness.model().index(1, PdfTableModel::PagesColumn)), "2");
}

}  // namespace
}  // namespace tomefuse::test
