// The main window's commands and options for the combined document itself: a contents page,
// right-hand starts for printing on both sides, and the document's properties.

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSignalBlocker>

#include "app/MainWindow.h"
#include "combine/DocumentOptions.h"
#include "list/EntryReader.h"
#include "platform/desktop/UserDefaults.h"
#include "platform/qt/DocumentPropertiesDialog.h"

namespace tomefuse {

void MainWindow::addDocumentCommands(QMenu* file, QMenu* options) {
    documentProperties_ = new QAction(tr("Document Properties…"), this);
    connect(documentProperties_, &QAction::triggered, this, &MainWindow::showDocumentProperties);
    // After the save commands, before the separator that parts them from Help.
    const QList<QAction*> fileActions = file->actions();
    const qsizetype after = fileActions.indexOf(quickSave_) + 1;
    file->insertAction(after < fileActions.size() ? fileActions[after] : nullptr, documentProperties_);

    options->addSeparator();
    contentsPage_ = makeOption(tr("Add a Contents Page"), shouldAddContentsPageKey);
    options->addAction(contentsPage_);
    contentsDepthMenu_ = options->addMenu(tr("Bookmarks in the Contents"));
    contentsDepths_ = new QActionGroup(this);
    const std::pair<QString, int> depths[] = {
        {tr("None"), 0}, {tr("First Level"), 1}, {tr("Two Levels"), 2}, {tr("All Levels"), -1}};
    for (const auto& [text, depth] : depths) {
        QAction* action = contentsDepthMenu_->addAction(text);
        action->setCheckable(true);
        action->setData(depth);
        contentsDepths_->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, depth = depth] { userDefaults_.setInteger(contentsBookmarkDepthKey, depth); });
    }
    connect(contentsPage_, &QAction::toggled, contentsDepthMenu_, &QMenu::setEnabled);
    contentsLabels_ = makeOption(tr("Page Labels in the Contents"), shouldNumberContentsByPageLabelsKey);
    options->addAction(contentsLabels_);
    connect(contentsPage_, &QAction::toggled, contentsLabels_, &QAction::setEnabled);
    rightHandStarts_ = makeOption(tr("Start Each File on a Right-Hand Page"), shouldStartFilesOnRightHandPagesKey);
    options->addAction(rightHandStarts_);
    addImagePagesMenu(options);
}

// The size each image's page is made at. The rows of images are read again at once, so that the
// preview shows the pages the combine writes.
void MainWindow::addImagePagesMenu(QMenu* options) {
    options->addSeparator();
    imagePagesMenu_ = options->addMenu(tr("Image Pages"));
    imagePages_ = new QActionGroup(this);
    const std::pair<QString, ImagePageSize> sizes[] = {{tr("At Their Own Size"), ImagePageSize::natural},
                                                       {tr("Fitted to A4"), ImagePageSize::a4},
                                                       {tr("Fitted to Letter"), ImagePageSize::letter}};
    for (const auto& [text, size] : sizes) {
        QAction* action = imagePagesMenu_->addAction(text);
        action->setCheckable(true);
        action->setData(static_cast<int>(size));
        imagePages_->addAction(action);
        connect(action, &QAction::triggered, this, [this, size = size] {
            userDefaults_.setString(imagePageSizeKey, imagePageSizeName(size));
            controller_.refreshEntries();
        });
    }
}

void MainWindow::syncDocumentOptions() {
    const long long depth = userDefaults_.integerForKey(contentsBookmarkDepthKey);
    for (QAction* action : contentsDepths_->actions()) {
        const QSignalBlocker blocker(action);
        const int value = action->data().toInt();
        action->setChecked(value == depth || (value < 0 && depth < 0));
    }
    contentsDepthMenu_->setEnabled(contentsPage_->isChecked());
    const auto imagePages = static_cast<int>(imagePageSizeSetting(userDefaults_));
    for (QAction* action : imagePages_->actions()) {
        const QSignalBlocker blocker(action);
        action->setChecked(action->data().toInt() == imagePages);
    }
    contentsLabels_->setEnabled(contentsPage_->isChecked());
}

void MainWindow::showDocumentProperties() {
    auto* dialog = new DocumentPropertiesDialog(readDocumentProperties(userDefaults_), this);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { storeDocumentProperties(userDefaults_, dialog->properties()); });
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->open();
}

}  // namespace tomefuse
