#include "platform/qt/QtProgressSheet.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "platform/qt/ElidingLabel.h"

namespace tomefuse {

class QtProgressSheet::PanelAdapter final : public QtPanel {
  public:
    explicit PanelAdapter(QtProgressSheet& sheet) : sheet_(sheet) {}
    void open() override { sheet_.showProgress(); }
    void close() override {
        if (!sheet_.isShowingSaved()) {
            sheet_.dismiss();
        }
    }
    bool isVisible() const override { return sheet_.isVisible() && !sheet_.isShowingSaved(); }
    void setMessageText(const std::string& text) override { sheet_.label_->setText(QString::fromStdString(text)); }

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

namespace {

QPushButton* makeButton(const QString& text, const QString& tip, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setToolTip(tip);
    // Reached with Tab; a click leaves the keys with the list.
    button->setFocusPolicy(Qt::TabFocus);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

QtProgressSheet::QtProgressSheet(QWidget* parent)
    : QFrame(parent),
      label_(new ElidingLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(makeButton(tr("Cancel"), tr("Stop saving: nothing is written, the list stays as it is"), this)),
      open_(makeButton(tr("Open"), tr("Open the combined PDF"), this)),
      reveal_(makeButton(tr("Show in Folder"), tr("Show the combined PDF in the file manager"), this)),
      dismiss_(makeButton(tr("Close"), tr("Close this bar"), this)),
      panel_(std::make_unique<PanelAdapter>(*this)),
      indicator_(std::make_unique<IndicatorAdapter>(*this)) {
    setAccessibleName(tr("Saving"));
    bar_->setRange(0, barResolution);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar_->setMinimumWidth(200);
    bar_->setAccessibleName(tr("Saving"));
    label_->setText(tr("Preparing…"));
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(cancel_, &QPushButton::clicked, this, &QtProgressSheet::cancel);
    connect(open_, &QPushButton::clicked, this, [this] {
        if (openSaved_) {
            openSaved_();
        }
    });
    connect(reveal_, &QPushButton::clicked, this, [this] {
        if (revealSaved_) {
            revealSaved_();
        }
    });
    connect(dismiss_, &QPushButton::clicked, this, &QtProgressSheet::dismiss);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    for (QPushButton* button : {cancel_, open_, reveal_, dismiss_}) {
        layout->addWidget(button);
    }
    for (QPushButton* button : {open_, reveal_, dismiss_}) {
        button->hide();
    }
    hide();
}

QtProgressSheet::~QtProgressSheet() = default;

QtPanel& QtProgressSheet::panel() { return *panel_; }

ProgressIndicator& QtProgressSheet::indicator() { return *indicator_; }

bool QtProgressSheet::isShowingSaved() const { return !open_->isHidden(); }

void QtProgressSheet::showProgress() {
    openSaved_ = nullptr;
    revealSaved_ = nullptr;
    bar_->show();
    cancel_->show();
    for (QPushButton* button : {open_, reveal_, dismiss_}) {
        button->hide();
    }
    show();
}

void QtProgressSheet::showSaved(const QString& message, std::function<void()> open, std::function<void()> reveal) {
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    openSaved_ = std::move(open);
    revealSaved_ = std::move(reveal);
    label_->setText(message);
    bar_->hide();
    cancel_->hide();
    for (QPushButton* button : {open_, reveal_, dismiss_}) {
        button->show();
    }
    show();
    if (hadFocus) {
        emit focusReleased();
    }
}

void QtProgressSheet::dismiss() {
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    hide();
    for (QPushButton* button : {open_, reveal_, dismiss_}) {
        button->hide();
    }
    if (hadFocus) {
        emit focusReleased();
    }
}

void QtProgressSheet::cancel() {
    // The bar stays until the combine has stopped and said so.
    cancel_->setEnabled(false);
    label_->setText(tr("Cancelling…"));
    emit cancelRequested();
}

void QtProgressSheet::setNeighbour(QWidget* neighbour) {
    neighbour_ = neighbour;
    if (parentWidget()) {
        parentWidget()->installEventFilter(this);
    }
    fitNeighbour();
}

bool QtProgressSheet::event(QEvent* event) {
    const bool handled = QFrame::event(event);
    // The message's width, the sheet's showing and its room change with these.
    switch (event->type()) {
        case QEvent::LayoutRequest:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::Resize:
            fitNeighbour();
            break;
        default:
            break;
    }
    return handled;
}

bool QtProgressSheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        fitNeighbour();
    }
    return QFrame::eventFilter(watched, event);
}

void QtProgressSheet::fitNeighbour() {
    QWidget* line = parentWidget();
    if (!neighbour_ || !line) {
        return;
    }
    // What the status line puts between and around its widgets, with some to spare.
    const int gaps = 4 * fontMetrics().averageCharWidth();
    const int room = line->contentsRect().width() - sizeHint().width() - gaps;
    const bool yields = !isHidden() && room < neighbour_->sizeHint().width();
    // Shrunk rather than hidden: the status line shows and hides its widgets itself around its
    // passing messages, and screen readers still read the count.
    neighbour_->setMaximumWidth(yields ? 0 : QWIDGETSIZE_MAX);
}

void QtProgressSheet::showValue() {
    double fraction = max_ > 0 ? value_ / max_ : 0;
    if (!std::isfinite(fraction)) {
        fraction = 0;
    }
    fraction = std::clamp(fraction, 0.0, 1.0);
    bar_->setValue(static_cast<int>(std::lround(fraction * barResolution)));
}

}  // namespace tomefuse
