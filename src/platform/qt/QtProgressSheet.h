#pragma once

#include <QFrame>
#include <QPointer>
#include <functional>
#include <memory>

#include "platform/desktop/ProgressSheet.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tomefuse {

// A panel that a Qt window can show as one of its sheets.
class QtPanel : public Panel {
  public:
    virtual void open() = 0;
};

// The save bar at the foot of the main window: while a combine runs, what is being done in words,
// a bar and Cancel; once a file is written, where it went, with Open and Show in Folder. It is
// part of the window, not a dialog over it, so the list stays usable during a save, and it never
// takes the keyboard focus from the list. The combine runs on another thread; the bar is updated
// through the event loop like any widget.
class QtProgressSheet final : public QFrame {
    Q_OBJECT

  public:
    explicit QtProgressSheet(QWidget* parent);
    ~QtProgressSheet() override;

    QtPanel& panel();
    ProgressIndicator& indicator();

    // After a save: the message, and what Open and Show in Folder do. Stays until dismissed or
    // the next save begins.
    void showSaved(const QString& message, std::function<void()> open, std::function<void()> reveal);

    // The widget beside the bar in the window's status line (the list's count), which is shrunk
    // to nothing while the bar would otherwise not show its message whole, as on a small screen.
    // The sheet must already stand in that line.
    void setNeighbour(QWidget* neighbour);

    QProgressBar* progressBar() const { return bar_; }
    QLabel* label() const { return label_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* openButton() const { return open_; }
    QPushButton* revealButton() const { return reveal_; }
    QPushButton* dismissButton() const { return dismiss_; }
    bool isShowingSaved() const;

    // Steps of the bar; the double values map onto them.
    static constexpr int barResolution = 10000;

  signals:
    void cancelRequested();
    // The bar went away while it held the keyboard focus: the window gives it to the list.
    void focusReleased();

  public slots:
    void cancel();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class PanelAdapter;
    class IndicatorAdapter;

    void showValue();
    void showProgress();
    void dismiss();
    void fitNeighbour();

    QLabel* label_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    QPushButton* open_;
    QPushButton* reveal_;
    QPushButton* dismiss_;
    std::function<void()> openSaved_;
    std::function<void()> revealSaved_;
    double max_ = 0;
    double value_ = 0;
    std::unique_ptr<PanelAdapter> panel_;
    std::unique_ptr<IndicatorAdapter> indicator_;
    QPointer<QWidget> neighbour_;
};

}  // namespace tomefuse
