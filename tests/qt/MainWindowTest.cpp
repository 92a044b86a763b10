#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "QtTestSupport.h"
#include "combine/DocumentOptions.h"
#include "platform/qt/DocumentPropertiesDialog.h"
#include "platform/qt/ElidingLabel.h"
#include "platform/qt/QtProgressSheet.h"
#include "platform/qt/preview/PreviewPane.h"

namespace tomefuse::test {
namespace {

QMenu* menuTitled(QMainWindow& window, const QString& title) {
    for (QAction* action : window.menuBar()->actions()) {
        if (action->menu() && action->text() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

TEST(MainWindow, ShowsTheTableWithItsColumnsMenusAndShortcuts) {
    WindowHarness harness;
    MainWindow& window = harness.window();
    EXPECT_EQ(window.windowTitle(), "Tomefuse");
    EXPECT_TRUE(window.centralWidget()->isAncestorOf(&harness.table()));
    EXPECT_EQ(harness.controller().tableView(), static_cast<TableView*>(&harness.table()));
    EXPECT_EQ(harness.controller().window(), static_cast<Window*>(&window));

    const struct {
        const char* identifier;
        const char* title;
    } columns[] = {{"filename", "Name"}, {"pagecount", "Pages"}, {"outlinecount", "Bookmarks"}, {"path", "Location"}};
    ASSERT_EQ(harness.model().columnCount(), 4);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(harness.model().headerData(c, Qt::Horizontal, PdfTableModel::IdentifierRole).toString(),
                  columns[c].identifier);
        EXPECT_EQ(harness.model().headerData(c, Qt::Horizontal).toString(), columns[c].title);
    }

    QMenu* file = menuTitled(window, "&File");
    QMenu* options = menuTitled(window, "&Options");
    QMenu* help = menuTitled(window, "&Help");
    ASSERT_TRUE(file);
    ASSERT_TRUE(options);
    ASSERT_TRUE(help);
    for (QAction* action : {window.addFilesAction(), window.removeAction(), window.saveAction(),
                            window.quickSaveAction(), window.stopSavingAction(), window.quitAction()}) {
        EXPECT_TRUE(file->actions().contains(action)) << action->text().toStdString();
    }
    ASSERT_EQ(help->actions().size(), 2);
    EXPECT_EQ(help->actions()[0], window.helpAction());
    EXPECT_EQ(help->actions()[0]->text(), "Tomefuse Help");
    EXPECT_EQ(help->actions()[1]->text(), "About Tomefuse");
    EXPECT_FALSE(window.stopSavingAction()->isEnabled()) << "no save runs";
    for (QAction* action : {window.insertTOCAction(), window.preserveTOCsAction(), window.openWhenSavedAction()}) {
        EXPECT_TRUE(options->actions().contains(action)) << action->text().toStdString();
        EXPECT_TRUE(action->isCheckable());
        EXPECT_TRUE(action->isChecked()) << "registered default YES";
    }

    EXPECT_EQ(window.addFilesAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(window.removeAction()->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_EQ(window.saveAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(window.quickSaveAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S))
        << "shown in the menu, so it is the quick save's own";
    EXPECT_EQ(window.helpAction()->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(window.quitAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(window.saveAction()->text(), "Save Combined PDF…");
}

TEST(MainWindow, CommandsFollowTheListAndTheSelection) {
    WindowHarness harness;
    MainWindow& window = harness.window();
    auto enabled = [&] {
        return std::vector<bool>{window.addFilesAction()->isEnabled(), window.removeAction()->isEnabled(),
                                 window.saveAction()->isEnabled(), window.quickSaveAction()->isEnabled(),
                                 window.helpAction()->isEnabled()};
    };
    //                     add   remove save   quick  help
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false, false, true}));
    EXPECT_EQ(window.statusLine()->text(), "0 files, 0 pages");

    harness.addPdfs({1});
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false, false, true}));
    EXPECT_EQ(window.statusLine()->text(), "1 file, 1 page");

    harness.addPdfs({4});
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, true, true, true}));
    EXPECT_EQ(window.statusLine()->text(), "2 files, 5 pages");

    harness.table().selectRowIndexes({1}, false);
    EXPECT_TRUE(window.removeAction()->isEnabled());
    harness.table().clearSelection();
    EXPECT_FALSE(window.removeAction()->isEnabled());

    harness.table().selectRowIndexes({0}, false);
    window.removeAction()->trigger();
    ASSERT_EQ(harness.controller().pdfsList().size(), 1u);
    EXPECT_EQ(harness.controller().pdfsList()[0].pagecount, 4u);
    // Row 0 is still in the list, so it stays selected.
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, false, false, true}));
    EXPECT_EQ(window.statusLine()->text(), "1 file, 4 pages");
}

TEST(MainWindow, AnEmptyListShowsAHintInTheTable) {
    WindowHarness harness;
    PdfTableView& table = harness.table();
    table.resize(500, 300);
    auto hintPixels = [&] {
        const QImage image = table.viewport()->grab().toImage();
        // Ink in the middle third, where no row of a short list reaches.
        const QColor background = table.palette().color(QPalette::Base);
        int count = 0;
        for (int y = image.height() / 3; y < 2 * image.height() / 3; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                count += image.pixelColor(x, y) != background;
            }
        }
        return count;
    };
    EXPECT_EQ(PdfTableView::emptyListHint(), "Drop PDF files here, or choose Add…");
    EXPECT_GT(hintPixels(), 0);
    harness.addPdfs({1});
    EXPECT_EQ(hintPixels(), 0);
}

TEST(MainWindow, OptionsReadAndWriteTheUserDefaults) {
    WindowHarness harness;
    MainWindow& window = harness.window();
    const std::pair<QAction*, const char*> options[] = {
        {window.insertTOCAction(), shouldInsertTOCForFilenamesKey},
        {window.preserveTOCsAction(), preserveExistingTOCsKey},
        {window.openWhenSavedAction(), shouldOpenPDFInDefaultApplicationKey},
    };
    for (const auto& [action, key] : options) {
        action->trigger();
        EXPECT_FALSE(action->isChecked());
        EXPECT_FALSE(harness.userDefaults.boolForKey(key)) << key;
        harness.userDefaults.setBool(key, true);
        window.syncOptions();
        EXPECT_TRUE(action->isChecked()) << key;
    }
}

// The combined document's own options, off until chosen; its properties in a dialog of the
// File menu, kept in the settings as typed (a list of keywords stays one text).
TEST(MainWindow, DocumentOptionsAndPropertiesAreKeptInTheUserDefaults) {
    WindowHarness harness;
    MainWindow& window = harness.window();
    QAction* contents = window.contentsPageAction();
    QMenu* depths = window.contentsDepthMenu();
    EXPECT_EQ(contents->text(), "Add a Contents Page");
    EXPECT_EQ(window.rightHandStartsAction()->text(), "Start Each File on a Right-Hand Page");
    EXPECT_TRUE(menuTitled(window, "&Options")->actions().contains(contents));
    EXPECT_TRUE(menuTitled(window, "&File")->actions().contains(window.documentPropertiesAction()));
    EXPECT_FALSE(contents->isChecked());
    EXPECT_FALSE(window.rightHandStartsAction()->isChecked());
    EXPECT_FALSE(depths->isEnabled()) << "no contents page, no depth to choose";
    EXPECT_FALSE(window.contentsLabelsAction()->isEnabled());

    contents->trigger();
    window.rightHandStartsAction()->trigger();
    EXPECT_TRUE(harness.userDefaults.boolForKey(shouldAddContentsPageKey));
    EXPECT_TRUE(harness.userDefaults.boolForKey(shouldStartFilesOnRightHandPagesKey));
    EXPECT_TRUE(depths->isEnabled());
    ASSERT_TRUE(window.contentsLabelsAction()->isEnabled());
    window.contentsLabelsAction()->trigger();
    EXPECT_TRUE(harness.userDefaults.boolForKey(shouldNumberContentsByPageLabelsKey));
    const std::pair<int, long long> choices[] = {{2, 2}, {3, -1}, {0, 0}};
    for (const auto& [index, stored] : choices) {
        depths->actions()[index]->trigger();
        EXPECT_EQ(harness.userDefaults.integerForKey(contentsBookmarkDepthKey), stored);
    }
    harness.userDefaults.setInteger(contentsBookmarkDepthKey, 1);
    window.syncOptions();
    EXPECT_TRUE(depths->actions()[1]->isChecked()) << depths->actions()[1]->text().toStdString();

    harness.userDefaults.setString(documentTitleKey, "Old title");
    for (const bool accept : {false, true}) {
        window.documentPropertiesAction()->trigger();
        auto* dialog = window.findChild<DocumentPropertiesDialog*>();
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->titleField()->text(), "Old title");
        dialog->titleField()->setText(QStringLiteral("  Руководство  "));
        dialog->keywordsField()->setText(QStringLiteral("pdf, manual"));
        QTest::keyClick(dialog, accept ? Qt::Key_Return : Qt::Key_Escape);
        QTest::qWait(0);
        EXPECT_EQ(harness.userDefaults.stringForKey(documentTitleKey), accept ? "Руководство" : "Old title");
    }
    QtUserDefaults reread(QString::fromStdString(harness.dir.file("settings.ini")));
    EXPECT_EQ(reread.stringForKey(documentKeywordsKey), "pdf, manual");
    EXPECT_EQ(reread.integerForKey(contentsBookmarkDepthKey), 1);
}

TEST(MainWindow, CtrlAltSQuickSavesIntoTheTemporaryFolderWithoutADialog) {
    WindowHarness harness;
    TempDir temporary;
    harness.addPdfs({3, 2});

    QtProgressSheet* sheet = harness.window().progressSheet();
    int barMoves = 0;
    QObject::connect(sheet->progressBar(), &QProgressBar::valueChanged, [&] { ++barMoves; });

    // Should Alt go unseen, the save dialog comes up: it is turned away rather than left to hang.
    auto dialog = whenModal<QFileDialog>([](QFileDialog* shown) { shown->reject(); });
    QApplication::setActiveWindow(&harness.window());
    {
        ScopedEnvironment tmpdir("TMPDIR", QByteArray::fromStdString(temporary.path()));
        QTest::keyClick(&harness.window(), Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    }

    EXPECT_FALSE(dialog->done());
    const std::string expected = temporary.file("a -TOMEFUSE.pdf");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(expected)).isFile());
    EXPECT_EQ(harness.workspace.opened, std::vector<std::string>{expected});
    EXPECT_FALSE(sheet->panel().isVisible()) << "the bar's progress ends before the file is opened";
    EXPECT_EQ(sheet->label()->text().toStdString(), "Saved “a -TOMEFUSE.pdf” in " + temporary.path());
    EXPECT_EQ(sheet->indicator().maxValue(), 5);
    EXPECT_EQ(sheet->indicator().doubleValue(), 4) << "the index of the last page written";
    EXPECT_GT(barMoves, 0);
}

// Closing during a save asks; stopping the save closes the window once the combine has
// stopped, and leaves nothing at the target.
TEST(MainWindow, RemembersItsSizeAndColumnsAndAsksBeforeStoppingASave) {
    TempDir dir;
    QSettings store(QString::fromStdString(dir.file("layout.ini")), QSettings::IniFormat);
    {
        HeldTaskRunner runner;
        WindowHarness harness(&runner);
        MainWindow& window = harness.window();
        window.restoreLayout(store);
        window.resize(700, 390);
        harness.table().setColumnWidth(PdfTableModel::NameColumn, 333);
        harness.table().setColumnWidth(PdfTableModel::PagesColumn, 144);
        harness.addPdfs({2, 3});
        harness.controller().writeCombinedPDF(dir.file("combined.pdf"));
        ASSERT_TRUE(runner.holding());
        EXPECT_FALSE(window.saveAction()->isEnabled()) << "one save at a time";

        for (const char* answer : {"Continue Saving", "Stop Saving and Close"}) {
            auto asked = whenModal<QMessageBox>([&](QMessageBox* box) {
                EXPECT_EQ(box->text(), "A combined PDF is being saved.");
                for (QAbstractButton* button : box->buttons()) {
                    if (button->text() == answer) {
                        button->click();
                    }
                }
            });
            EXPECT_FALSE(window.close());
            EXPECT_TRUE(asked->done());
            EXPECT_TRUE(window.isVisible()) << answer;
        }
        runner.finish();
        EXPECT_FALSE(window.isVisible()) << "closed once the combine stopped";
        EXPECT_EQ(harness.controller().lastCombineOutcome()->status, CombineOutcome::Status::cancelled);
        EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"layout.ini"});
    }
    WindowHarness later;
    later.window().hide();
    later.window().restoreLayout(store);
    later.window().show();
    EXPECT_EQ(later.window().size(), QSize(700, 390));
    EXPECT_EQ(later.table().columnWidth(PdfTableModel::NameColumn), 333);
    EXPECT_EQ(later.table().columnWidth(PdfTableModel::PagesColumn), 144);
}

TEST(MainWindow, LongNamesLeaveTheWindowNarrowEnoughForASmallScreen) {
    WindowHarness harness;
    MainWindow& window = harness.window();
    // A 1280-pixel screen at twice the scale.
    constexpr int smallScreen = 640;
    ASSERT_LE(window.minimumSizeHint().width(), smallScreen);
    // A long name titles the preview and is named by the saved message.
    const std::string name = "A very long name " + std::string(120, 'x');
    harness.controller().openFiles({writePdf(harness.dir, name + ".pdf", 1)});
    harness.table().selectRow(0);
    window.showSaved(
        "Saved “" + name + ".pdf” in ~/" + name, [] {}, [] {});
    QCoreApplication::processEvents();
    EXPECT_EQ(window.previewPane()->title().toStdString(), name);
    EXPECT_LE(window.minimumSizeHint().width(), smallScreen);
    window.resize(smallScreen - 40, 380);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.width(), smallScreen - 40);
    const auto* message = qobject_cast<ElidingLabel*>(window.progressSheet()->label());
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->shownText().contains("…")) << message->shownText().toStdString();
    EXPECT_TRUE(message->shownText().startsWith("Saved “A very"));
    EXPECT_TRUE(message->text().endsWith(QString::fromStdString(name)));
}

// On a small screen the save bar's message comes before the list's count beside it, which makes
// way while the bar shows and comes back when it goes.
TEST(MainWindow, TheCountMakesWayForTheSaveBarsMessageWhereTheLineIsShort) {
    WindowHarness harness;
    MainWindow& window = harness.window();
    harness.addPdfs({1200, 3400});
    const QString message = "Saved “a -TOMEFUSE.pdf” in ~/Documents";
    const auto* label = qobject_cast<ElidingLabel*>(window.progressSheet()->label());
    ASSERT_TRUE(label);
    const struct {
        int width;
        bool countShown;
    } cases[] = {{1100, true}, {600, false}, {1100, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        window.resize(c.width, 400);
        window.showSaved(
            message.toStdString(), [] {}, [] {});
        QTest::qWait(20);
        EXPECT_EQ(label->shownText().toStdString(), message.toStdString());
        EXPECT_EQ(window.statusLine()->width() > 0, c.countShown);
        EXPECT_EQ(window.statusLine()->text(), "2 files, 4,600 pages") << "shrunk, not changed";
        window.progressSheet()->dismissButton()->click();
        QTest::qWait(20);
        EXPECT_GE(window.statusLine()->width(), window.statusLine()->sizeHint().width()) << "whole without the bar";
    }
}

// A save that ends while the window asks whether to stop it leaves nothing to stop: the question
// goes by itself, the file is written and the window stays with the saved message.
TEST(MainWindow, TheQuestionWhetherToStopASaveGoesWhenTheSaveEnds) {
    TempDir dir;
    HeldTaskRunner runner;
    WindowHarness harness(&runner);
    harness.window().show();
    harness.addPdfs({2, 3});
    harness.controller().writeCombinedPDF(dir.file("combined.pdf"));
    ASSERT_TRUE(runner.holding());
    bool stillAsked = true;
    auto asked = whenModal<QMessageBox>([&](QMessageBox* box) {
        runner.finish();
        stillAsked = box->isVisible();
    });
    EXPECT_FALSE(harness.window().close());
    EXPECT_TRUE(asked->done());
    EXPECT_FALSE(stillAsked);
    EXPECT_TRUE(harness.window().isVisible());
    EXPECT_TRUE(QFileInfo(QString::fromStdString(dir.file("combined.pdf"))).isFile());
    EXPECT_TRUE(harness.window().progressSheet()->isShowingSaved());
}

TEST(MainWindow, AlertIsAWindowModalWarning) {
    WindowHarness harness;
    QString shown;
    auto done = whenModal<QMessageBox>([&](QMessageBox* box) {
        shown = box->text() + "|" + box->informativeText();
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->windowModality(), Qt::WindowModal);
        box->accept();
    });
    harness.window().showAlert("The combined PDF could not be saved.", "/nowhere/x.pdf: no such folder");
    EXPECT_TRUE(done->done());
    EXPECT_EQ(shown, "The combined PDF could not be saved.|/nowhere/x.pdf: no such folder");
}

}  // namespace
}  // namespace tomefuse::test
