#include <gtest/gtest.h>

#include <QAccessible>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <functional>

#include "QtTestSupport.h"
#include "platform/qt/AccessibleRoles.h"
#include "platform/qt/preview/PageGrid.h"
#include "platform/qt/preview/PreviewPane.h"

namespace tomefuse::test {
namespace {

// Every object a screen reader can reach from an interface, the interface first.
void walk(QAccessibleInterface* iface, const std::function<void(QAccessibleInterface*)>& visit, int depth = 0) {
    if (!iface || !iface->isValid() || depth > 30) {
        return;
    }
    visit(iface);
    for (int i = 0; i < iface->childCount(); ++i) {
        walk(iface->child(i), visit, depth + 1);
    }
}

TEST(Accessibility, ScreenReadersKnowEveryObjectAndHearWhichPageEachThumbnailIs) {
    WindowHarness harness;
    harness.window().resize(1000, 500);
    harness.controller().openFiles({writePdf(harness.dir, "Manual.pdf", 120, 3)});
    ASSERT_TRUE(harness.model().setData(harness.model().index(0, PdfTableModel::PagesColumn), "1-2, 4-z"));
    harness.table().selectRow(0);
    PreviewPane& pane = *harness.window().previewPane();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane.state() == PreviewPane::State::Pages; }, 15000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane.bookmarks()->model()->rowCount() == 3; }, 15000));

    // The roles the desktop's bridge has no name for, which readers announce as "unknown".
    QStringList unknown;
    walk(QAccessible::queryAccessibleInterface(&harness.window()), [&](QAccessibleInterface* iface) {
        if (iface->role() == QAccessible::Grip || iface->role() == QAccessible::NoRole) {
            unknown << QString("%1 %2").arg(iface->role()).arg(iface->text(QAccessible::Name));
        }
    });
    EXPECT_EQ(unknown, QStringList());
    QAccessibleInterface* divider = QAccessible::queryAccessibleInterface(harness.window().splitter()->handle(1));
    ASSERT_TRUE(divider);
    EXPECT_EQ(divider->role(), QAccessible::Separator);
    EXPECT_FALSE(divider->text(QAccessible::Name).isEmpty());

    // Thumbnails say which page they are of how many, and which are left out.
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(pane.grid());
    ASSERT_TRUE(grid && grid->childCount() == 120);
    EXPECT_EQ(grid->child(0)->text(QAccessible::Name), "Page 1 of 120");
    EXPECT_EQ(grid->child(2)->text(QAccessible::Name), "Page 3 of 120, left out");

    // The bookmark tree's one column is named, though its header is not shown.
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(pane.bookmarks());
    ASSERT_TRUE(tree && tree->childCount() > 0);
    EXPECT_EQ(tree->child(0)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(tree->child(0)->text(QAccessible::Name), "Bookmarks");
}

bool offersToggle(QAccessibleInterface* cell) {
    QAccessibleActionInterface* actions = cell->actionInterface();
    return actions && actions->actionNames().contains(QAccessibleActionInterface::toggleAction());
}

TEST(Accessibility, PlainCellsOfTheListThumbnailsAndBookmarksOfferNoToggle) {
    WindowHarness harness;
    harness.window().resize(1000, 500);
    harness.controller().openFiles({writePdf(harness.dir, "Manual.pdf", 12, 3), writePdf(harness.dir, "Atlas.pdf", 2)});
    harness.table().selectRow(0);
    PreviewPane& pane = *harness.window().previewPane();
    // The thumbnails and the bookmarks come from workers of their own, in either order.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return pane.bookmarks()->model()->rowCount() == 3 && pane.grid()->model()->rowCount() == 12; }, 15000));

    const struct {
        const char* view;
        QAbstractItemView* widget;
        QAccessible::Role cellRole;
        int cells;
        bool sameObjectEachTime;  // Qt's tree makes a new cell at each asking
    } views[] = {
        {"file list", &harness.table(), QAccessible::Cell, 2 * PdfTableModel::ColumnCount, true},
        {"thumbnails", pane.grid(), QAccessible::ListItem, 12, true},
        {"bookmarks", pane.bookmarks(), QAccessible::TreeItem, 3, false},
    };
    for (const auto& each : views) {
        SCOPED_TRACE(each.view);
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(each.widget);
        ASSERT_TRUE(view && view->tableInterface());
        EXPECT_EQ(view->tableInterface()->rowCount(), each.widget->model()->rowCount());
        int cells = 0;
        for (int i = 0; i < view->childCount(); ++i) {
            QAccessibleInterface* child = view->child(i);
            ASSERT_TRUE(child && child->isValid());
            // Screen readers find a cell's place by asking its parent.
            EXPECT_EQ(child->parent(), view);
            EXPECT_EQ(view->indexOfChild(child), i);
            EXPECT_TRUE(!each.sameObjectEachTime || view->child(i) == child);
            if (child->role() != each.cellRole) {
                continue;
            }
            ++cells;
            EXPECT_FALSE(offersToggle(child)) << child->text(QAccessible::Name).toStdString();
            ASSERT_TRUE(child->tableCellInterface());
            EXPECT_EQ(child->tableCellInterface()->table(), view);
            QAccessibleInterface* cell = view->tableInterface()->cellAt(child->tableCellInterface()->rowIndex(),
                                                                        child->tableCellInterface()->columnIndex());
            EXPECT_TRUE(each.sameObjectEachTime
                            ? cell == child
                            : cell && cell->text(QAccessible::Name) == child->text(QAccessible::Name));
        }
        EXPECT_EQ(cells, each.cells);
    }
    // The selected row is what a reader hears as selected.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&harness.table());
    EXPECT_EQ(list->tableInterface()->selectedRows(), QList<int>{0});
    ASSERT_FALSE(list->tableInterface()->selectedCells().isEmpty());
    EXPECT_TRUE(list->tableInterface()->selectedCells().first()->state().selected);
}

TEST(Accessibility, ACheckableCellKeepsItsToggleAndCellsOfRowsThatWentAreNoLongerValid) {
    installAccessibleRoles();
    QStandardItemModel model(3, 1);
    for (int row = 0; row < 3; ++row) {
        auto* item = new QStandardItem(QString("row %1").arg(row));
        item->setCheckable(row == 1);
        model.setItem(row, item);
    }
    QTableView table;
    table.setModel(&model);
    table.show();
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&table);
    ASSERT_TRUE(view && view->tableInterface());
    QAccessibleInterface* plain = view->tableInterface()->cellAt(0, 0);
    QAccessibleInterface* checkable = view->tableInterface()->cellAt(1, 0);
    ASSERT_TRUE(plain && checkable);
    EXPECT_FALSE(offersToggle(plain));
    EXPECT_EQ(plain->actionInterface(), nullptr);
    ASSERT_TRUE(offersToggle(checkable));
    checkable->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(table.selectionModel()->isSelected(model.index(1, 0)));

    const QAccessible::Id gone = QAccessible::uniqueId(plain);
    // What the view tells its interface when a reader listens (here none does).
    model.removeRow(0);
    QAccessibleTableModelChangeEvent removed(&table, QAccessibleTableModelChangeEvent::RowsRemoved);
    removed.setFirstRow(0);
    removed.setLastRow(0);
    view->tableInterface()->modelChange(&removed);
    QAccessibleInterface* stale = QAccessible::accessibleInterface(gone);
    EXPECT_TRUE(!stale || (!stale->isValid() && stale->text(QAccessible::Name).isEmpty()));
    QAccessibleInterface* first = view->tableInterface()->cellAt(0, 0);
    ASSERT_TRUE(first && first->isValid());
    EXPECT_EQ(first->text(QAccessible::Name), "row 1");
    EXPECT_TRUE(offersToggle(first));
    EXPECT_EQ(view->tableInterface()->cellAt(1, 0)->text(QAccessible::Name), "row 2");
}

}  // namespace
}  // namespace tomefuse::test
