#include "platform/qt/DocumentPropertiesDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "combine/DocumentOptions.h"
#include "platform/desktop/UserDefaults.h"

namespace tomefuse {

namespace {

QLineEdit* fieldFor(UserDefaults& defaults, const char* key, QWidget* parent) {
    auto* field = new QLineEdit(QString::fromStdString(defaults.stringForKey(key)), parent);
    field->setClearButtonEnabled(true);
    field->setMinimumWidth(320);
    return field;
}

}  // namespace

DocumentPropertiesDialog::DocumentPropertiesDialog(UserDefaults& userDefaults, QWidget* parent)
    : QDialog(parent),
      userDefaults_(userDefaults),
      title_(fieldFor(userDefaults, documentTitleKey, this)),
      author_(fieldFor(userDefaults, documentAuthorKey, this)),
      subject_(fieldFor(userDefaults, documentSubjectKey, this)),
      keywords_(fieldFor(userDefaults, documentKeywordsKey, this)) {
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

void DocumentPropertiesDialog::accept() {
    // Spaces around a value are no part of it.
    userDefaults_.setString(documentTitleKey, title_->text().trimmed().toStdString());
    userDefaults_.setString(documentAuthorKey, author_->text().trimmed().toStdString());
    userDefaults_.setString(documentSubjectKey, subject_->text().trimmed().toStdString());
    userDefaults_.setString(documentKeywordsKey, keywords_->text().trimmed().toStdString());
    QDialog::accept();
}

}  // namespace tomefuse
