#include "platform/qt/QtPasswordPanel.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/qt/QtStrings.h"

namespace tomefuse {

PasswordDialog::PasswordDialog(QWidget* parent)
    : QDialog(parent),
      heading_(new QLabel(this)),
      folder_(new QLabel(this)),
      wrong_(new QLabel(tr("The password was wrong. Try again, or skip the file."), this)),
      field_(new QLineEdit(this)) {
    setWindowTitle(tr("Password Needed"));

    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    heading_->setWordWrap(true);
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    wrong_->setWordWrap(true);
    wrong_->setStyleSheet(QStringLiteral("color: #b3261e;"));
    wrong_->hide();

    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(QIcon::fromTheme(QStringLiteral("dialog-password"),
                                     style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this))
                        .pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);

    field_->setEchoMode(QLineEdit::Password);
    field_->setAccessibleName(tr("Password"));
    auto* form = new QFormLayout;
    form->addRow(tr("&Password:"), field_);

    auto* note = new QLabel(
        tr("Tomefuse keeps the password in memory only, while the file is listed. The combined PDF is not protected."),
        this);
    note->setWordWrap(true);
    note->setForegroundRole(QPalette::PlaceholderText);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QDialogButtonBox::Ok);
    skip_ = buttons->addButton(tr("Skip"), QDialogButtonBox::RejectRole);
    skipAll_ = buttons->addButton(tr("Skip All"), QDialogButtonBox::RejectRole);
    skipAll_->setToolTip(tr("Skip this file and every other protected file being added now"));
    connect(skipAll_, &QPushButton::clicked, this, [this] { skipsAll_ = true; });
    ok_->setDefault(true);
    // No file is protected by an empty password: it would have opened without asking.
    ok_->setEnabled(false);
    connect(field_, &QLineEdit::textChanged, this, [this](const QString& text) { ok_->setEnabled(!text.isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* text = new QVBoxLayout;
    text->addWidget(heading_);
    text->addWidget(folder_);
    text->addSpacing(6);
    text->addWidget(wrong_);
    text->addLayout(form);
    text->addWidget(note);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(440);
    field_->setFocus();
}

void PasswordDialog::setFile(const QString& path, const QString& name) {
    const QFileInfo file(path);
    heading_->setText(tr("“%1” is protected by a password.").arg(name.isEmpty() ? file.fileName() : name));
    // A long folder would stretch the dialog across the screen: its middle goes, the tooltip has it all.
    const QString where = tr("%1 in %2").arg(file.fileName(), file.absolutePath());
    folder_->setText(folder_->fontMetrics().elidedText(where, Qt::ElideMiddle, 400));
    folder_->setToolTip(file.absoluteFilePath());
    setAccessibleDescription(heading_->text() + QLatin1Char(' ') + where);
}

void PasswordDialog::setPasswordWasWrong(bool wrong) { wrong_->setVisible(wrong); }

QString PasswordDialog::password() const { return field_->text(); }

void QtPasswordPanel::setFile(const std::string& path, const std::string& name) {
    path_ = fromStdPath(path);
    name_ = QString::fromStdString(name);
}

int QtPasswordPanel::runModal() {
    PasswordDialog dialog(parent_);
    dialog.setFile(path_, name_);
    dialog.setPasswordWasWrong(wrong_);
    dialog.setWindowModality(parent_ ? Qt::WindowModal : Qt::ApplicationModal);
    ++asking_;
    const int result = dialog.exec();
    --asking_;
    password_.clear();
    if (result != QDialog::Accepted) {
        return dialog.skipsAll() ? PasswordResponseSkipAll : 0;
    }
    password_ = dialog.password().toStdString();
    return NSModalResponseOK;
}

void QtPasswordPanel::whenNotAsking(QObject* context, std::function<void()> f) {
    // Checked again when the time comes: a panel may have begun asking meanwhile.
    QTimer::singleShot(isAsking() ? 100 : 0, context, [context, f = std::move(f)]() mutable {
        if (isAsking()) {
            whenNotAsking(context, std::move(f));
        } else {
            f();
        }
    });
}

}  // namespace tomefuse
