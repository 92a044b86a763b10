#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QPixmap>
#include <QSizeF>
#include <QStyledItemDelegate>
#include <cstdint>
#include <vector>

#include "platform/qt/preview/PreviewSource.h"

namespace tomefuse {

class ThumbnailCache;

// The pages of the previewed file, one row each: the label under the thumbnail, the thumbnail
// from the cache (none until it is drawn), and whether the combine takes the page.
class PageGridModel final : public QAbstractListModel {
    Q_OBJECT

  public:
    enum Role { TakenRole = Qt::UserRole + 1, AspectRole };

    PageGridModel(const ThumbnailCache& cache, QObject* parent = nullptr);

    // pageSize: the first page's, in points, for the shape of pages not drawn yet.
    // firstLabels: the page labels of the first pages, none when the file has no labels.
    void setDocument(const PreviewSource& source, int pageCount, QSizeF pageSize, QSize box,
                     const QStringList& firstLabels = {});
    void clear();
    // The same file, with other pages taken or turned.
    void setPagesTaken(const PreviewSource& source);
    // A drawn page as it shows, turned as the combine turns it.
    static QPixmap turned(const QPixmap& page, int degrees);
    // A thumbnail of this file came or went, with the page's label.
    void pageDrawn(int page, const QString& label = {});
    QSize box() const { return box_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    const ThumbnailCache& cache_;
    PreviewSource source_;
    int pageCount_ = 0;
    double aspect_ = 11.0 / 8.5;  // height over width: a US Letter page until the file says
    QSize box_;
    // Labels known so far, when the file has labels: a page is never shown with its number
    // first and its label later.
    QStringList labels_;
};

// Draws a page: the thumbnail, or a blank page of its shape until it comes, framed, with its
// label below; pages the combine leaves out are faded.
class PageDelegate final : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The cell of one page, for a thumbnail box of the given logical size.
    static QSize cellSize(QSize box, const QFontMetrics& metrics);
};

// The scrolling grid of pages. It tells which pages are on screen, so that only those are drawn.
class PageGridView final : public QListView {
    Q_OBJECT

  public:
    // Logical pixels a thumbnail fits in.
    static constexpr QSize thumbnailBox{112, 144};

    explicit PageGridView(QWidget* parent = nullptr);

    // The pages on screen in reading order, then up to `ahead` more that follow them.
    std::vector<int> visiblePages(int ahead = 0);
    // The pages chosen (click, Shift- and Ctrl-click, the arrow keys), 0-based, in order.
    std::vector<uint64_t> selectedPages() const;
    bool pageVisible(int page);

  signals:
    // Scrolled, resized or laid out again: the pages on screen may be others.
    void viewportMoved();
    void pageDoubleClicked(int page);

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
};

}  // namespace tomefuse
