#include <QAction>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/MainWindow.h"
#include "platform/qt/PdfTableModel.h"
#include "platform/qt/PdfTableView.h"

namespace tomefuse {

namespace {

using Delegate = TomefuseAppDelegate;

// What each command does, for tooltips and screen readers.
struct Description {
    Delegate::Action selector;
    const char* text;
};

constexpr Description descriptions[] = {
    {&Delegate::addToTable, QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Add PDF files to the end of the list")},
    {&Delegate::addFolder, QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Add every PDF in a folder and its subfolders")},
    {&Delegate::removeFromTable, QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Take the selected files off the list")},
    {&Delegate::saveToDisk,
     QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Combine the listed files into one PDF and save it")},
    {&Delegate::saveToTemporaryFile,
     QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Combine the listed files into the temporary folder without asking")},
    {&Delegate::showHelp, QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Open the help page in the browser")},
    {&Delegate::tableViewDoubleClicked,
     QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Open the selected file in its viewer")},
    {&Delegate::renameFile,
     QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Change the name the selected file is listed under")},
    {&Delegate::undo, QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Take back the last change to the list")},
    {&Delegate::redo, QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Make the change taken back again")},
    {&Delegate::moveUp, QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Move the selected files one place up")},
    {&Delegate::moveDown, QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Move the selected files one place down")},
    {&Delegate::moveToTop, QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Move the selected files to the top of the list")},
    {&Delegate::moveToBottom,
     QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Move the selected files to the bottom of the list")},
    {&Delegate::sortByName, QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Sort the list by name, numbers by their value")},
    {&Delegate::sortByDateModified,
     QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Sort the list by when each file last changed")},
    {&Delegate::sortByPages, QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Sort the list by number of pages")},
    {&Delegate::reverseOrder, QT_TRANSLATE_NOOP("tomefuse::MainWindow", "Turn the list's order around")},
};

}  // namespace

void MainWindow::makeArrangingCommands() {
    addFolder_ = makeCommand(tr("Add Folder…"), &Delegate::addFolder);
    addFolder_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    addFolder_->setIcon(themeIcon(QStringLiteral("folder-open")));

    // Return in the table; the table's own key, so an open name editor keeps it.
    open_ = makeCommand(tr("Open"), &Delegate::tableViewDoubleClicked);
    open_->setShortcut(QKeySequence(Qt::Key_Return));
    open_->setShortcutContext(Qt::WidgetShortcut);
    table_->addAction(open_);

    undo_ = makeCommand(tr("Undo"), &Delegate::undo);
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = makeCommand(tr("Redo"), &Delegate::redo);
    redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));

    makeCommand(tr("Rename"), &Delegate::renameFile)->setShortcut(QKeySequence(Qt::Key_F2));
    makeCommand(tr("Enter Password…"), &Delegate::enterPassword);
    makeCommand(tr("Move Up"), &Delegate::moveUp)->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    makeCommand(tr("Move Down"), &Delegate::moveDown)->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    makeCommand(tr("Move to Top"), &Delegate::moveToTop)->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    makeCommand(tr("Move to Bottom"), &Delegate::moveToBottom)->setShortcut(QKeySequence(Qt::ALT | Qt::Key_End));
    makeCommand(tr("Sort by Name"), &Delegate::sortByName);
    makeCommand(tr("Sort by Date Modified"), &Delegate::sortByDateModified);
    makeCommand(tr("Sort by Pages"), &Delegate::sortByPages);
    makeCommand(tr("Reverse Order"), &Delegate::reverseOrder);

    notice_ = new QLabel(this);
    notice_->setContentsMargins(16, 0, 0, 0);
    statusBar()->addWidget(notice_, 1);
    noticeTimer_ = new QTimer(this);
    noticeTimer_->setSingleShot(true);
    noticeTimer_->setInterval(15000);
    connect(noticeTimer_, &QTimer::timeout, notice_, &QLabel::clear);

    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        tableContextMenu(table_->viewport()->mapFrom(table_, pos))->popup(table_->mapToGlobal(pos));
    });
}

QAction* MainWindow::commandAction(TomefuseAppDelegate::Action selector) const {
    for (const Command& command : commands_) {
        if (command.selector == selector) {
            return command.action;
        }
    }
    return nullptr;
}

void MainWindow::buildEditMenu() {
    edit_ = menuBar()->addMenu(tr("&Edit"));
    edit_->addAction(undo_);
    edit_->addAction(redo_);
    edit_->addSeparator();
    edit_->addAction(commandAction(&Delegate::renameFile));
    edit_->addAction(choosePages_);
    edit_->addAction(commandAction(&Delegate::enterPassword));
    edit_->addSeparator();
    for (auto selector : {&Delegate::moveUp, &Delegate::moveDown, &Delegate::moveToTop, &Delegate::moveToBottom}) {
        edit_->addAction(commandAction(selector));
    }
    edit_->addSeparator();
    for (auto selector :
         {&Delegate::sortByName, &Delegate::sortByDateModified, &Delegate::sortByPages, &Delegate::reverseOrder}) {
        edit_->addAction(commandAction(selector));
    }
}

QMenu* MainWindow::tableContextMenu(const QPoint& viewportPos) {
    delete contextMenu_;
    contextMenu_ = new QMenu(this);
    std::vector<std::vector<Delegate::Action>> groups;
    if (table_->indexAt(viewportPos).isValid()) {
        groups = {{&Delegate::tableViewDoubleClicked, &Delegate::renameFile, &Delegate::enterPassword},
                  {&Delegate::moveUp, &Delegate::moveDown, &Delegate::moveToTop, &Delegate::moveToBottom},
                  {&Delegate::removeFromTable}};
    } else {
        groups = {
            {&Delegate::addToTable, &Delegate::addFolder},
            {&Delegate::sortByName, &Delegate::sortByDateModified, &Delegate::sortByPages, &Delegate::reverseOrder}};
    }
    for (const auto& group : groups) {
        if (!contextMenu_->isEmpty()) {
            contextMenu_->addSeparator();
        }
        for (auto selector : group) {
            QAction* action = commandAction(selector);
            // Only a file that waits for its password has the command.
            if (selector == &Delegate::enterPassword && !action->isEnabled()) {
                continue;
            }
            action->setShortcutVisibleInContextMenu(true);
            contextMenu_->addAction(action);
            if (selector == &Delegate::renameFile) {
                contextMenu_->addAction(choosePages_);
            }
        }
    }
    if (table_->indexAt(viewportPos).isValid()) {
        // Before Remove, which stays last.
        QAction* last = contextMenu_->actions().constLast();
        for (QAction* action : {rotateLeft_, rotateRight_, commandAction(&Delegate::interleaveWithNext),
                                commandAction(&Delegate::interleaveWithNextReversed)}) {
            action->setShortcutVisibleInContextMenu(true);
            contextMenu_->insertAction(last, action);
        }
        contextMenu_->insertSeparator(last);
    }
    return contextMenu_;
}

void MainWindow::setUpKeyboardAccess(QToolBar* toolbar) {
    for (const Description& description : descriptions) {
        if (QAction* action = commandAction(description.selector)) {
            action->setToolTip(tr(description.text));
        }
    }
    // Toolbar buttons take no focus by default; Tab goes from the list through them and back.
    QWidget* previous = table_;
    for (QAction* action : toolbar->actions()) {
        QWidget* button = toolbar->widgetForAction(action);
        if (!button) {
            continue;
        }
        button->setFocusPolicy(Qt::TabFocus);
        button->setAccessibleName(action->iconText());
        button->setAccessibleDescription(action->toolTip());
        setTabOrder(previous, button);
        previous = button;
    }
    // The button for commands that do not fit; screen readers list it even while hidden.
    if (auto* more = toolbar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setAccessibleName(tr("More Commands"));
    }
}

void MainWindow::updateEditCommands() {
    const QString undoName = QString::fromStdString(controller_.undoActionName());
    const QString redoName = QString::fromStdString(controller_.redoActionName());
    undo_->setText(undoName.isEmpty() ? tr("Undo") : tr("Undo %1").arg(undoName));
    redo_->setText(redoName.isEmpty() ? tr("Redo") : tr("Redo %1").arg(redoName));
}

void MainWindow::showStatusMessage(const std::string& message) {
    notice_->setText(QString::fromStdString(message));
    noticeTimer_->start();
}

}  // namespace tomefuse
