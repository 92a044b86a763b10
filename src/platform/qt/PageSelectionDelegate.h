#pragma once

#include <QStyledItemDelegate>

namespace tomefuse {

// Edits the pages taken from a file in its Pages cell: a line wide enough for a few ranges,
// saying how they are written.
class PageSelectionDelegate final : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // How a selection is written, for the editor's placeholder and tooltip.
    static QString placeholderText();
    static QString syntaxText();

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
};

}  // namespace tomefuse
