#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <string>

namespace tomefuse {

class TableDataSource;

// The document list as Qt sees it. It holds nothing: every answer comes from the data source,
// and every edit goes back to it. The table view resets it when the data source reloads it.
class PdfTableModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { NameColumn, PagesColumn, BookmarksColumn, LocationColumn, ColumnCount };
    // The role under which a column's header gives the column's identifier.
    static constexpr int IdentifierRole = Qt::UserRole + 1;
    // A cell's shorter texts, longest first, for a column too narrow for its text: none where
    // cutting the text cannot make it read as something else.
    static constexpr int ShorterTextsRole = Qt::UserRole + 2;

    explicit PdfTableModel(TableDataSource& source, QObject* parent = nullptr);

    // The key of the entry that a column shows; empty for a column out of range.
    static std::string identifier(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

    // The list changed: everything is asked for again. A list of the same length
    // is only repainted, which keeps the selection and an open editor; any other is reset.
    // Answers whether the model was reset.
    bool reload();

    // The Name cell's icon of a row; none unless set.
    using RowIcon = std::function<QVariant(int row)>;
    void setRowIcon(RowIcon rowIcon) { rowIcon_ = std::move(rowIcon); }
    // A row's icon changed: the view paints it again.
    void rowIconChanged(int row);

  private:
    QVariant pagesText(int row) const;
    TableDataSource& source_;
    RowIcon rowIcon_;
    // The row count last announced: the list changes before the table is told.
    int rows_ = 0;
};

}  // namespace tomefuse
