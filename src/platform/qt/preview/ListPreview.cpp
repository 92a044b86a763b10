#include "platform/qt/preview/ListPreview.h"

#include <QPainter>
#include <QSet>

#include "platform/desktop/TableDataSource.h"
#include "platform/qt/PdfTableModel.h"
#include "platform/qt/PdfTableView.h"
#include "platform/qt/QtStrings.h"
#include "platform/qt/preview/PageGrid.h"
#include "platform/qt/preview/PreviewPane.h"
#include "platform/qt/preview/Thumbnails.h"

namespace tomefuse {

ListPreview::ListPreview(const TableDataSource& list, PdfTableView& table, PdfTableModel& model, QObject* parent)
    : QObject(parent),
      list_(list),
      table_(table),
      model_(model),
      thumbnails_(new Thumbnails(PreviewWorker::defaultProgram(), this)),
      pane_(new PreviewPane(*thumbnails_)) {
    blankIcon_ = QPixmap(rowIconBox);
    blankIcon_.fill(Qt::transparent);
    table_.setIconSize(rowIconBox);
    model_.setRowIcon([this](int row) { return rowIcon(row); });

    connect(table_.selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListPreview::showSelectedRow);
    connect(table_.selectionModel(), &QItemSelectionModel::currentChanged, this, &ListPreview::showSelectedRow);
    connect(&model_, &QAbstractItemModel::modelReset, this, &ListPreview::listChanged);
    connect(&model_, &QAbstractItemModel::rowsRemoved, this, &ListPreview::listChanged);
    connect(&model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                // Repaints for a drawn icon change nothing in the list.
                if (roles != QList<int>{Qt::DecorationRole}) {
                    listChanged();
                }
            });
    connect(thumbnails_, &Thumbnails::thumbnailReady, this, &ListPreview::thumbnailReady);
}

ListPreview::~ListPreview() {
    model_.setRowIcon({});
    delete pane_;
}

namespace {

// The document the preview shows of a row: its pages are the entry's.
QString documentOf(const RowFile& file) {
    return preview::documentName({fromStdPath(file.path), static_cast<int>(file.imagePages),
                                  file.partnerPath.empty() ? QString() : fromStdPath(file.partnerPath),
                                  file.partnerReversed});
}

}  // namespace

std::optional<PreviewSource> ListPreview::sourceAt(int64_t row) const {
    const std::optional<RowFile> file = list_.previewFileAtRow(row);
    if (!file) {
        return std::nullopt;
    }
    PreviewSource source;
    source.path = documentOf(*file);
    source.password = QString::fromStdString(file->password);
    source.partnerPassword = QString::fromStdString(file->partnerPassword);
    // The list counts the first file's bookmarks only.
    source.bookmarks = file->partnerPath.empty() ? static_cast<qint64>(file->outlinecount) : -1;
    source.turns = QList<int>(file->turns.begin(), file->turns.end());
    if (const auto pages = list_.pagesTakenAtRow(row)) {
        QSet<int> taken;
        for (uint64_t page : *pages) {
            taken.insert(static_cast<int>(page));
        }
        source.pagesTaken = std::move(taken);
    }
    return source;
}

QSize ListPreview::iconDeviceBox() const { return rowIconBox * table_.devicePixelRatioF(); }

QVariant ListPreview::rowIcon(int row) {
    const std::optional<RowFile> file = list_.previewFileAtRow(row);
    if (!file) {
        return {};
    }
    // Only the document and its passwords: the pages chosen do not change its first page.
    const ThumbnailKey key{documentOf(*file), 0, iconDeviceBox()};
    if (const Thumbnail* thumbnail = thumbnails_->cache().find(key)) {
        return framed(PageGridModel::turned(thumbnail->pixmap, file->turns.empty() ? 0 : file->turns.front()));
    }
    // Asked for while the row is painted: only rows on screen are drawn.
    PreviewSource source{key.path, QString::fromStdString(file->password), std::nullopt};
    source.partnerPassword = QString::fromStdString(file->partnerPassword);
    thumbnails_->wantFirstPage(source, key.box);
    return blankIcon_;
}

// The page in the middle of a square of the icon's size, framed: a white page on a white row
// would not show where it ends, and pages of other shapes would move the names.
QPixmap ListPreview::framed(const QPixmap& page) const {
    const double ratio = table_.devicePixelRatioF();
    QPixmap icon(iconDeviceBox());
    icon.setDevicePixelRatio(ratio);
    icon.fill(Qt::transparent);
    const QSizeF size = QSizeF(page.size()) / ratio;
    const QRectF target((rowIconBox.width() - size.width()) / 2, (rowIconBox.height() - size.height()) / 2,
                        size.width(), size.height());
    QPainter painter(&icon);
    painter.drawPixmap(target, page, QRectF(page.rect()));
    painter.setPen(QPen(table_.palette().color(QPalette::Mid), 0));
    painter.drawRect(target.adjusted(0, 0, -1 / ratio, -1 / ratio));
    return icon;
}

void ListPreview::showSelectedRow() {
    const int64_t row = table_.selectedRow();
    const std::optional<RowFile> file = list_.previewFileAtRow(row);
    const std::optional<PreviewSource> source = sourceAt(row);
    if (!file || !source) {
        pane_->showNothing();
        return;
    }
    pane_->showSource(*source, QString::fromStdString(file->filename));
}

void ListPreview::listChanged() {
    QSet<QString> paths;
    QHash<QString, FileStamp> stamps;
    const int64_t rows = list_.numberOfRowsInTableView();
    for (int64_t row = 0; row < rows; ++row) {
        if (const std::optional<RowFile> file = list_.previewFileAtRow(row)) {
            const QString path = documentOf(*file);
            paths.insert(path);
            stamps.insert(path, {file->fileSize, file->fileModified, file->partnerSize, file->partnerModified});
        }
    }
    // A file read again because it changed: what was drawn of it is of the old file.
    bool shownChanged = false;
    for (auto it = stamps.cbegin(); it != stamps.cend(); ++it) {
        if (const auto old = stamps_.constFind(it.key()); old != stamps_.cend() && *old != it.value()) {
            thumbnails_->release(it.key());
            shownChanged = shownChanged || (pane_->source() && pane_->source()->path == it.key());
        }
    }
    stamps_ = std::move(stamps);
    thumbnails_->retain(paths);
    if (shownChanged) {
        pane_->showNothing();
    }
    showSelectedRow();
}

void ListPreview::thumbnailReady(const ThumbnailKey& key) {
    if (key.page != 0 || key.box != iconDeviceBox()) {
        return;
    }
    const int64_t rows = list_.numberOfRowsInTableView();
    for (int64_t row = 0; row < rows; ++row) {
        const std::optional<RowFile> file = list_.previewFileAtRow(row);
        if (file && documentOf(*file) == key.path) {
            model_.rowIconChanged(static_cast<int>(row));
        }
    }
}

}  // namespace tomefuse
