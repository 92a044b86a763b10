#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>

#include "platform/desktop/Panels.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tomefuse {

// Asks for the password of one protected file: names the file and its folder, and says so when
// the password given last did not open it. OK gives the password, Skip leaves the file out, and
// Skip All the other protected files being added with it.
class PasswordDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit PasswordDialog(QWidget* parent = nullptr);

    void setFile(const QString& path, const QString& name);
    void setPasswordWasWrong(bool wrong);
    QString password() const;
    bool skipsAll() const { return skipsAll_; }

    QLabel* heading() const { return heading_; }
    QLabel* folder() const { return folder_; }
    QLabel* wrongNote() const { return wrong_; }
    QLineEdit* passwordField() const { return field_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* skipButton() const { return skip_; }
    QPushButton* skipAllButton() const { return skipAll_; }

  private:
    QLabel* heading_;
    QLabel* folder_;
    QLabel* wrong_;
    QLineEdit* field_;
    QPushButton* ok_;
    QPushButton* skip_;
    QPushButton* skipAll_;
    bool skipsAll_ = false;
};

class QtPasswordPanel final : public PasswordPanel {
  public:
    explicit QtPasswordPanel(QWidget* parent = nullptr) : parent_(parent) {}

    void setFile(const std::string& path, const std::string& name) override;
    void setPasswordWasWrong(bool wrong) override { wrong_ = wrong; }
    int runModal() override;
    std::string password() const override { return password_; }

    // Whether a panel is asking now. The controller is then in the middle of reading files, and
    // may be walking its list: whatever would change the list waits until it is done.
    static bool isAsking() { return asking_ > 0; }
    // Runs f from the event loop, once no panel is asking; not at all if context goes first.
    static void whenNotAsking(QObject* context, std::function<void()> f);

  private:
    QPointer<QWidget> parent_;
    QString path_;
    QString name_;
    bool wrong_ = false;
    std::string password_;
    static inline int asking_ = 0;
};

}  // namespace tomefuse
