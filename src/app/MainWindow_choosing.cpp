// The main window's part in choosing what goes in: the pages taken from a file, the question
// before leaving out files that cannot be read, and the list read again when the window comes
// back to the front, so rows show their files as they are now.

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/MainWindow.h"
#include "platform/qt/PdfTableView.h"
#include "platform/qt/QtPasswordPanel.h"

namespace tomefuse {

void MainWindow::makeChoosingCommands() {
    choosePages_ = new QAction(tr("Choose Pages…"), this);
    choosePages_->setToolTip(tr("Choose which pages of the selected file go into the combined PDF"));
    connect(choosePages_, &QAction::triggered, this, &MainWindow::choosePagesOfSelection);
}

void MainWindow::updateChoosingCommands() {
    // One file, and one that can be read: the pages of a file not read are not known.
    const IndexSet rows = table_->selectedRowIndexes();
    const auto& list = controller_.pdfsList();
    choosePages_->setEnabled(rows.size() == 1 && *rows.begin() < list.size() && list[*rows.begin()].problem.empty());
}

void MainWindow::choosePagesOfSelection() {
    updateChoosingCommands();
    if (!choosePages_->isEnabled()) {
        return;
    }
    // A name being typed is committed first, as for the commands.
    table_->endEditing();
    const auto row = static_cast<int64_t>(*table_->selectedRowIndexes().begin());
    table_->scrollRowToVisible(row);
    table_->editColumn(std::string(PdfEntry::pagecountKey), row);
}

bool MainWindow::askToProceed(const std::string& message, const std::string& informativeText,
                              const std::string& proceed) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tomefuse"), QString::fromStdString(message),
                    QMessageBox::NoButton, this);
    box.setInformativeText(QString::fromStdString(informativeText));
    QPushButton* go = box.addButton(QString::fromStdString(proceed), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(go);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
    return box.clickedButton() == go;
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        // Not inside the event: reading a protected file that changed asks for its password.
        QTimer::singleShot(0, this, &MainWindow::refreshFromDisk);
    }
    return QMainWindow::event(event);
}

void MainWindow::refreshFromDisk() {
    // A dialog of ours coming and going activates the window too: while one is up, the controller
    // may be in the middle of something, and a password asked for from here would bring this back
    // again when it goes. Files read now are not read again until they change once more.
    if (refreshing_ || QApplication::activeModalWidget() || QtPasswordPanel::isAsking()) {
        return;
    }
    refreshing_ = true;
    controller_.refreshEntries();
    refreshing_ = false;
}

}  // namespace tomefuse
