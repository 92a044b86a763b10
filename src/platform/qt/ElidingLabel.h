#pragma once

#include <QLabel>

namespace tomefuse {

// A one-line label that asks for room for its whole text but takes less: where there is less, it
// shows the text cut in the middle, so that a long name or path never makes the window wider
// than the screen. Its text, and what screen readers read, stay whole.
class ElidingLabel final : public QLabel {
    Q_OBJECT

  public:
    explicit ElidingLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    // The text as it is shown at the label's width.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tomefuse
