#include "platform/qt/ElidingLabel.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace tomefuse {

ElidingLabel::ElidingLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

QSize ElidingLabel::minimumSizeHint() const {
    QSize hint = QLabel::minimumSizeHint();
    // A few letters and the ellipsis.
    hint.setWidth(std::min(hint.width(), fontMetrics().averageCharWidth() * 8));
    return hint;
}

QString ElidingLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width() - 2 * margin());
}

void ElidingLabel::paintEvent(QPaintEvent* event) {
    const QString shown = shownText();
    if (shown == text()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect().adjusted(margin(), margin(), -margin(), -margin()),
                          static_cast<int>(alignment()), palette(), isEnabled(), shown, foregroundRole());
}

}  // namespace tomefuse
