#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

namespace tomefuse {

class TableDataSource;

// Edits the pages taken from a file in its Pages cell: a line wide enough for a few ranges,
// saying how they are written. A refused selection opens the cell again with what was typed, so
// the user mends the part the alert named instead of typing it all again.
class PageSelectionDelegate final : public QStyledItemDelegate {
    Q_OBJECT

  public:
    // The data source says whether what was typed would be taken.
    PageSelectionDelegate(const TableDataSource& source, QObject* parent)
        : QStyledItemDelegate(parent), source_(source) {}

    // How a selection is written, for the editor's placeholder and tooltip.
    static QString placeholderText();
    static QString syntaxText();

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // What a cell of the width shows: its text, or the longest of its shorter texts that fits.
    QString shownText(const QStyleOptionViewItem& option, const QModelIndex& index) const;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

  private:
    const TableDataSource& source_;
    // What was typed in a cell whose selection was refused, for the editor opened again.
    mutable QPersistentModelIndex refusedIndex_;
    mutable QString refusedText_;
};

}  // namespace tomefuse
