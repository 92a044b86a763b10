#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolBar>

#include "QtTestSupport.h"
#include "list/NaturalOrder.h"
#include "platform/qt/QtNameComparison.h"

namespace tomefuse::test {
namespace {

using Delegate = TomefuseAppDelegate;

int sign(int value) { return (value > 0) - (value < 0); }

TEST(NaturalOrder, NamesSortAsFileManagersSortThem) {
    const struct {
        const char* a;
        const char* b;
        int order;
        bool localeOnly;  // accents need the locale's knowledge
    } cases[] = {
        {"file2", "file10", -1, false}, {"file10", "file9", 1, false},  {"Scan 007", "Scan 7", 0, false},
        {"x9y", "x10y", -1, false},     {"apple", "Banana", -1, false}, {"File2", "file10", -1, false},
        {"Report", "Report", 0, false}, {"", "a", -1, false},           {"étude", "fable", -1, true},
        {"Apfel", "Äpfel", -1, true},   {"Äpfel", "Birne", -1, true},
    };
    const NameComparison english = localeNameComparison(QLocale(QLocale::English, QLocale::UnitedStates));
    // The C locale has no order of its own; it must not fall back to comparing codes.
    const NameComparison plain = localeNameComparison(QLocale::c());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(sign(english(c.a, c.b)), c.order);
        EXPECT_EQ(sign(english(c.b, c.a)), -c.order);
        EXPECT_EQ(sign(plain(c.a, c.b)), c.order);
        if (!c.localeOnly) {
            EXPECT_EQ(sign(naturalCompare(c.a, c.b)), c.order) << "without a locale";
        }
    }
    EXPECT_EQ(sign(localeNameComparison(QLocale(QLocale::Swedish))("ö", "z")), 1) << "Swedish puts ö after z";
}

QStringList texts(const QList<QAction*>& actions) {
    QStringList result;
    for (QAction* action : actions) {
        result << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return result;
}

TEST(MainWindow, ArrangingByMenuKeyboardAndContextMenu) {
    WindowHarness harness;
    harness.addPdfs({1, 2, 3, 4});
    MainWindow& window = harness.window();
    PdfTableView& table = harness.table();
    auto names = [&] {
        std::string order;
        for (const auto& entry : harness.controller().pdfsList()) {
            order += entry.filename;
        }
        return order;
    };

    ASSERT_TRUE(window.editMenu());
    const QStringList pageCommands{"-",
                                   "Rotate Left",
                                   "Rotate Right",
                                   "Take Only These Pages",
                                   "Leave Out These Pages",
                                   "-",
                                   "Interleave With Next File",
                                   "Interleave With Next File Reversed"};
    EXPECT_EQ(texts(window.editMenu()->actions()),
              (QStringList{"Undo Add 4 Files", "Redo", "-", "Rename", "Choose Pages…", "Enter Password…", "-",
                           "Move Up", "Move Down", "Move to Top", "Move to Bottom", "-", "Sort by Name",
                           "Sort by Date Modified", "Sort by Pages", "Reverse Order"} +
               pageCommands));
    const std::pair<Delegate::Action, QKeySequence> shortcuts[] = {
        {&Delegate::undo, QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {&Delegate::redo, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
        {&Delegate::renameFile, QKeySequence(Qt::Key_F2)},
        {&Delegate::moveUp, QKeySequence(Qt::ALT | Qt::Key_Up)},
        {&Delegate::moveDown, QKeySequence(Qt::ALT | Qt::Key_Down)},
        {&Delegate::moveToTop, QKeySequence(Qt::ALT | Qt::Key_Home)},
        {&Delegate::moveToBottom, QKeySequence(Qt::ALT | Qt::Key_End)},
        {&Delegate::addFolder, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)},
    };
    for (const auto& [selector, keys] : shortcuts) {
        ASSERT_TRUE(window.commandAction(selector));
        EXPECT_EQ(window.commandAction(selector)->shortcut(), keys);
        EXPECT_FALSE(window.commandAction(selector)->toolTip().isEmpty()) << "a description for screen readers";
    }

    // The keys reach the commands through the window, and the menu names what Undo takes back.
    QApplication::setActiveWindow(&window);
    table.setFocus();
    table.selectRowIndexes({2}, false);
    QTest::keyClick(&table, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(names(), "acbd");
    EXPECT_EQ(table.selectedRowIndexes(), IndexSet{1});
    QTest::keyClick(&table, Qt::Key_End, Qt::AltModifier);
    EXPECT_EQ(names(), "abdc");
    EXPECT_EQ(window.commandAction(&Delegate::undo)->text(), "Undo Move File");
    QTest::keyClick(&table, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(names(), "acbd");
    EXPECT_EQ(window.commandAction(&Delegate::redo)->text(), "Redo Move File");
    table.selectRowIndexes({0, 3}, false);
    window.removeAction()->trigger();
    EXPECT_EQ(names(), "cb");
    EXPECT_EQ(window.commandAction(&Delegate::undo)->text(), "Undo Remove 2 Files");

    // A typed name is kept when a command comes while it is being typed.
    table.selectRowIndexes({1}, false);
    window.commandAction(&Delegate::renameFile)->trigger();
    ASSERT_TRUE(table.indexWidget(table.currentIndex())) << "the name editor is open";
    QTest::keyClicks(QApplication::focusWidget(), "Bee");
    window.commandAction(&Delegate::moveToTop)->trigger();
    EXPECT_EQ(names(), "Beec");
    EXPECT_FALSE(table.indexWidget(table.currentIndex()));

    // The context menu of a row and that of the space below the rows.
    const QPoint onRow(20, table.rowViewportPosition(0) + 2);
    EXPECT_EQ(texts(window.tableContextMenu(onRow)->actions()),
              (QStringList{"Open", "Rename", "Choose Pages…", "-", "Move Up", "Move Down", "Move to Top",
                           "Move to Bottom", "-", "Rotate Left", "Rotate Right", "Interleave With Next File",
                           "Interleave With Next File Reversed", "-", "Remove"}));
    EXPECT_EQ(texts(window.tableContextMenu({20, table.viewport()->height() - 4})->actions()),
              (QStringList{"Add…", "Add Folder…", "-", "Sort by Name", "Sort by Date Modified", "Sort by Pages",
                           "Reverse Order"}));

    // Tab goes from the list through the toolbar's buttons and the preview, and back.
    EXPECT_EQ(table.accessibleName(), "Files to combine");
    QWidget* focus = &table;
    QStringList chain;
    for (int i = 0; i < 8 && chain.value(chain.size() - 1) != "table"; ++i) {
        focus = focus->nextInFocusChain();
        while (!(focus->focusPolicy() & Qt::TabFocus) || !focus->isEnabled() || !focus->isVisible()) {
            focus = focus->nextInFocusChain();
        }
        chain << (focus == &table ? QStringLiteral("table") : focus->accessibleName());
    }
    EXPECT_EQ(chain.mid(0, 4), (QStringList{"Add…", "Add Folder…", "Remove", "Save Combined PDF…"}));
    EXPECT_EQ(chain.back(), "table");
    for (const QString& name : chain) {
        EXPECT_FALSE(name.isEmpty()) << "everything Tab reaches has a name";
    }
}

}  // namespace
}  // namespace tomefuse::test
