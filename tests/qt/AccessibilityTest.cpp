#include <gtest/gtest.h>

#include <QAccessible>
#include <QSplitter>
#include <QTest>
#include <QTreeView>
#include <functional>

#include "QtTestSupport.h"
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

}  // namespace
}  // namespace tomefuse::test
