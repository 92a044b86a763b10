#include "platform/qt/PageSelectionDelegate.h"

#include <QLineEdit>
#include <algorithm>

namespace tomefuse {

QString PageSelectionDelegate::placeholderText() { return tr("all, or 1-3, 7, 10-z"); }

QString PageSelectionDelegate::syntaxText() {
    return tr(
        "The pages to take, in order: “all”, or pages and ranges separated by commas, such as "
        "1-3, 7, 10-z. z is the last page; 9-5 takes pages backwards; a page may come more than once.");
}

QWidget* PageSelectionDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setPlaceholderText(placeholderText());
    editor->setToolTip(syntaxText());
    editor->setAccessibleName(tr("Pages"));
    editor->setAccessibleDescription(syntaxText());
    return editor;
}

void PageSelectionDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                                 const QModelIndex&) const {
    // The column is as wide as a count; ranges need more room, taken from the columns beside it.
    QRect rect = option.rect;
    const int wanted = editor->fontMetrics().horizontalAdvance(placeholderText()) + 24;
    rect.setWidth(std::max(rect.width(), wanted));
    editor->setGeometry(rect);
}

}  // namespace tomefuse
