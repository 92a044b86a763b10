#pragma once

#include <QDialog>

#include "platform/pdf/PDFDocument.h"

class QLineEdit;

namespace tomefuse {

// The combined document's title, author, subject and keywords: shown as given, and, once the
// dialog is accepted, properties() as typed, without spaces around them.
class DocumentPropertiesDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit DocumentPropertiesDialog(const PDFDocumentAttributes& current, QWidget* parent = nullptr);

    QLineEdit* titleField() const { return title_; }
    QLineEdit* authorField() const { return author_; }
    QLineEdit* subjectField() const { return subject_; }
    QLineEdit* keywordsField() const { return keywords_; }

    PDFDocumentAttributes properties() const;

  private:
    QLineEdit* title_;
    QLineEdit* author_;
    QLineEdit* subject_;
    QLineEdit* keywords_;
};

}  // namespace tomefuse
