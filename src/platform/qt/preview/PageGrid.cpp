#include "platform/qt/preview/PageGrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTransform>
#include <algorithm>

#include "platform/qt/preview/ThumbnailCache.h"

namespace tomefuse {

PageGridModel::PageGridModel(const ThumbnailCache& cache, QObject* parent)
    : QAbstractListModel(parent), cache_(cache) {}

void PageGridModel::setDocument(const PreviewSource& source, int pageCount, QSizeF pageSize, QSize box,
                                const QStringList& firstLabels) {
    beginResetModel();
    labels_ = firstLabels;
    if (!labels_.isEmpty()) {
        labels_.resize(std::max(pageCount, 0));
    }
    source_ = source;
    pageCount_ = std::max(pageCount, 0);
    if (pageSize.width() > 0 && pageSize.height() > 0) {
        aspect_ = pageSize.height() / pageSize.width();
    }
    box_ = box;
    endResetModel();
}

void PageGridModel::clear() { setDocument({}, 0, {}, {}); }

void PageGridModel::setPagesTaken(const PreviewSource& source) {
    const bool turnsChanged = source_.turns != source.turns;
    source_.pagesTaken = source.pagesTaken;
    source_.turns = source.turns;
    if (pageCount_ > 0) {
        emit dataChanged(index(0), index(pageCount_ - 1),
                         turnsChanged ? QList<int>{TakenRole, Qt::ToolTipRole, Qt::DecorationRole, AspectRole}
                                      : QList<int>{TakenRole, Qt::ToolTipRole});
    }
}

QPixmap PageGridModel::turned(const QPixmap& page, int degrees) {
    if (degrees % 360 == 0 || page.isNull()) {
        return page;
    }
    QPixmap result = page.transformed(QTransform().rotate(degrees));
    result.setDevicePixelRatio(page.devicePixelRatio());
    return result;
}

void PageGridModel::pageDrawn(int page, const QString& label) {
    if (page >= 0 && page < pageCount_) {
        if (page < labels_.size() && !label.isEmpty()) {
            labels_[page] = label;
        }
        const QModelIndex changed = index(page);
        emit dataChanged(changed, changed, {Qt::DecorationRole, Qt::DisplayRole});
    }
}

int PageGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : pageCount_; }

QVariant PageGridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const int page = index.row();
    // Finding does not draw: the pane asks for what is on screen.
    const Thumbnail* thumbnail = (role == Qt::DisplayRole || role == Qt::DecorationRole)
                                     ? cache_.find(ThumbnailKey{source_.path, page, box_})
                                     : nullptr;
    switch (role) {
        case Qt::DisplayRole:
            if (labels_.isEmpty()) {
                return QString::number(page + 1);
            }
            return !labels_[page].isEmpty() ? labels_[page] : (thumbnail ? thumbnail->label : QString());
        case Qt::AccessibleTextRole: {
            const QString name = tr("Page %1 of %2").arg(page + 1).arg(pageCount_);
            return source_.takes(page) ? name : tr("%1, left out").arg(name);
        }
        case Qt::DecorationRole:
            return thumbnail ? QVariant(turned(thumbnail->pixmap, source_.turn(page))) : QVariant();
        case Qt::ToolTipRole:
            return source_.takes(page) ? tr("Page %1").arg(page + 1) : tr("Page %1, left out").arg(page + 1);
        case TakenRole:
            return source_.takes(page);
        case AspectRole:
            return source_.turn(page) % 180 != 0 ? 1 / aspect_ : aspect_;
        default:
            return {};
    }
}

QSize PageDelegate::cellSize(QSize box, const QFontMetrics& metrics) {
    return {box.width() + 16, box.height() + metrics.height() + 16};
}

QSize PageDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return cellSize(PageGridView::thumbnailBox, option.fontMetrics);
}

void PageDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    painter->save();
    const QRect cell = option.rect.adjusted(4, 4, -4, -4);
    const int labelHeight = option.fontMetrics.height();
    const QRect area(cell.left(), cell.top(), cell.width(), cell.height() - labelHeight - 4);
    const QRect labelRect(cell.left(), area.bottom() + 4, cell.width(), labelHeight);

    // Thumbnails are drawn in device pixels to fit the box; a page not drawn yet takes the
    // first page's shape.
    const QPixmap pixmap = index.data(Qt::DecorationRole).value<QPixmap>();
    QSizeF shape;
    if (!pixmap.isNull()) {
        shape = QSizeF(pixmap.size()) / painter->device()->devicePixelRatioF();
    } else {
        const double aspect = index.data(PageGridModel::AspectRole).toDouble();
        shape = QSizeF(1, aspect > 0 ? aspect : 1.3).scaled(QSizeF(PageGridView::thumbnailBox), Qt::KeepAspectRatio);
    }
    const QSize size = shape.toSize().boundedTo(area.size());
    const QRect page(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2,
                     size.width(), size.height());

    const bool selected = option.state & QStyle::State_Selected;
    if (selected) {
        painter->fillRect(option.rect.adjusted(1, 1, -1, -1), option.palette.highlight().color().lighter(170));
    }
    if (!index.data(PageGridModel::TakenRole).toBool()) {
        painter->setOpacity(0.3);
    }
    if (pixmap.isNull()) {
        painter->fillRect(page, option.palette.base());
    } else {
        painter->drawPixmap(page, pixmap);
    }
    painter->setPen(selected ? option.palette.highlight().color() : option.palette.mid().color());
    painter->drawRect(page.adjusted(0, 0, -1, -1));
    painter->setPen(option.palette.text().color());
    painter->drawText(labelRect, Qt::AlignHCenter | Qt::AlignTop,
                      option.fontMetrics.elidedText(index.data().toString(), Qt::ElideMiddle, labelRect.width()));
    painter->restore();
}

PageGridView::PageGridView(QWidget* parent) : QListView(parent) {
    setViewMode(ListMode);
    setFlow(LeftToRight);
    setWrapping(true);
    setResizeMode(Adjust);
    setMovement(Static);
    setUniformItemSizes(true);
    // Pages are chosen as files are in a file manager, to be turned, taken or left out.
    setSelectionMode(ExtendedSelection);
    setVerticalScrollMode(ScrollPerPixel);
    setItemDelegate(new PageDelegate(this));
    setGridSize(PageDelegate::cellSize(thumbnailBox, fontMetrics()));
    verticalScrollBar()->setSingleStep(gridSize().height() / 4);
}

std::vector<int> PageGridView::visiblePages(int ahead) {
    std::vector<int> pages;
    if (!model() || model()->rowCount() == 0) {
        return pages;
    }
    executeDelayedItemsLayout();
    const QRect area = viewport()->rect();
    const QModelIndex first = indexAt(QPoint(gridSize().width() / 2, 1));
    const int rows = model()->rowCount();
    int more = ahead;
    for (int row = first.isValid() ? first.row() : 0; row < rows; ++row) {
        const QRect rect = visualRect(model()->index(row, 0));
        if (rect.top() >= area.bottom()) {
            if (more-- <= 0) {
                break;
            }
        } else if (!rect.intersects(area)) {
            continue;
        }
        pages.push_back(row);
    }
    return pages;
}

std::vector<uint64_t> PageGridView::selectedPages() const {
    std::vector<uint64_t> pages;
    if (!selectionModel()) {
        return pages;
    }
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        pages.push_back(static_cast<uint64_t>(index.row()));
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

bool PageGridView::pageVisible(int page) {
    if (!model() || page < 0 || page >= model()->rowCount()) {
        return false;
    }
    executeDelayedItemsLayout();
    return visualRect(model()->index(page, 0)).intersects(viewport()->rect());
}

void PageGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()) {
        emit pageDoubleClicked(index.row());
        event->accept();
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

void PageGridView::scrollContentsBy(int dx, int dy) {
    QListView::scrollContentsBy(dx, dy);
    emit viewportMoved();
}

void PageGridView::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    emit viewportMoved();
}

void PageGridView::updateGeometries() {
    QListView::updateGeometries();
    emit viewportMoved();
}

}  // namespace tomefuse
