#pragma once

#include <QTimer>
#include <QWidget>
#include <optional>

#include "platform/qt/preview/PreviewProtocol.h"
#include "platform/qt/preview/PreviewSource.h"

class QLabel;
class QModelIndex;
class QSplitter;
class QStackedWidget;
class QStandardItemModel;
class QTreeView;

namespace tomefuse {

class PageGridModel;
class PageGridView;
class Thumbnails;
struct ThumbnailKey;

// The pane beside the list: the pages of one file as thumbnails in a scrolling grid, and the
// file's bookmarks as a tree above them; a bookmark clicked scrolls the grid to its page. A file
// that does not open shows why instead. While hidden the pane reads nothing.
class PreviewPane final : public QWidget {
    Q_OBJECT

  public:
    enum class State { NoSelection, Opening, Pages, Unreadable };
    // The role under which a bookmark gives its page (0-based; -1 for none).
    static constexpr int PageRole = Qt::UserRole + 1;

    explicit PreviewPane(Thumbnails& thumbnails, QWidget* parent = nullptr);

    // Shows a file, titled with its name in the list. The same source again changes nothing.
    void showSource(const PreviewSource& source, const QString& title);
    void showNothing();

    State state() const { return state_; }
    // Why the file shows no pages, e.g. "needs a password"; empty unless Unreadable.
    const QString& reason() const { return reason_; }
    // The text shown instead of pages.
    QString message() const;
    const std::optional<PreviewSource>& source() const { return source_; }
    QString title() const;

    PageGridView* grid() const { return grid_; }
    PageGridModel* pages() const { return pages_; }
    QTreeView* bookmarks() const { return bookmarks_; }
    // Where the bookmarks go: the tree, or what it says until they are read.
    QStackedWidget* bookmarkArea() const { return bookmarkArea_; }
    QLabel* bookmarkNote() const { return bookmarkNote_; }
    QStandardItemModel* bookmarkModel() const { return bookmarkModel_; }

    static QString reasonText(preview::Failure failure);

  signals:
    // A thumbnail was double-clicked: the file is to be opened as the list's double click does.
    void openRequested();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void setState(State state, const QString& reason = {});
    void load();
    void opened(const preview::Request& request, const preview::Reply& reply);
    void outlineRead(const preview::Request& request, const preview::Reply& reply);
    void thumbnailReady(const ThumbnailKey& key);
    void requestVisiblePages();
    void goToBookmark(const QModelIndex& index);
    void clearBookmarks();
    bool isCurrent(const preview::Request& request) const;
    QSize deviceBox() const;

    Thumbnails& thumbnails_;
    std::optional<PreviewSource> source_;
    bool loaded_ = false;
    State state_ = State::NoSelection;
    QString reason_;

    QLabel* title_;
    QStackedWidget* stack_;
    QLabel* message_;
    QSplitter* content_;
    QStackedWidget* bookmarkArea_;
    QLabel* bookmarkNote_;
    QTreeView* bookmarks_;
    QStandardItemModel* bookmarkModel_;
    PageGridView* grid_;
    PageGridModel* pages_;
    QTimer visibleTimer_;  // gathers the moves of one turn of the event loop into one request
};

}  // namespace tomefuse
