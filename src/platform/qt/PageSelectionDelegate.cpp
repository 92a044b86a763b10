#include "platform/qt/PageSelectionDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>

#include "platform/desktop/TableDataSource.h"
#include "platform/qt/PdfTableModel.h"

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

void PageSelectionDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (refusedIndex_.isValid() && refusedIndex_ == index) {
        static_cast<QLineEdit*>(editor)->setText(refusedText_);
        refusedIndex_ = QPersistentModelIndex();
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void PageSelectionDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    const QString typed = static_cast<QLineEdit*>(editor)->text();
    const int row = index.row();
    const int column = index.column();
    const bool taken = source_.acceptsObjectValue(typed.toStdString(), PdfTableModel::identifier(column), row);
    // The list checks the selection against the file and says what is wrong; it keeps the old one.
    QStyledItemDelegate::setModelData(editor, model, index);
    const QModelIndex cell = model->index(row, column);
    auto* view = qobject_cast<QAbstractItemView*>(parent());
    if (taken || !view || !cell.isValid()) {
        return;
    }
    refusedIndex_ = cell;
    refusedText_ = typed;
    // After the editor that is closing has gone.
    QTimer::singleShot(0, view, [this, view, target = QPersistentModelIndex(cell)] {
        if (target.isValid()) {
            view->edit(target);
        }
        refusedIndex_ = QPersistentModelIndex();
    });
}

void PageSelectionDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    // Cut in the middle, "108 of 113" would read as a range.
    option->textElideMode = Qt::ElideRight;
    if (option->rect.isValid()) {
        option->text = shownText(*option, index);
    }
}

QString PageSelectionDelegate::shownText(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    QStyledItemDelegate::initStyleOption(&cell, index);
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    // As the style lays the text out in the cell.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    const int room = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, option.widget).width() - 2 * margin;
    if (cell.fontMetrics.horizontalAdvance(cell.text) <= room) {
        return cell.text;
    }
    const QStringList shorter = index.data(PdfTableModel::ShorterTextsRole).toStringList();
    for (const QString& text : shorter) {
        if (cell.fontMetrics.horizontalAdvance(text) <= room) {
            return text;
        }
    }
    return shorter.isEmpty() ? cell.text : shorter.back();
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
