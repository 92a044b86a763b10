#include "platform/qt/QtPanels.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include "platform/qt/QtStrings.h"

namespace tomefuse {

namespace {

QString text(const char* english) { return QCoreApplication::translate("tomefuse::QtPanels", english); }

// Qt's file dialog takes the size it would like, which at a large scale or font is more than a
// small screen holds, and its buttons end below the screen's edge.
void fitToScreen(QDialog& dialog) {
    const QScreen* at = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    if (!at) {
        return;
    }
    const QSize available = at->availableGeometry().size() * 0.95;
    const QSize size = dialog.size().isEmpty() ? dialog.sizeHint() : dialog.size();
    const QSize fitted = size.boundedTo(available).expandedTo(dialog.minimumSizeHint().boundedTo(available));
    if (fitted != size) {
        dialog.resize(fitted);
    }
}

}  // namespace

QString nameFilterForTypes(const std::vector<std::string>& types) {
    if (types.empty()) {
        return text(QT_TRANSLATE_NOOP("tomefuse::QtPanels", "All files (*)"));
    }
    QStringList patterns;
    for (const auto& type : types) {
        patterns << QStringLiteral("*.") + QString::fromStdString(type);
    }
    if (types.size() == 1) {
        return QCoreApplication::translate("tomefuse::QtPanels", "%1 files (%2)")
            .arg(QString::fromStdString(types.front()).toUpper(), patterns.join(' '));
    }
    return QCoreApplication::translate("tomefuse::QtPanels", "Files (%1)").arg(patterns.join(' '));
}

QStringList nameFiltersForOpening(const std::vector<std::string>& types) {
    QStringList pdfs;
    QStringList images;
    for (const auto& type : types) {
        (type == "pdf" ? pdfs : images) << QStringLiteral("*.") + QString::fromStdString(type);
    }
    if (pdfs.isEmpty() || images.isEmpty()) {
        return {nameFilterForTypes(types)};
    }
    // Files are known by their content, so the last line shows every file all the same.
    return {
        QCoreApplication::translate("tomefuse::QtPanels", "PDF files and images (%1)").arg((pdfs + images).join(' ')),
        QCoreApplication::translate("tomefuse::QtPanels", "PDF files (%1)").arg(pdfs.join(' ')),
        QCoreApplication::translate("tomefuse::QtPanels", "Images (%1)").arg(images.join(' ')),
        text(QT_TRANSLATE_NOOP("tomefuse::QtPanels", "All files (*)"))};
}

int QtOpenPanel::runModal() {
    QFileDialog dialog(parent_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (canChooseDirectories_) {
        dialog.setWindowTitle(text(QT_TRANSLATE_NOOP("tomefuse::QtPanels", "Add Folder")));
        // Qt's dialog chooses either files or folders; folders it is when folders are asked for.
        dialog.setFileMode(QFileDialog::Directory);
    } else {
        dialog.setWindowTitle(text(QT_TRANSLATE_NOOP("tomefuse::QtPanels", "Add PDF Files")));
        dialog.setFileMode(allowsMultipleSelection_ ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        dialog.setNameFilters(nameFiltersForOpening(types_));
    }
    urls_.clear();
    fitToScreen(dialog);
    if (dialog.exec() != QDialog::Accepted) {
        return 0;
    }
    for (const QString& file : dialog.selectedFiles()) {
        urls_.push_back(toStdPath(QFileInfo(file).absoluteFilePath()));
    }
    return NSModalResponseOK;
}

namespace {

// A save dialog that turns some names away: it says why and stays open for another. The check
// comes before the dialog's own question whether to replace the file, which it would make moot.
class RefusingSaveDialog final : public QFileDialog {
  public:
    RefusingSaveDialog(QWidget* parent, std::function<std::string(const std::string&)> refusal)
        : QFileDialog(parent), refusal_(std::move(refusal)) {}

    void accept() override {
        const QStringList files = selectedFiles();
        if (refusal_ && !files.isEmpty()) {
            const QFileInfo file(files.constFirst());
            const std::string reason = refusal_(toStdPath(file.absoluteFilePath()));
            if (!reason.empty()) {
                QMessageBox box(QMessageBox::Warning, QStringLiteral("Tomefuse"),
                                QCoreApplication::translate("tomefuse::RefusingSaveDialog", "“%1” cannot be replaced.")
                                    .arg(file.fileName()),
                                QMessageBox::Ok, this);
                box.setInformativeText(QString::fromStdString(reason));
                box.setWindowModality(Qt::WindowModal);
                box.exec();
                return;
            }
        }
        QFileDialog::accept();
    }

  private:
    std::function<std::string(const std::string&)> refusal_;
};

}  // namespace

int QtSavePanel::runModal() {
    RefusingSaveDialog dialog(parent_, refusal_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowTitle(title_);
    dialog.setNameFilter(nameFilterForTypes(types_));
    if (!types_.empty()) {
        // A name typed without the extension gets it.
        dialog.setDefaultSuffix(QString::fromStdString(types_.front()));
    }
    if (!directory_.isEmpty()) {
        dialog.setDirectory(directory_);
    }
    if (!name_.isEmpty()) {
        dialog.selectFile(name_);
    }
    url_.clear();
    fitToScreen(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return 0;
    }
    url_ = toStdPath(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath());
    return NSModalResponseOK;
}

}  // namespace tomefuse
