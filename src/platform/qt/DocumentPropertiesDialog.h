#pragma once

#include <QDialog>

class QLineEdit;

namespace tomefuse {

class UserDefaults;

// The combined document's title, author, subject and keywords, as kept in the settings: shown
// as they stand, and stored when the dialog is accepted.
class DocumentPropertiesDialog final : public QDialog {
    Q_OBJECT

  public:
    DocumentPropertiesDialog(UserDefaults& userDefaults, QWidget* parent = nullptr);

    QLineEdit* titleField() const { return title_; }
    QLineEdit* authorField() const { return author_; }
    QLineEdit* subjectField() const { return subject_; }
    QLineEdit* keywordsField() const { return keywords_; }

    void accept() override;

  private:
    UserDefaults& userDefaults_;
    QLineEdit* title_;
    QLineEdit* author_;
    QLineEdit* subject_;
    QLineEdit* keywords_;
};

}  // namespace tomefuse
