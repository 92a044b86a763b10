#include "platform/qt/PdfTableView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>

#include "platform/desktop/TableDataSource.h"
#include "platform/qt/PageSelectionDelegate.h"
#include "platform/qt/PdfTableModel.h"
#include "platform/qt/QtPasteboard.h"

namespace tomefuse {

PdfTableView::PdfTableView(TableDataSource& source, PdfTableModel& model, QWidget* parent)
    : QTableView(parent), source_(source), model_(model) {
    setModel(&model_);
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(EditKeyPressed);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    setColumnWidth(PdfTableModel::NameColumn, 220);
    setColumnWidth(PdfTableModel::PagesColumn, 70);
    setColumnWidth(PdfTableModel::BookmarksColumn, 90);
    setItemDelegateForColumn(PdfTableModel::PagesColumn, new PageSelectionDelegate(source_, this));
    setSortIndicator(std::nullopt);
    fitColumns();

    // Tab leaves the table for the toolbar rather than walking its cells.
    setTabKeyNavigation(false);
    setAccessibleName(tr("Files to combine"));
    connect(&model_, &QAbstractItemModel::modelReset, this, &PdfTableView::describeList);
    describeList();
    // A click on a header sorts the list itself; the table goes on showing the list's order. The
    // header takes no focus, so a name being typed is committed first, or it would land on the
    // entry that the sort brings to its row.
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        endEditing();
        source_.didClickTableColumn(PdfTableModel::identifier(section));
    });

    setDragEnabled(true);
    setDragDropMode(DragDrop);
    setDropIndicatorShown(false);  // painted here, where the data source's drop row is known
    // Nothing is taken until the types wanted are registered.
    setAcceptDrops(false);
}

QString PdfTableView::emptyListHint() { return tr("Drop PDF files here, or choose Add…"); }

void PdfTableView::reloadData() {
    // A reset forgets the selection: the rows still in the list get theirs back, as they would
    // in a table that keeps its selection by row number.
    const IndexSet selected = selectedRowIndexes();
    const QModelIndex current = currentIndex();
    const int currentRow = current.isValid() ? current.row() : -1;
    const int currentColumn = current.isValid() ? current.column() : 0;

    const bool reset = model_.reload();
    fitColumns();
    if (!reset) {
        viewport()->update();
        return;
    }

    if (currentRow >= 0 && currentRow < model_.rowCount()) {
        selectionModel()->setCurrentIndex(model_.index(currentRow, currentColumn), QItemSelectionModel::NoUpdate);
    }
    selectRowIndexes(selected, false);
    viewport()->update();
}

int64_t PdfTableView::selectedRow() const {
    const IndexSet rows = selectedRowIndexes();
    if (rows.empty()) {
        return -1;
    }
    const QModelIndex current = currentIndex();
    if (current.isValid() && rows.contains(static_cast<uint64_t>(current.row()))) {
        return current.row();
    }
    return static_cast<int64_t>(*rows.begin());
}

IndexSet PdfTableView::selectedRowIndexes() const {
    IndexSet rows;
    if (!selectionModel()) {
        return rows;
    }
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rows.insert(static_cast<uint64_t>(row));
        }
    }
    return rows;
}

void PdfTableView::selectRowIndexes(const IndexSet& indexes, bool byExtendingSelection) {
    const auto rows = static_cast<uint64_t>(model_.rowCount());
    const int lastColumn = model_.columnCount() - 1;
    QItemSelection selection;
    // One range per run of consecutive rows.
    for (auto it = indexes.begin(); it != indexes.end() && *it < rows;) {
        const uint64_t first = *it;
        uint64_t last = first;
        while (++it != indexes.end() && *it == last + 1 && *it < rows) {
            last = *it;
        }
        selection.select(model_.index(static_cast<int>(first), 0), model_.index(static_cast<int>(last), lastColumn));
    }
    if (!byExtendingSelection && !selection.isEmpty()) {
        const QModelIndex current = currentIndex();
        if (!current.isValid() || !selection.contains(current)) {
            selectionModel()->setCurrentIndex(selection.first().topLeft(), QItemSelectionModel::NoUpdate);
        }
    }
    const auto command = byExtendingSelection ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect;
    selectionModel()->select(selection, command);
}

void PdfTableView::registerForDraggedTypes(const std::vector<std::string>& types) {
    registeredMimeTypes_.clear();
    for (const auto& type : types) {
        registeredMimeTypes_ << mimeTypeForDragType(type);
    }
    setAcceptDrops(!registeredMimeTypes_.isEmpty());
    viewport()->setAcceptDrops(!registeredMimeTypes_.isEmpty());
}

void PdfTableView::setDoubleAction(std::function<void()> action) { doubleAction_ = std::move(action); }

void PdfTableView::scrollRowToVisible(int64_t row) {
    if (row >= 0 && row < model_.rowCount()) {
        scrollTo(model_.index(static_cast<int>(row), 0));
    }
}

void PdfTableView::editColumn(const std::string& identifier, int64_t row) {
    for (int column = 0; column < model_.columnCount(); ++column) {
        if (PdfTableModel::identifier(column) == identifier && row >= 0 && row < model_.rowCount()) {
            const QModelIndex index = model_.index(static_cast<int>(row), column);
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
            edit(index);
            return;
        }
    }
}

void PdfTableView::setSortIndicator(const std::optional<SortIndicator>& indicator) {
    QHeaderView* header = horizontalHeader();
    int section = -1;
    for (int column = 0; indicator && column < model_.columnCount(); ++column) {
        if (PdfTableModel::identifier(column) == indicator->identifier) {
            section = column;
        }
    }
    header->setSortIndicatorShown(section >= 0);
    // A section of -1 shows no arrow.
    header->setSortIndicator(section, indicator && indicator->descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void PdfTableView::fitColumns() {
    QHeaderView* header = horizontalHeader();
    // Room for the sort arrow too, which a click on the title brings.
    const int arrow = style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header) +
                      2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int cellMargins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 4;
    for (int column = 0; column < model_.columnCount() - 1; ++column) {
        int wanted = header->fontMetrics().horizontalAdvance(model_.headerData(column, Qt::Horizontal).toString()) +
                     2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + arrow;
        if (column == PdfTableModel::PagesColumn) {
            // The longest count shown, so that "108 of 113" is never cut.
            for (int row = 0; row < model_.rowCount(); ++row) {
                const QString text = model_.index(row, column).data().toString();
                wanted = std::max(wanted, fontMetrics().horizontalAdvance(text) + cellMargins);
            }
        }
        if (columnWidth(column) < wanted) {
            setColumnWidth(column, wanted);
        }
    }
}

void PdfTableView::endEditing() {
    if (state() != EditingState) {
        return;
    }
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void PdfTableView::describeList() { setAccessibleDescription(model_.rowCount() == 0 ? emptyListHint() : QString()); }

void PdfTableView::runDoubleAction() {
    if (doubleAction_) {
        doubleAction_();
    }
}

void PdfTableView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && (model_.flags(index) & Qt::ItemIsEditable)) {
        edit(index);
        return;
    }
    runDoubleAction();
}

void PdfTableView::keyPressEvent(QKeyEvent* event) {
    // Return does what a double click on the row does, for the keyboard.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState &&
        event->modifiers() == Qt::NoModifier) {
        event->accept();
        runDoubleAction();
        return;
    }
    // Shift+F10 shows the row's menu as the menu key does, for keyboards without one.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier &&
        contextMenuPolicy() == Qt::CustomContextMenu) {
        event->accept();
        const QModelIndex current = currentIndex();
        const QPoint at = current.isValid() ? visualRect(current).center() : viewport()->rect().center();
        emit customContextMenuRequested(viewport()->mapTo(this, at));
        return;
    }
    // Home, End, Page Up and Page Down go between rows and select, with Control or without, as in
    // a file manager's list; Shift extends the selection. Qt's own would move between columns, or
    // move without selecting when Control is held. Alt with them moves the rows themselves.
    const bool rowKey = event->key() == Qt::Key_Home || event->key() == Qt::Key_End || event->key() == Qt::Key_PageUp ||
                        event->key() == Qt::Key_PageDown;
    if (rowKey && !(event->modifiers() & ~(Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier))) {
        QKeyEvent withoutControl(event->type(), event->key(), event->modifiers() & ~Qt::ControlModifier, event->text(),
                                 event->isAutoRepeat(), event->count());
        QTableView::keyPressEvent(&withoutControl);
        event->setAccepted(withoutControl.isAccepted());
        // Already on the row it goes to (the first, where the focus put it), Qt's would select
        // nothing.
        const QModelIndex current = currentIndex();
        if (!(event->modifiers() & Qt::ShiftModifier) && current.isValid() &&
            !selectionModel()->isRowSelected(current.row(), {})) {
            selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
        return;
    }
    QTableView::keyPressEvent(event);
}

QModelIndex PdfTableView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    if (cursorAction == MoveHome || cursorAction == MoveEnd) {
        // The first or last row, not the first or last cell of the row: Qt's with Control, in the
        // column the cursor is in. Qt's would go to the first or last column too, and scroll the
        // names out of sight where the window is narrower than the columns.
        const QModelIndex row = QTableView::moveCursor(cursorAction, modifiers | Qt::ControlModifier);
        const QModelIndex current = currentIndex();
        return row.isValid() && current.isValid() ? model_.index(row.row(), current.column()) : row;
    }
    return QTableView::moveCursor(cursorAction, modifiers);
}

void PdfTableView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    // A larger desktop font would cut the titles ("Bookmarks" showing as "ookmarks"); once the
    // header has the new font too.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        QMetaObject::invokeMethod(this, &PdfTableView::fitColumns, Qt::QueuedConnection);
    }
}

void PdfTableView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    QPainter painter(viewport());
    const int rows = model_.rowCount();
    if (rows == 0) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(viewport()->rect().adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap,
                         emptyListHint());
    }
    if (dropIndicatorShown_) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        const auto row = static_cast<int>(dropIndicator_.row);
        int y = 1;
        if (row < rows) {
            y = std::max(1, rowViewportPosition(row));
        } else if (rows > 0) {
            y = rowViewportPosition(rows - 1) + rowHeight(rows - 1);
        }
        painter.drawLine(0, y, viewport()->width(), y);
    }
}

}  // namespace tomefuse
