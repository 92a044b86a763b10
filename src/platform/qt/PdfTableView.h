#pragma once

#include <QStringList>
#include <QTableView>
#include <functional>

#include "platform/desktop/Dragging.h"
#include "platform/desktop/TableView.h"

class QMimeData;

namespace tomefuse {

class PdfTableModel;
class TableDataSource;

// The document table. Editing begins with F2 or a double click on an editable (Name, Pages)
// cell; any other double click, on a row or on empty space, sends the double action. Drags of
// rows and drops of files go to the data source, which decides what they do; files dropped from
// elsewhere reach it once the drag is over.
class PdfTableView final : public QTableView, public TableView {
    Q_OBJECT

  public:
    PdfTableView(TableDataSource& source, PdfTableModel& model, QWidget* parent = nullptr);

    // TableView
    void reloadData() override;
    int64_t selectedRow() const override;
    IndexSet selectedRowIndexes() const override;
    void selectRowIndexes(const IndexSet& indexes, bool byExtendingSelection) override;
    void registerForDraggedTypes(const std::vector<std::string>& types) override;
    void setDoubleAction(std::function<void()> action) override;
    void scrollRowToVisible(int64_t row) override;
    void editColumn(const std::string& identifier, int64_t row) override;
    void setSortIndicator(const std::optional<SortIndicator>& indicator) override;

    // Widens the columns whose titles or counts would otherwise be cut, at the font in use.
    void fitColumns();

    // Commits and closes an open name editor.
    void endEditing();

    const QStringList& registeredMimeTypes() const { return registeredMimeTypes_; }
    static QString emptyListHint();

    // Drag and drop (PdfTableView_dragging.cpp).
    // Where a drop at a point of the viewport lands: the gap above a row (0 to the row count).
    // Every point of a row takes a drop: its upper half above it, its lower half below it.
    struct DropTarget {
        int64_t row = 0;
        NSTableViewDropOperation operation = NSTableViewDropAbove;
    };
    DropTarget dropTargetAt(const QPoint& viewportPos) const;

    // The drop entry points, with the drag's source given, so that they can be driven without a
    // platform drag. They answer the action taken, Qt::IgnoreAction when refused.
    Qt::DropAction validateDrop(const QMimeData* data, const QPoint& viewportPos, const QObject* source,
                                Qt::DropActions possible);
    Qt::DropAction performDrop(const QMimeData* data, const QPoint& viewportPos, const QObject* source,
                               Qt::DropActions possible);

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    bool carriesRegisteredType(const QMimeData* data) const;
    const void* draggingSourceFor(const QObject* source) const;
    void setDropIndicator(const DropTarget& target);
    void clearDropIndicator();
    void runDoubleAction();
    // Screen readers learn of the empty list's hint, which is only painted.
    void describeList();
    // The selected rows alone, half transparent, so the drop line shows through.
    QPixmap dragPixmap(const IndexSet& rows, QPoint& hotSpot) const;

    TableDataSource& source_;
    PdfTableModel& model_;
    std::function<void()> doubleAction_;
    QStringList registeredMimeTypes_;
    bool dropIndicatorShown_ = false;
    DropTarget dropIndicator_;
};

}  // namespace tomefuse
