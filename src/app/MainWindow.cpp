#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include "combine/DocumentOptions.h"
#include "platform/desktop/UserDefaults.h"
#include "platform/qt/AccessibleRoles.h"
#include "platform/qt/PdfTableModel.h"
#include "platform/qt/PdfTableView.h"
#include "platform/qt/QtProgressSheet.h"
#include "platform/qt/preview/ListPreview.h"
#include "platform/qt/preview/PreviewPane.h"

namespace tomefuse {

QIcon MainWindow::themeIcon(const QString& name) {
    // A desktop without an icon theme of its own (a bare window manager) still gets icons; themes
    // that keep only symbolic action icons (GNOME's) still give one.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor")) {
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    }
    QIcon icon = QIcon::fromTheme(name);
    return icon.isNull() ? QIcon::fromTheme(name + QStringLiteral("-symbolic")) : icon;
}

MainWindow::AccessibleRolesInstalled::AccessibleRolesInstalled() { installAccessibleRoles(); }

MainWindow::MainWindow(TomefuseAppDelegate& controller, UserDefaults& userDefaults, QWidget* parent)
    : QMainWindow(parent),
      controller_(controller),
      userDefaults_(userDefaults),
      model_(new PdfTableModel(controller, this)),
      table_(new PdfTableView(controller, *model_, this)),
      sheet_(new QtProgressSheet(this)),
      status_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Tomefuse"));
    buildPreview();
    statusBar()->addWidget(status_);
    // The window's frame resizes it; the corner grip would be one more object that screen readers
    // know no role for.
    statusBar()->setSizeGripEnabled(false);
    buildMenus();
    statusBar()->addPermanentWidget(sheet_);
    sheet_->setNeighbour(status_);

    controller_.setWindow(this);
    controller_.setTableView(table_);
    controller_.setSaveProgressPanel(&sheet_->panel());
    controller_.setSaveProgressBar(&sheet_->indicator());

    connect(model_, &QAbstractItemModel::modelReset, this, &MainWindow::updateCommands);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &MainWindow::updateCommands);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &MainWindow::updateCommands);
    connect(model_, &QAbstractItemModel::dataChanged, this, &MainWindow::updateCommands);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MainWindow::updateCommands);
    connect(sheet_, &QtProgressSheet::cancelRequested, this, [this] { controller_.cancelCombine(nullptr); });
    connect(sheet_, &QtProgressSheet::focusReleased, this, [this] { table_->setFocus(Qt::OtherFocusReason); });
    controller_.addKeyValueObserver([this](const std::string& key, bool prior) {
        if (key == isCombiningKey && !prior) {
            combiningChanged();
        }
    });

    resize(1060, 520);
    fitToScreen();
    updateCommands();
}

void MainWindow::fitToScreen() {
    // At a large scale the size chosen in pixels can be larger than the screen itself.
    const QScreen* at = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!at) {
        return;
    }
    const QSize available = at->availableGeometry().size() * 0.95;
    const QSize fitted = size().boundedTo(available).expandedTo(minimumSizeHint().boundedTo(available));
    if (fitted != size()) {
        resize(fitted);
    }
}

MainWindow::~MainWindow() {
    // Focus moves as the widgets go; this window no longer hears of it.
    QObject::disconnect(qApp, nullptr, this, nullptr);
    // The preview reads the table and its model to the end.
    delete std::exchange(preview_, nullptr);
    // An open editor commits while the window is taken down; the window is gone by then.
    model_->disconnect(this);
    table_->selectionModel()->disconnect(this);
    // The controller outlives the window in some hosts; it must not call into a dead one.
    if (controller_.window() == this) {
        controller_.setWindow(nullptr);
    }
    if (controller_.tableView() == table_) {
        controller_.setTableView(nullptr);
    }
    if (controller_.saveProgressPanel() == &sheet_->panel()) {
        controller_.setSaveProgressPanel(nullptr);
    }
    if (controller_.saveProgressBar() == &sheet_->indicator()) {
        controller_.setSaveProgressBar(nullptr);
    }
}

QAction* MainWindow::makeCommand(const QString& text, TomefuseAppDelegate::Action selector) {
    auto* action = new QAction(text, this);
    // A name being typed is part of the list the command works on.
    connect(action, &QAction::triggered, this, [controller = &controller_, table = table_, selector] {
        table->endEditing();
        (controller->*selector)(nullptr);
    });
    commands_.push_back({action, selector});
    return action;
}

QAction* MainWindow::makeOption(const QString& text, const char* key) {
    auto* action = new QAction(text, this);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, key](bool checked) { userDefaults_.setBool(key, checked); });
    options_.emplace_back(action, key);
    return action;
}

void MainWindow::buildMenus() {
    makeArrangingCommands();
    makeChoosingCommands();
    makePagesCommands();
    addFiles_ = makeCommand(tr("Add…"), &TomefuseAppDelegate::addToTable);
    addFiles_->setShortcut(QKeySequence::Open);
    addFiles_->setIcon(themeIcon(QStringLiteral("list-add")));

    remove_ = makeCommand(tr("Remove"), &TomefuseAppDelegate::removeFromTable);
    remove_->setShortcut(QKeySequence::Delete);
    remove_->setIcon(themeIcon(QStringLiteral("list-remove")));

    save_ = makeCommand(tr("Save Combined PDF…"), &TomefuseAppDelegate::saveToDisk);
    save_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    save_->setIcon(themeIcon(QStringLiteral("document-save")));

    // Ctrl+S with Alt held, as the menu shows it.
    quickSave_ = makeCommand(tr("Quick Save to Temporary Folder"), &TomefuseAppDelegate::saveToTemporaryFile);
    quickSave_->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));

    help_ = makeCommand(tr("Tomefuse Help"), &TomefuseAppDelegate::showHelp);
    help_->setShortcut(QKeySequence::HelpContents);
    help_->setIcon(themeIcon(QStringLiteral("help-contents")));

    // Escape while a save runs stops it; the list keeps the keys during a save.
    // Through the bar, which says it is stopping.
    stopSaving_ = new QAction(tr("Stop Saving"), this);
    connect(stopSaving_, &QAction::triggered, sheet_, &QtProgressSheet::cancel);
    stopSaving_->setShortcut(QKeySequence(Qt::Key_Escape));
    stopSaving_->setIcon(themeIcon(QStringLiteral("process-stop")));

    quit_ = new QAction(tr("Quit"), this);
    quit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit_->setMenuRole(QAction::QuitRole);
    // Closing the window is what quits.
    connect(quit_, &QAction::triggered, this, &QWidget::close);

    insertTOC_ = makeOption(tr("Add a Bookmark for Each File"), shouldInsertTOCForFilenamesKey);
    preserveTOCs_ = makeOption(tr("Keep Each File's Own Bookmarks"), preserveExistingTOCsKey);
    openWhenSaved_ = makeOption(tr("Open the Combined PDF When Saved"), shouldOpenPDFInDefaultApplicationKey);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(addFiles_);
    file->addAction(addFolder_);
    file->addAction(remove_);
    file->addSeparator();
    file->addAction(save_);
    file->addAction(quickSave_);
    file->addAction(stopSaving_);
    file->addSeparator();
    file->addAction(quit_);

    buildEditMenu();
    addPagesCommands(file);
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(showPreview_);

    QMenu* options = menuBar()->addMenu(tr("&Options"));
    options->addAction(insertTOC_);
    options->addAction(preserveTOCs_);
    options->addAction(openWhenSaved_);
    addDocumentCommands(file, options);
    // The settings may change behind the window's back; the menu shows them as they are.
    connect(options, &QMenu::aboutToShow, this, &MainWindow::syncOptions);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(help_);
    help->addAction(tr("About Tomefuse"), this, &MainWindow::showAbout);

    QToolBar* toolbar = addToolBar(tr("Commands"));
    toolbar->setObjectName(QStringLiteral("commands"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->addAction(addFiles_);
    toolbar->addAction(addFolder_);
    toolbar->addAction(remove_);
    toolbar->addAction(save_);
    setUpKeyboardAccess(toolbar);
}

// The list and, beside it, the pane that previews its selected file.
void MainWindow::buildPreview() {
    preview_ = new ListPreview(controller_, *table_, *model_, this);
    // A double click on the preview's pages opens the file, as one on its row does.
    connect(preview_->pane(), &PreviewPane::openRequested, this,
            [this] { controller_.tableViewDoubleClicked(nullptr); });
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->addWidget(table_);
    splitter_->addWidget(preview_->pane());
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    splitter_->setCollapsible(0, false);
    splitter_->setCollapsible(1, false);
    splitter_->setSizes({width() - previewWidth_, previewWidth_});
    splitter_->handle(1)->setAccessibleName(tr("Divider between the list and the preview"));
    setCentralWidget(splitter_);

    showPreview_ = new QAction(tr("Preview"), this);
    showPreview_->setCheckable(true);
    showPreview_->setChecked(true);
    showPreview_->setShortcut(QKeySequence(Qt::Key_F9));
    connect(showPreview_, &QAction::toggled, this, [this](bool shown) {
        PreviewPane* pane = preview_->pane();
        if (!shown && pane->isVisible()) {
            previewWidth_ = pane->width();
        }
        pane->setVisible(shown);
        if (shown) {
            splitter_->setSizes({splitter_->width() - previewWidth_, previewWidth_});
        }
    });
}

PreviewPane* MainWindow::previewPane() const { return preview_ ? preview_->pane() : nullptr; }

void MainWindow::syncOptions() {
    for (const auto& [action, key] : options_) {
        const QSignalBlocker blocker(action);
        action->setChecked(userDefaults_.boolForKey(key));
    }
    syncDocumentOptions();
}

QString MainWindow::statusText(uint64_t files, uint64_t pages, uint64_t unreadable) {
    // The singular is a text of its own, so that English needs no catalogue; the plural is a
    // plural form, which each language inflects, with the count as the locale writes numbers.
    const QString fileText = files == 1 ? tr("1 file") : tr("%Ln files", nullptr, static_cast<int>(files));
    const QString pageText = pages == 1 ? tr("1 page") : tr("%Ln pages", nullptr, static_cast<int>(pages));
    QString text = fileText + QStringLiteral(", ") + pageText;
    if (unreadable > 0) {
        text += tr(", %Ln cannot be read", nullptr, static_cast<int>(unreadable));
    }
    return text;
}

void MainWindow::updateCommands() {
    for (const Command& command : commands_) {
        command.action->setEnabled(controller_.validateUserInterfaceItem(command.selector));
    }
    stopSaving_->setEnabled(controller_.validateUserInterfaceItem(&TomefuseAppDelegate::cancelCombine));
    const auto& list = controller_.pdfsList();
    // The controller does not guard the quick save; combining fewer than two files is no combine.
    quickSave_->setEnabled(list.size() >= 2 &&
                           controller_.validateUserInterfaceItem(&TomefuseAppDelegate::saveToTemporaryFile));

    // The pages that go into the combined file.
    uint64_t pages = 0;
    uint64_t unreadable = 0;
    for (const PdfEntry& entry : list) {
        if (entry.problem.empty()) {
            pages += entry.pages.count(entry.pagecount);
        } else {
            ++unreadable;
        }
    }
    status_->setText(statusText(list.size(), pages, unreadable));
    updateEditCommands();
    updateChoosingCommands();
    updatePagesCommands();
}

namespace {

const QString geometryKey = QStringLiteral("window/geometry");
const QString columnsKey = QStringLiteral("window/columns");
const QString previewShownKey = QStringLiteral("window/previewShown");
const QString previewWidthKey = QStringLiteral("window/previewWidth");

}  // namespace

void MainWindow::restoreLayout(QSettings& store) {
    layoutStore_ = &store;
    // restoreGeometry keeps the window on a screen that still exists.
    restoreGeometry(store.value(geometryKey).toByteArray());
    fitToScreen();
    table_->horizontalHeader()->restoreState(store.value(columnsKey).toByteArray());
    // The widths are the user's, but no narrower than the titles at today's font; the arrow
    // belongs to the list of this run.
    table_->fitColumns();
    table_->setSortIndicator(controller_.sortIndicator());
    previewWidth_ = std::max(store.value(previewWidthKey, previewWidth_).toInt(), 120);
    splitter_->setSizes({width() - previewWidth_, previewWidth_});
    showPreview_->setChecked(store.value(previewShownKey, true).toBool());
}

void MainWindow::saveLayout() {
    layoutStore_->setValue(geometryKey, saveGeometry());
    layoutStore_->setValue(columnsKey, table_->horizontalHeader()->saveState());
    PreviewPane* pane = preview_->pane();
    layoutStore_->setValue(previewShownKey, showPreview_->isChecked());
    layoutStore_->setValue(previewWidthKey, pane->isVisible() ? pane->width() : previewWidth_);
    layoutStore_->sync();
}

void MainWindow::combiningChanged() {
    updateCommands();
    // A save that ends while the question whether to stop it is open leaves nothing to stop: the
    // question goes as if answered "Continue Saving", rather than offer to write nothing.
    if (closeQuestion_ && !controller_.isCombining()) {
        closeQuestion_->reject();
    }
    if (closeWhenSaved_ && !controller_.isCombining()) {
        closeWhenSaved_ = false;
        close();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The combine runs on its own thread: it is stopped, and the window goes once it has.
    if (controller_.isCombining()) {
        event->ignore();
        if (closeWhenSaved_) {
            return;
        }
        QMessageBox box(QMessageBox::Question, QStringLiteral("Tomefuse"), tr("A combined PDF is being saved."),
                        QMessageBox::NoButton, this);
        box.setInformativeText(tr("Stop saving and close the window? Nothing will be written."));
        QPushButton* stop = box.addButton(tr("Stop Saving and Close"), QMessageBox::DestructiveRole);
        box.addButton(tr("Continue Saving"), QMessageBox::RejectRole);
        box.setWindowModality(Qt::WindowModal);
        closeQuestion_ = &box;
        box.exec();
        if (box.clickedButton() == stop && controller_.isCombining()) {
            closeWhenSaved_ = true;
            controller_.cancelCombine(nullptr);
        } else if (box.clickedButton() == stop) {
            close();
        }
        return;
    }
    if (layoutStore_) {
        saveLayout();
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::beginSheet(Panel* sheet, SheetDidEnd didEnd) {
    activeSheet_ = sheet;
    sheetDidEnd_ = std::move(didEnd);
    if (auto* panel = dynamic_cast<QtPanel*>(sheet)) {
        panel->open();
    }
}

void MainWindow::endSheet(Panel* sheet) {
    if (!sheet || sheet != activeSheet_) {
        return;
    }
    activeSheet_ = nullptr;
    // Taken out first: the handler may begin the next sheet.
    SheetDidEnd didEnd = std::move(sheetDidEnd_);
    sheetDidEnd_ = nullptr;
    if (didEnd) {
        didEnd(sheet, 0);
    }
    // The keys go back to the list, not to the hidden sheet.
    activateWindow();
    table_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showSaved(const std::string& message, const std::function<void()>& open,
                           const std::function<void()>& reveal) {
    sheet_->showSaved(QString::fromStdString(message), open, reveal);
}

void MainWindow::showAlert(const std::string& message, const std::string& informativeText) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tomefuse"), QString::fromStdString(message), QMessageBox::Ok,
                    this);
    box.setInformativeText(QString::fromStdString(informativeText));
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

}  // namespace tomefuse
