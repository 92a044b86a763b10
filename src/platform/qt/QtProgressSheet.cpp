#include "platform/qt/QtProgressSheet.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace tomefuse {

class QtProgressSheet::PanelAdapter final : public QtPanel {
  public:
    explicit PanelAdapter(QtProgressSheet& sheet) : sheet_(sheet) {}
    void close() override { sheet_.hide(); }
    bool isVisible() const override { return sheet_.isVisible(); }
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
        sheet_.showValue();
    }
    void setDoubleValue(double value) override {
        sheet_.value_ = value;
        sheet_.showValue();
    }
    double maxValue() const override { return sheet_.max_; }
    double doubleValue() const override { return sheet_.value_; }

    // Called after each page is written: the value is the index of that page.
    void displayIfNeeded() override {
        const auto page = static_cast<qulonglong>(std::max(0.0, sheet_.value_)) + 1;
        const auto pages = static_cast<qulonglong>(std::max(0.0, sheet_.max_));
        sheet_.label_->setText(
            QCoreApplication::translate("QtProgressSheet", "Writing page %1 of %2").arg(page).arg(pages));
        sheet_.paintNow();
    }

  private:
    QtProgressSheet& sheet_;
};

QtProgressSheet::QtProgressSheet(QWidget* parent)
    // Linux desktops have no sheets; a window-modal dialog without a close button is the nearest.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      label_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      panel_(std::make_unique<PanelAdapter>(*this)),
      indicator_(std::make_unique<IndicatorAdapter>(*this)) {
    setWindowTitle(tr("Saving"));
    setWindowModality(Qt::WindowModal);
    bar_->setRange(0, barResolution);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar_->setMinimumWidth(320);
    label_->setText(tr("Preparing…"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
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

void QtProgressSheet::paintNow() {
    // The combine holds the main thread: let the sheet map and paint, but take no user input,
    // so nothing can change the list while it is being written.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    label_->repaint();
    bar_->repaint();
}

}  // namespace tomefuse
