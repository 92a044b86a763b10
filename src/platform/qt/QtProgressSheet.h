#pragma once

#include <QDialog>
#include <memory>

#include "platform/desktop/ProgressSheet.h"

class QLabel;
class QProgressBar;

namespace tomefuse {

// A panel that lives in a Qt dialog, so a window can show it as a sheet.
class QtPanel : public Panel {
  public:
    virtual QDialog& dialog() = 0;
};

// The write-progress sheet: a label and a bar in a window-modal dialog of the main window. The
// combine runs on the main thread, so the sheet paints itself when asked instead of waiting for
// the event loop. It has no buttons and cannot be dismissed by the user: the write cannot stop.
class QtProgressSheet final : public QDialog {
    Q_OBJECT

  public:
    explicit QtProgressSheet(QWidget* parent);
    ~QtProgressSheet() override;

    QtPanel& panel();
    ProgressIndicator& indicator();

    QProgressBar* progressBar() const { return bar_; }
    QLabel* label() const { return label_; }

    // Steps of the bar; the double values map onto them.
    static constexpr int barResolution = 10000;

  public slots:
    void reject() override {}

  private:
    class PanelAdapter;
    class IndicatorAdapter;

    void showValue();
    void paintNow();

    QLabel* label_;
    QProgressBar* bar_;
    double max_ = 0;
    double value_ = 0;
    std::unique_ptr<PanelAdapter> panel_;
    std::unique_ptr<IndicatorAdapter> indicator_;
};

}  // namespace tomefuse
