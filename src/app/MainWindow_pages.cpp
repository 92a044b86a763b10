// The main window's part in the pages of the listed files (turning them, choosing them by their
// thumbnails, two files of a duplex scan made one) and in lists kept in job files.

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include "app/MainWindow.h"
#include "list/JobFile.h"
#include "platform/qt/PdfTableView.h"
#include "platform/qt/QtStrings.h"
#include "platform/qt/preview/PageGrid.h"
#include "platform/qt/preview/PreviewPane.h"

namespace tomefuse {

namespace {

using Delegate = TomefuseAppDelegate;

const QString recentListsKey = QStringLiteral("recentLists");
constexpr int recentListsKept = 8;

QString listFilter() {
    return QCoreApplication::translate("tomefuse::MainWindow", "Tomefuse lists (*.%1)")
        .arg(QLatin1String(jobFileExtension));
}

}  // namespace

void MainWindow::makePagesCommands() {
    // The image viewers' keys for turning, which every keyboard layout has.
    rotateRight_ = new QAction(tr("Rotate Right"), this);
    rotateRight_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    rotateRight_->setIcon(themeIcon(QStringLiteral("object-rotate-right")));
    rotateRight_->setToolTip(
        tr("Turn the selected files, or the pages chosen in the preview, a quarter turn clockwise"));
    connect(rotateRight_, &QAction::triggered, this, [this] { turn(90); });
    rotateLeft_ = new QAction(tr("Rotate Left"), this);
    rotateLeft_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    rotateLeft_->setIcon(themeIcon(QStringLiteral("object-rotate-left")));
    rotateLeft_->setToolTip(
        tr("Turn the selected files, or the pages chosen in the preview, a quarter turn counterclockwise"));
    connect(rotateLeft_, &QAction::triggered, this, [this] { turn(-90); });

    makeCommand(tr("Interleave With Next File"), &Delegate::interleaveWithNext)
        ->setToolTip(tr("Make the selected file and the next one entry, their pages in turn: 1, 1, 2, 2, …"));
    makeCommand(tr("Interleave With Next File Reversed"), &Delegate::interleaveWithNextReversed)
        ->setToolTip(tr("The same, with the next file's pages last page first, for backs scanned from the bottom"));

    takeOnlyPages_ = new QAction(tr("Take Only These Pages"), this);
    connect(takeOnlyPages_, &QAction::triggered, this, [this] {
        if (const auto chosen = chosenPages()) {
            controller_.takeOnlyPages(chosen->first, chosen->second);
        }
    });
    leaveOutPages_ = new QAction(tr("Leave Out These Pages"), this);
    connect(leaveOutPages_, &QAction::triggered, this, [this] {
        if (const auto chosen = chosenPages()) {
            controller_.leaveOutPages(chosen->first, chosen->second);
        }
    });

    saveList_ = new QAction(tr("Save List As…"), this);
    saveList_->setToolTip(tr("Keep the list and its options in a file, to combine them again later"));
    connect(saveList_, &QAction::triggered, this, [this] {
        table_->endEditing();
        QFileDialog dialog(this, tr("Save List As"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(listFilter());
        dialog.setDefaultSuffix(QLatin1String(jobFileExtension));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            saveList(dialog.selectedFiles().constFirst());
        }
    });
    openList_ = new QAction(tr("Open List…"), this);
    openList_->setToolTip(tr("Read a list kept in a file in place of this one"));
    connect(openList_, &QAction::triggered, this, [this] {
        table_->endEditing();
        QFileDialog dialog(this, tr("Open List"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilter(listFilter());
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            openList(dialog.selectedFiles().constFirst());
        }
    });
}

void MainWindow::addPagesCommands(QMenu* file) {
    // After Remove: the list's own file commands.
    const QList<QAction*> actions = file->actions();
    QAction* before = actions.size() > actions.indexOf(remove_) + 1 ? actions[actions.indexOf(remove_) + 1] : nullptr;
    file->insertSeparator(before);
    file->insertAction(before, openList_);
    openRecent_ = new QMenu(tr("Open Recent"), file);
    file->insertMenu(before, openRecent_);
    file->insertAction(before, saveList_);
    connect(openRecent_, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);

    edit_->addSeparator();
    edit_->addAction(rotateLeft_);
    edit_->addAction(rotateRight_);
    edit_->addAction(takeOnlyPages_);
    edit_->addAction(leaveOutPages_);
    edit_->addSeparator();
    edit_->addAction(commandAction(&Delegate::interleaveWithNext));
    edit_->addAction(commandAction(&Delegate::interleaveWithNextReversed));

    PageGridView* grid = previewPane()->grid();
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, grid](const QPoint& pos) { pagesContextMenu()->popup(grid->viewport()->mapToGlobal(pos)); });
    connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MainWindow::updatePagesCommands);
    // The menus take the keys while they are open: what had the focus before is what they work on.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && !qobject_cast<QMenu*>(now) && !qobject_cast<QMenuBar*>(now)) {
            lastFocus_ = now;
        }
        updatePagesCommands();
    });
}

QMenu* MainWindow::pagesContextMenu() {
    delete pagesMenu_;
    pagesMenu_ = new QMenu(this);
    for (QAction* action : {rotateLeft_, rotateRight_, takeOnlyPages_, leaveOutPages_}) {
        action->setShortcutVisibleInContextMenu(true);
        pagesMenu_->addAction(action);
    }
    return pagesMenu_;
}

std::optional<std::pair<int64_t, std::vector<uint64_t>>> MainWindow::chosenPages() const {
    PreviewPane* pane = previewPane();
    if (!pane || !pane->isVisible() || lastFocus_ != pane->grid() || pane->state() != PreviewPane::State::Pages) {
        return std::nullopt;
    }
    const IndexSet rows = table_->selectedRowIndexes();
    const auto& list = controller_.pdfsList();
    if (rows.size() != 1 || *rows.begin() >= list.size()) {
        return std::nullopt;
    }
    std::vector<uint64_t> pages = pane->grid()->selectedPages();
    if (pages.empty()) {
        return std::nullopt;
    }
    return std::pair{static_cast<int64_t>(*rows.begin()), std::move(pages)};
}

void MainWindow::turn(int degrees) {
    table_->endEditing();
    if (const auto chosen = chosenPages()) {
        controller_.turnPages(chosen->first, chosen->second, degrees);
    } else if (degrees > 0) {
        controller_.rotateRight(nullptr);
    } else {
        controller_.rotateLeft(nullptr);
    }
}

void MainWindow::updatePagesCommands() {
    if (!rotateRight_) {
        return;
    }
    const bool rows = controller_.validateUserInterfaceItem(&Delegate::rotateRight);
    rotateRight_->setEnabled(rows);
    rotateLeft_->setEnabled(rows);
    const bool pages = chosenPages().has_value();
    takeOnlyPages_->setEnabled(pages);
    leaveOutPages_->setEnabled(pages);
}

bool MainWindow::saveList(const QString& path) {
    if (!controller_.saveJob(toStdPath(path))) {
        return false;
    }
    rememberList(QFileInfo(path).absoluteFilePath());
    return true;
}

bool MainWindow::openList(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!controller_.openJob(toStdPath(absolute))) {
        // A list that is gone or unreadable is no longer offered.
        QStringList lists = recentLists();
        if (lists.removeAll(absolute) > 0) {
            recent_ = lists;
            if (layoutStore_) {
                layoutStore_->setValue(recentListsKey, lists);
            }
        }
        return false;
    }
    rememberList(absolute);
    syncOptions();
    return true;
}

QStringList MainWindow::recentLists() const {
    return layoutStore_ ? layoutStore_->value(recentListsKey).toStringList() : recent_;
}

void MainWindow::rememberList(const QString& path) {
    QStringList lists = recentLists();
    lists.removeAll(path);
    lists.prepend(path);
    while (lists.size() > recentListsKept) {
        lists.removeLast();
    }
    recent_ = lists;
    if (layoutStore_) {
        layoutStore_->setValue(recentListsKey, lists);
    }
}

void MainWindow::fillRecentMenu() {
    openRecent_->clear();
    const QStringList lists = recentLists();
    for (const QString& path : lists) {
        QAction* action =
            openRecent_->addAction(QFileInfo(path).completeBaseName(), this, [this, path] { openList(path); });
        action->setToolTip(path);
        action->setStatusTip(path);
    }
    if (lists.isEmpty()) {
        openRecent_->addAction(tr("No Recent Lists"))->setEnabled(false);
        return;
    }
    openRecent_->addSeparator();
    openRecent_->addAction(tr("Clear Menu"), this, [this] {
        recent_.clear();
        if (layoutStore_) {
            layoutStore_->remove(recentListsKey);
        }
    });
}

}  // namespace tomefuse
