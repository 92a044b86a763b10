#include <QMessageBox>
#include <qpdf/QPDF.hh>

#include "app/MainWindow.h"
#include "platform/qt/PdfTableView.h"

namespace tomefuse {

void MainWindow::showAbout() {
    const QString text =
        tr("<h3>Tomefuse %1</h3>"
           "<p>Combines PDF files, and images, into one PDF with every file's bookmarks.</p>"
           "<p>Licensed under the Apache License, version 2.0.</p>"
           "<p>Built with Qt %2 and qpdf %3; images are read with libjpeg-turbo, libpng and libtiff.</p>")
            .arg(QStringLiteral(TOMEFUSE_VERSION), QString::fromLatin1(qVersion()),
                 QString::fromStdString(QPDF::QPDFVersion()));
    QMessageBox::about(this, tr("About Tomefuse"), text);
    table_->setFocus(Qt::OtherFocusReason);
}

}  // namespace tomefuse
