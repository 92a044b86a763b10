// The table's part in drag and drop: where a drop lands, what the data source makes of it, the
// line that shows it, and the rows dragged out.

#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <memory>

#include "platform/desktop/TableDataSource.h"
#include "platform/qt/PdfTableModel.h"
#include "platform/qt/PdfTableView.h"
#include "platform/qt/QtPasswordPanel.h"
#include "platform/qt/QtPasteboard.h"

namespace tomefuse {

namespace {

Qt::DropAction actionForOperation(NSDragOperation operation, Qt::DropActions possible) {
    // A file drop only ever copies: answering Move to a file manager would let it delete the file.
    if (operation == NSDragOperationMove && (possible & Qt::MoveAction)) {
        return Qt::MoveAction;
    }
    if (operation == NSDragOperationCopy && (possible & Qt::CopyAction)) {
        return Qt::CopyAction;
    }
    return Qt::IgnoreAction;
}

}  // namespace

PdfTableView::DropTarget PdfTableView::dropTargetAt(const QPoint& viewportPos) const {
    const int rows = model_.rowCount();
    const int row = rowAt(viewportPos.y());
    if (row < 0) {
        // Empty space below the last row: the drop goes after it.
        return {viewportPos.y() < 0 ? 0 : rows, NSTableViewDropAbove};
    }
    const int top = rowViewportPosition(row);
    if (viewportPos.y() - top < rowHeight(row) / 2) {
        return {row, NSTableViewDropAbove};
    }
    return {row + 1, NSTableViewDropAbove};
}

bool PdfTableView::carriesRegisteredType(const QMimeData* data) const {
    if (!data) {
        return false;
    }
    return std::any_of(registeredMimeTypes_.begin(), registeredMimeTypes_.end(),
                       [data](const QString& type) { return data->hasFormat(type); });
}

const void* PdfTableView::draggingSourceFor(const QObject* source) const {
    // The data source knows this table by its TableView address, not by its QObject address.
    if (source == this || source == viewport()) {
        return static_cast<const TableView*>(this);
    }
    return source;
}

Qt::DropAction PdfTableView::validateDrop(const QMimeData* data, const QPoint& viewportPos, const QObject* source,
                                          Qt::DropActions possible) {
    if (!carriesRegisteredType(data)) {
        return Qt::IgnoreAction;
    }
    const DropTarget target = dropTargetAt(viewportPos);
    QtDraggingInfo info(draggingSourceFor(source), data);
    return actionForOperation(source_.validateDrop(info, target.row, target.operation), possible);
}

Qt::DropAction PdfTableView::performDrop(const QMimeData* data, const QPoint& viewportPos, const QObject* source,
                                         Qt::DropActions possible) {
    const Qt::DropAction action = validateDrop(data, viewportPos, source, possible);
    if (action == Qt::IgnoreAction) {
        return action;
    }
    const DropTarget target = dropTargetAt(viewportPos);
    QtDraggingInfo info(draggingSourceFor(source), data);
    return source_.acceptDrop(info, target.row, target.operation) ? action : Qt::IgnoreAction;
}

void PdfTableView::setDropIndicator(const DropTarget& target) {
    if (!dropIndicatorShown_ || dropIndicator_.row != target.row || dropIndicator_.operation != target.operation) {
        dropIndicatorShown_ = true;
        dropIndicator_ = target;
        viewport()->update();
    }
}

void PdfTableView::clearDropIndicator() {
    if (dropIndicatorShown_) {
        dropIndicatorShown_ = false;
        viewport()->update();
    }
}

void PdfTableView::startDrag(Qt::DropActions) {
    // The rows that move are the selected ones, whatever the drag began on.
    const IndexSet rows = selectedRowIndexes();
    if (rows.empty()) {
        return;
    }
    auto data = std::make_unique<QMimeData>();
    QtPasteboard pasteboard(nullptr, data.get());
    if (!source_.writeRowsWithIndexes(rows, pasteboard)) {
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(data.release());
    QPoint hotSpot;
    const QPixmap pixmap = dragPixmap(rows, hotSpot);
    if (!pixmap.isNull()) {
        drag->setPixmap(pixmap);
        drag->setHotSpot(hotSpot);
    }
    // The drop on this table moves the rows itself; nothing is left to remove afterwards.
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

QPixmap PdfTableView::dragPixmap(const IndexSet& rows, QPoint& hotSpot) const {
    // The names of the rows in view, stacked without the unselected rows between them.
    const int width =
        std::min(columnViewportPosition(PdfTableModel::NameColumn) + columnWidth(PdfTableModel::NameColumn),
                 viewport()->width());
    std::vector<QRect> parts;
    int height = 0;
    for (uint64_t row : rows) {
        const auto r = static_cast<int>(row);
        const QRect part = QRect(0, rowViewportPosition(r), width, rowHeight(r)) & viewport()->rect();
        if (!part.isEmpty()) {
            parts.push_back(part);
            height += part.height();
        }
    }
    if (parts.empty() || width <= 0) {
        return {};
    }
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(QSize(width, height) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setOpacity(0.5);
    int y = 0;
    for (const QRect& part : parts) {
        painter.drawPixmap(0, y, viewport()->grab(part));
        y += part.height();
    }
    // Below and right of the pointer: the drop line is never more than half a row from the
    // pointer, so it stays in sight even where the desktop cannot show the image translucent.
    hotSpot = QPoint(-12, -(parts.front().height() / 2 + 4));
    return pixmap;
}

void PdfTableView::dragEnterEvent(QDragEnterEvent* event) {
    // Whether a drop is taken depends on where it lands; the moves decide.
    if (!carriesRegisteredType(event->mimeData())) {
        event->ignore();
        return;
    }
    event->accept();
    dragMoveEvent(event);
    event->accept();
}

void PdfTableView::dragMoveEvent(QDragMoveEvent* event) {
    const QPoint pos = event->position().toPoint();
    const Qt::DropAction action = validateDrop(event->mimeData(), pos, event->source(), event->possibleActions());
    if (action == Qt::IgnoreAction) {
        clearDropIndicator();
        event->ignore();
    } else {
        setDropIndicator(dropTargetAt(pos));
        event->setDropAction(action);
        event->accept();
    }
    const int margin = autoScrollMargin();
    if (pos.y() < margin || pos.y() > viewport()->height() - margin) {
        startAutoScroll();
    }
}

void PdfTableView::dragLeaveEvent(QDragLeaveEvent* event) {
    stopAutoScroll();
    clearDropIndicator();
    event->accept();
}

void PdfTableView::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    clearDropIndicator();
    const QPoint pos = event->position().toPoint();
    const Qt::DropActions possible = event->possibleActions();
    Qt::DropAction action = Qt::IgnoreAction;
    if (event->source() == this || event->source() == viewport()) {
        action = performDrop(event->mimeData(), pos, event->source(), possible);
    } else {
        // Files from elsewhere: the drag is not over while this runs, and no dialog may run inside
        // it, as a protected file's password would. The drop is taken now and its files added
        // right after, from a copy of what the drag carried.
        action = validateDrop(event->mimeData(), pos, event->source(), possible);
        if (action != Qt::IgnoreAction) {
            auto data = std::make_shared<QMimeData>();
            for (const QString& type : registeredMimeTypes_) {
                if (event->mimeData()->hasFormat(type)) {
                    data->setData(type, event->mimeData()->data(type));
                }
            }
            auto drop = [this, data, pos, possible, source = QPointer<QObject>(event->source())] {
                performDrop(data.get(), pos, source.data(), possible);
            };
            QtPasswordPanel::whenNotAsking(this, std::move(drop));
        }
    }
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}

}  // namespace tomefuse
