#include "platform/qt/DocumentPropertiesDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tomefuse {

namespace {

QLineEdit* fieldFor(const std::string& text, QWidget* parent) {
    auto* field = new QLineEdit(QString::fromStdString(text), parent);
    field->setClearButtonEnabled(true);
    field->setMinimumWidth(320);
    return field;
}

}  // namespace

DocumentPropertiesDialog::DocumentPropertiesDialog(const PDFDocumentAttributes& current, QWidget* parent)
    : QDialog(parent),
      title_(fieldFor(current.title, this)),
      author_(fieldFor(current.author, this)),
      subject_(fieldFor(current.subject, this)),
      keywords_(fieldFor(current.keywords, this)) {
    setWindowTitle(tr("Document Properties"));
    auto* hint = new QLabel(tr("Written into every combined PDF, where viewers and desktop search find them. "
                               "An empty field writes nothing."),
                            this);
    hint->setWordWrap(true);
    keywords_->setPlaceholderText(tr("separated by commas"));

    auto* form = new QFormLayout;
    form->addRow(tr("&Title:"), title_);
    form->addRow(tr("&Author:"), author_);
    form->addRow(tr("&Subject:"), subject_);
    form->addRow(tr("&Keywords:"), keywords_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

PDFDocumentAttributes DocumentPropertiesDialog::properties() const {
    // Spaces around a value are no part of it.
    auto text = [](const QLineEdit* field) { return field->text().trimmed().toStdString(); };
    return {text(title_), text(author_), text(subject_), text(keywords_)};
}

}  // namespace tomefuse
