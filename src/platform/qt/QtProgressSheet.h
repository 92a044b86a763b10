#pragma once

#include <QDialog>
#include <memory>

#include "platform/desktop/ProgressSheet.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tomefuse {

// A panel that lives in a Qt dialog, so a window can show it as a sheet.
class QtPanel : public Panel {
  public:
    virtual QDialog& dialog() = 0;
};

// The write-progress sheet: what is being done in words, a bar, and Cancel, in a window-modal
// dialog of the main window. The combine runs on another thread; the sheet is updated through
// the event loop like any widget. Escape and the window's close button mean Cancel.
class QtProgressSheet final : public QDialog {
    Q_OBJECT

  public:
    explicit QtProgressSheet(QWidget* parent);
    ~QtProgressSheet() override;

    QtPanel& panel();
    ProgressIndicator& indicator();

    QProgressBar* progressBar() const { return bar_; }
    QLabel* label() const { return label_; }
    QPushButton* cancelButton() const { return cancel_; }

    // Steps of the bar; the double values map onto them.
    static constexpr int barResolution = 10000;

  signals:
    void cancelRequested();

  public slots:
    void reject() override;

  private:
    class PanelAdapter;
    class IndicatorAdapter;

    void showValue();

    QLabel* label_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    double max_ = 0;
    double value_ = 0;
    std::unique_ptr<PanelAdapter> panel_;
    std::unique_ptr<IndicatorAdapter> indicator_;
};

}  // namespace tomefuse
