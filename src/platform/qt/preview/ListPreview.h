#pragma once

#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QVariant>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "platform/qt/preview/PreviewSource.h"

namespace tomefuse {

class PdfTableModel;
class PdfTableView;
class PreviewPane;
class TableDataSource;
class Thumbnails;
struct ThumbnailKey;

// Joins the preview to the list: the pane shows the table's selected row, each row's Name
// carries its file's first page, and whatever was read of a file goes when its last row does,
// or when the file changes.
class ListPreview final : public QObject {
    Q_OBJECT

  public:
    // Logical pixels a row's first page fits in.
    static constexpr QSize rowIconBox{24, 24};

    ListPreview(const TableDataSource& list, PdfTableView& table, PdfTableModel& model, QObject* parent = nullptr);
    // Takes the pane down with it; the table and its model must still be there.
    ~ListPreview() override;

    PreviewPane* pane() const { return pane_; }
    Thumbnails& thumbnails() const { return *thumbnails_; }

    // The Name cell's icon of a row: the first page, or a blank of the same size until it is drawn.
    QVariant rowIcon(int row);

  private:
    // What the preview shows of a row's file. The one place that knows what a row holds.
    std::optional<PreviewSource> sourceAt(int64_t row) const;
    void showSelectedRow();
    void listChanged();
    void thumbnailReady(const ThumbnailKey& key);
    QSize iconDeviceBox() const;
    QPixmap framed(const QPixmap& page) const;

    const TableDataSource& list_;
    PdfTableView& table_;
    PdfTableModel& model_;
    Thumbnails* thumbnails_;
    PreviewPane* pane_;
    QPixmap blankIcon_;
    // Each listed document's files' sizes and modification times when they were read.
    using FileStamp = std::array<int64_t, 4>;
    QHash<QString, FileStamp> stamps_;
};

}  // namespace tomefuse
