#include "platform/qt/AccessibleCells.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QHash>
#include <QLatin1String>
#include <utility>

namespace tomefuse {

namespace {

using Relations = QList<QPair<QAccessibleInterface*, QAccessible::Relation>>;

// The view whose interface Qt's own factory, further down the list, is making right now.
const QObject* makingQtsOwn = nullptr;

// Qt's interfaces are held by id and looked up on each use: Qt deletes a cell's interface when
// its row goes, and the lookup then finds nothing instead of a dangling pointer.
QAccessibleInterface* lookUp(QAccessible::Id id) { return QAccessible::accessibleInterface(id); }

// Answers as one of Qt's interfaces does, looked up by id at each question.
class Forwarding : public QAccessibleInterface {
  public:
    explicit Forwarding(QAccessible::Id qts) : qts_(qts) {}
    QAccessible::Id qts() const { return qts_; }

    bool isValid() const override {
        QAccessibleInterface* own = qtsInterface();
        return own && own->isValid();
    }
    QWindow* window() const override { return ask(&QAccessibleInterface::window); }
    Relations relations(QAccessible::Relation match) const override {
        QAccessibleInterface* own = qtsInterface();
        return own ? own->relations(match) : Relations();
    }
    QAccessibleInterface* parent() const override { return ask(&QAccessibleInterface::parent); }
    int childCount() const override { return ask(&QAccessibleInterface::childCount); }
    QString text(QAccessible::Text type) const override {
        QAccessibleInterface* own = qtsInterface();
        return own ? own->text(type) : QString();
    }
    void setText(QAccessible::Text type, const QString& text) override {
        if (QAccessibleInterface* own = qtsInterface()) {
            own->setText(type, text);
        }
    }
    QRect rect() const override { return ask(&QAccessibleInterface::rect); }
    QAccessible::Role role() const override {
        QAccessibleInterface* own = qtsInterface();
        return own ? own->role() : QAccessible::NoRole;
    }
    QColor foregroundColor() const override { return ask(&QAccessibleInterface::foregroundColor); }
    QColor backgroundColor() const override { return ask(&QAccessibleInterface::backgroundColor); }

  protected:
    QAccessibleInterface* qtsInterface() const { return lookUp(qts_); }
    template <typename Result>
    Result ask(Result (QAccessibleInterface::*question)() const) const {
        QAccessibleInterface* own = qtsInterface();
        return own ? (own->*question)() : Result();
    }

  private:
    QAccessible::Id qts_;
};

// One of Qt's cells, the same to screen readers but for the toggle of a cell that has nothing
// to check. (Qt's toggle selects or deselects the cell; selection has its own keys and calls.)
class Cell final : public Forwarding, public QAccessibleTableCellInterface, public QAccessibleActionInterface {
  public:
    using Forwarding::Forwarding;

    QObject* object() const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return ask(&QAccessibleInterface::focusChild); }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* cell = qtsInterface();
        return cell ? cell->childAt(x, y) : nullptr;
    }
    QAccessibleInterface* child(int index) const override {
        QAccessibleInterface* cell = qtsInterface();
        return cell ? cell->child(index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        QAccessibleInterface* cell = qtsInterface();
        return cell ? cell->indexOfChild(child) : -1;
    }
    QAccessible::State state() const override {
        QAccessibleInterface* cell = qtsInterface();
        QAccessible::State state;
        if (cell) {
            state = cell->state();
        } else {
            state.invalid = true;
        }
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        QAccessibleInterface* cell = qtsInterface();
        if (type == QAccessible::ActionInterface) {
            return actionNames().isEmpty() ? nullptr : static_cast<QAccessibleActionInterface*>(this);
        }
        if (type == QAccessible::TableCellInterface) {
            return cell && cell->tableCellInterface() ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
        }
        return cell ? cell->interface_cast(type) : nullptr;
    }

    bool isSelected() const override { return askCell(&QAccessibleTableCellInterface::isSelected); }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        return askCell(&QAccessibleTableCellInterface::columnHeaderCells);
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override {
        return askCell(&QAccessibleTableCellInterface::rowHeaderCells);
    }
    int columnIndex() const override { return askCell(&QAccessibleTableCellInterface::columnIndex, -1); }
    int rowIndex() const override { return askCell(&QAccessibleTableCellInterface::rowIndex, -1); }
    int columnExtent() const override { return askCell(&QAccessibleTableCellInterface::columnExtent); }
    int rowExtent() const override { return askCell(&QAccessibleTableCellInterface::rowExtent); }
    QAccessibleInterface* table() const override { return askCell(&QAccessibleTableCellInterface::table); }

    QStringList actionNames() const override {
        QAccessibleInterface* cell = qtsInterface();
        QAccessibleActionInterface* actions = cell ? cell->actionInterface() : nullptr;
        if (!actions) {
            return {};
        }
        QStringList names = actions->actionNames();
        if (!cell->state().checkable) {
            names.removeAll(toggleAction());
        }
        return names;
    }
    void doAction(const QString& name) override {
        if (actionNames().contains(name)) {
            qtsInterface()->actionInterface()->doAction(name);
        }
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (!actionNames().contains(name)) {
            return {};
        }
        return qtsInterface()->actionInterface()->keyBindingsForAction(name);
    }

  private:
    template <typename Result>
    Result askCell(Result (QAccessibleTableCellInterface::*question)() const, Result otherwise = Result()) const {
        QAccessibleInterface* cell = qtsInterface();
        QAccessibleTableCellInterface* tableCell = cell ? cell->tableCellInterface() : nullptr;
        return tableCell ? (tableCell->*question)() : otherwise;
    }
};

// Qt's interface for a view, handing out its cells as Cells. Headers and other children without
// actions are handed out as Qt made them.
class View final : public Forwarding, public QAccessibleTableInterface {
  public:
    View(QObject* view, QAccessible::Id qts) : Forwarding(qts), view_(view) {}
    ~View() override {
        for (const QAccessible::Id id : std::as_const(cells_)) {
            QAccessible::deleteAccessibleInterface(id);
        }
        QAccessible::deleteAccessibleInterface(qts());
    }
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    View(View&&) = delete;
    View& operator=(View&&) = delete;

    QObject* object() const override { return view_; }
    QAccessibleInterface* focusChild() const override { return cellOf(ask(&QAccessibleInterface::focusChild)); }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* view = qtsInterface();
        return view ? cellOf(view->childAt(x, y)) : nullptr;
    }
    QAccessibleInterface* child(int index) const override {
        QAccessibleInterface* view = qtsInterface();
        return view ? cellOf(view->child(index)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        QAccessibleInterface* view = qtsInterface();
        return view ? view->indexOfChild(qtsOf(child)) : -1;
    }
    QAccessible::State state() const override { return ask(&QAccessibleInterface::state); }
    void* interface_cast(QAccessible::InterfaceType type) override {
        QAccessibleInterface* view = qtsInterface();
        if (type == QAccessible::TableInterface) {
            return view && view->tableInterface() ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
        }
        return view ? view->interface_cast(type) : nullptr;
    }

    // The table's questions go to Qt's, with its cells handed out as Cells.
    QAccessibleInterface* caption() const override { return tableAsk(&QAccessibleTableInterface::caption); }
    QAccessibleInterface* summary() const override { return tableAsk(&QAccessibleTableInterface::summary); }
    QAccessibleInterface* cellAt(int row, int column) const override {
        QAccessibleTableInterface* qtsTable = table();
        return qtsTable ? cellOf(qtsTable->cellAt(row, column)) : nullptr;
    }
    int selectedCellCount() const override { return tableAsk(&QAccessibleTableInterface::selectedCellCount); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells = tableAsk(&QAccessibleTableInterface::selectedCells);
        for (QAccessibleInterface*& cell : cells) {
            cell = cellOf(cell);
        }
        return cells;
    }
    QString columnDescription(int column) const override {
        QAccessibleTableInterface* qtsTable = table();
        return qtsTable ? qtsTable->columnDescription(column) : QString();
    }
    QString rowDescription(int row) const override {
        QAccessibleTableInterface* qtsTable = table();
        return qtsTable ? qtsTable->rowDescription(row) : QString();
    }
    int columnCount() const override { return tableAsk(&QAccessibleTableInterface::columnCount); }
    int rowCount() const override { return tableAsk(&QAccessibleTableInterface::rowCount); }
    int selectedColumnCount() const override { return tableAsk(&QAccessibleTableInterface::selectedColumnCount); }
    int selectedRowCount() const override { return tableAsk(&QAccessibleTableInterface::selectedRowCount); }
    QList<int> selectedColumns() const override { return tableAsk(&QAccessibleTableInterface::selectedColumns); }
    QList<int> selectedRows() const override { return tableAsk(&QAccessibleTableInterface::selectedRows); }
    bool isColumnSelected(int column) const override {
        QAccessibleTableInterface* qtsTable = table();
        return qtsTable && qtsTable->isColumnSelected(column);
    }
    bool isRowSelected(int row) const override {
        QAccessibleTableInterface* qtsTable = table();
        return qtsTable && qtsTable->isRowSelected(row);
    }
    bool selectRow(int row) override { return tableDo(&QAccessibleTableInterface::selectRow, row); }
    bool selectColumn(int column) override { return tableDo(&QAccessibleTableInterface::selectColumn, column); }
    bool unselectRow(int row) override { return tableDo(&QAccessibleTableInterface::unselectRow, row); }
    bool unselectColumn(int column) override { return tableDo(&QAccessibleTableInterface::unselectColumn, column); }
    void modelChange(QAccessibleTableModelChangeEvent* event) override {
        if (QAccessibleTableInterface* qtsTable = table()) {
            qtsTable->modelChange(event);
        }
        forgetDroppedCells();
    }

  private:
    QAccessibleTableInterface* table() const {
        QAccessibleInterface* view = qtsInterface();
        return view ? view->tableInterface() : nullptr;
    }
    template <typename Result>
    Result tableAsk(Result (QAccessibleTableInterface::*question)() const) const {
        QAccessibleTableInterface* qtsTable = table();
        return qtsTable ? (qtsTable->*question)() : Result();
    }
    bool tableDo(bool (QAccessibleTableInterface::*change)(int), int which) {
        QAccessibleTableInterface* qtsTable = table();
        return qtsTable && (qtsTable->*change)(which);
    }

    // The Cell for one of Qt's cells, made on first asking and kept, so a screen reader meets the
    // same object (and id) each time.
    QAccessibleInterface* cellOf(QAccessibleInterface* qts) const {
        if (!qts || !qts->actionInterface()) {
            return qts;
        }
        const QAccessible::Id qtsId = QAccessible::uniqueId(qts);
        const auto found = cells_.constFind(qtsId);
        if (found != cells_.cend()) {
            return QAccessible::accessibleInterface(*found);
        }
        auto* cell = new Cell(qtsId);
        cells_.insert(qtsId, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    static const QAccessibleInterface* qtsOf(const QAccessibleInterface* child) {
        const auto* cell = dynamic_cast<const Cell*>(child);
        return cell ? lookUp(cell->qts()) : child;
    }
    // After Qt has dropped the cells of rows that went, the Cells standing for them go too.
    void forgetDroppedCells() {
        for (auto it = cells_.begin(); it != cells_.end();) {
            if (lookUp(it.key())) {
                ++it;
            } else {
                QAccessible::deleteAccessibleInterface(it.value());
                it = cells_.erase(it);
            }
        }
    }

    QObject* view_;
    mutable QHash<QAccessible::Id, QAccessible::Id> cells_;  // Qt's cell's id -> its Cell's id
};

}  // namespace

QAccessibleInterface* itemViewWithoutPlainToggles(const QString& key, QObject* object) {
    const bool itemView =
        key == QLatin1String("QTableView") || key == QLatin1String("QTreeView") || key == QLatin1String("QListView");
    if (!itemView || !object || object == makingQtsOwn || !qobject_cast<QAbstractItemView*>(object)) {
        return nullptr;
    }
    // Qt's own interface is made by asking for the view's while this factory stands aside; Qt
    // keeps it under an id of its own, which the wrapper deletes when it goes.
    const QObject* outer = std::exchange(makingQtsOwn, object);
    QAccessibleInterface* qts = QAccessible::queryAccessibleInterface(object);
    makingQtsOwn = outer;
    if (!qts) {
        return nullptr;
    }
    return new View(object, QAccessible::uniqueId(qts));
}

}  // namespace tomefuse
