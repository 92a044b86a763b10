#include "platform/qt/QtProgressSheet.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace tomefuse {

class QtProgressSheet::PanelAdapter final : public QtPanel {
  public:
    explicit PanelAdapter(QtProgressSheet& sheet) : sheet_(sheet) {}
    void close() override { sheet_.hide(); }
    bool isVisible() const override { return sheet_.isVisible(); }
    void setMessageText(const std::string& text) override { sheet_.label_->setText(QString::fromStdString(text)); }
    QDialog& dialog() override { return sheet_; }

  private:
    QtProgressSheet& sheet_;
};

class QtProgressSheet::IndicatorAdapter final : public ProgressIndicator {
  public:
    explicit IndicatorAdapter(QtProgressSheet& sheet) : sheet_(sheet) {}

    // A new maximum starts a new write: nothing has been written yet.
    void setMaxValue(double value) override {
        sheet_.max_ = value;
        sheet_.label_->setText(QCoreApplication::translate("QtProgressSheet", "Preparing…"));
        sheet_.cancel_->setEnabled(true);
        sheet_.showValue();
    }
    void setDoubleValue(double value) override {
        sheet_.value_ = value;
        sheet_.showValue();
    }
    double maxValue() const override { return sheet_.max_; }
    double doubleValue() const override { return sheet_.value_; }

    // Called after each page is written: the value is the index of that page. The count is what
    // the list said; a file changed since may give more.
    void displayIfNeeded() override {
        const auto page = static_cast<qulonglong>(std::max(0.0, sheet_.value_)) + 1;
        const auto pages = std::max(page, static_cast<qulonglong>(std::max(0.0, sheet_.max_)));
        sheet_.label_->setText(
            QCoreApplication::translate("QtProgressSheet", "Writing page %1 of %2").arg(page).arg(pages));
    }

  private:
    QtProgressSheet& sheet_;
};

QtProgressSheet::QtProgressSheet(QWidget* parent)
    // Linux desktops have no sheets; a window-modal dialog without a close button is the nearest.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      label_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(nullptr),
      panel_(std::make_unique<PanelAdapter>(*this)),
      indicator_(std::make_unique<IndicatorAdapter>(*this)) {
    setWindowTitle(tr("Saving"));
    setWindowModality(Qt::WindowModal);
    bar_->setRange(0, barResolution);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar_->setMinimumWidth(320);
    label_->setText(tr("Preparing…"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    cancel_ = buttons->button(QDialogButtonBox::Cancel);
    cancel_->setToolTip(tr("Stop saving: nothing is written, the list stays as it is"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QtProgressSheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    layout->addWidget(buttons);
}

void QtProgressSheet::reject() {
    // The sheet stays until the combine has stopped and said so.
    cancel_->setEnabled(false);
    label_->setText(tr("Cancelling…"));
    emit cancelRequested();
}

QtProgressSheet::~QtProgressSheet() = default;

QtPanel& QtProgressSheet::panel() { return *panel_; }

ProgressIndicator& QtProgressSheet::indicator() { return *indicator_; }

void QtProgressSheet::showValue() {
    double fraction = max_ > 0 ? value_ / max_ : 0;
    if (!std::isfinite(fraction)) {
        fraction = 0;
    }
    fraction = std::clamp(fraction, 0.0, 1.0);
    bar_->setValue(static_cast<int>(std::lround(fraction * barResolution)));
}

}  // namespace tomefuse
