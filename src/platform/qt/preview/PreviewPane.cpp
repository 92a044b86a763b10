#include "platform/qt/preview/PreviewPane.h"

#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include "platform/qt/ElidingLabel.h"
#include "platform/qt/preview/PageGrid.h"
#include "platform/qt/preview/Thumbnails.h"

namespace tomefuse {

using preview::Failure;
using preview::Reply;
using preview::Request;

PreviewPane::PreviewPane(Thumbnails& thumbnails, QWidget* parent)
    : QWidget(parent),
      thumbnails_(thumbnails),
      title_(new ElidingLabel(this)),
      stack_(new QStackedWidget(this)),
      message_(new QLabel(this)),
      content_(new QSplitter(Qt::Vertical, this)),
      bookmarkArea_(new QStackedWidget(this)),
      bookmarkNote_(new QLabel(this)),
      bookmarks_(new QTreeView(this)),
      bookmarkModel_(new QStandardItemModel(this)),
      grid_(new PageGridView(this)),
      pages_(new PageGridModel(thumbnails.cache(), this)) {
    title_->setTextFormat(Qt::PlainText);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignCenter);
    message_->setTextFormat(Qt::PlainText);
    message_->setMargin(12);

    // Screen readers and the Tab key reach the bookmarks and the pages after the list's commands.
    bookmarks_->setAccessibleName(tr("Bookmarks of the selected file"));
    grid_->setAccessibleName(tr("Pages of the selected file"));
    bookmarks_->setModel(bookmarkModel_);
    bookmarks_->setHeaderHidden(true);
    clearBookmarks();
    bookmarkNote_->setAlignment(Qt::AlignCenter);
    bookmarkNote_->setTextFormat(Qt::PlainText);
    bookmarkNote_->setWordWrap(true);
    bookmarkArea_->setAccessibleName(tr("Bookmarks of the selected file"));
    bookmarkArea_->addWidget(bookmarkNote_);
    bookmarkArea_->addWidget(bookmarks_);
    bookmarks_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    bookmarks_->setUniformRowHeights(true);
    grid_->setModel(pages_);
    content_->addWidget(bookmarkArea_);
    content_->addWidget(grid_);
    content_->setStretchFactor(0, 1);
    content_->setStretchFactor(1, 3);
    content_->setChildrenCollapsible(false);
    content_->handle(1)->setAccessibleName(tr("Divider between the bookmarks and the pages"));

    stack_->addWidget(message_);
    stack_->addWidget(content_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 0, 0);
    layout->addWidget(title_);
    layout->addWidget(stack_, 1);

    visibleTimer_.setSingleShot(true);
    visibleTimer_.setInterval(0);
    connect(&visibleTimer_, &QTimer::timeout, this, &PreviewPane::requestVisiblePages);
    connect(grid_, &PageGridView::viewportMoved, &visibleTimer_, qOverload<>(&QTimer::start));
    connect(grid_, &PageGridView::pageDoubleClicked, this, &PreviewPane::openRequested);
    connect(bookmarks_, &QAbstractItemView::clicked, this, &PreviewPane::goToBookmark);
    connect(bookmarks_, &QAbstractItemView::activated, this, &PreviewPane::goToBookmark);
    connect(&thumbnails_, &Thumbnails::opened, this, &PreviewPane::opened);
    connect(&thumbnails_, &Thumbnails::outlineRead, this, &PreviewPane::outlineRead);
    connect(&thumbnails_, &Thumbnails::thumbnailReady, this, &PreviewPane::thumbnailReady);
    setState(State::NoSelection);
}

QString PreviewPane::reasonText(Failure failure) {
    switch (failure) {
        case Failure::None:
            return {};
        case Failure::NotFound:
            return tr("cannot be found");
        case Failure::NotPdf:
            return tr("is not a PDF file, or is damaged");
        case Failure::NeedsPassword:
            return tr("needs a password");
        case Failure::WrongPassword:
            return tr("does not open with the password given");
        case Failure::UnsupportedSecurity:
            return tr("is protected in a way that cannot be read");
        case Failure::Unreadable:
        case Failure::ReaderFailed:
            return tr("cannot be read");
        case Failure::NoWorker:
            return tr("cannot be shown without tomefuse-preview-worker");
    }
    return tr("cannot be read");
}

QString PreviewPane::message() const { return message_->text(); }

QString PreviewPane::title() const { return title_->text(); }

void PreviewPane::setState(State state, const QString& reason) {
    state_ = state;
    reason_ = reason;
    switch (state) {
        case State::NoSelection:
            message_->setText(tr("Select a file in the list to see its pages and bookmarks."));
            stack_->setCurrentWidget(message_);
            break;
        case State::Unreadable:
            message_->setText(tr("This file %1.").arg(reason));
            stack_->setCurrentWidget(message_);
            break;
        case State::Opening:
        case State::Pages:
            message_->clear();
            stack_->setCurrentWidget(content_);
            break;
    }
}

void PreviewPane::showNothing() {
    source_.reset();
    loaded_ = false;
    title_->clear();
    title_->setToolTip({});
    pages_->clear();
    clearBookmarks();
    setState(State::NoSelection);
}

void PreviewPane::showSource(const PreviewSource& source, const QString& title) {
    if (source_ == source) {
        title_->setText(title);  // a rename
        return;
    }
    if (source_ && source_->path == source.path && source_->password == source.password &&
        source_->partnerPassword == source.partnerPassword) {
        // Other pages chosen: the same file, faded otherwise, where the user is looking.
        source_ = source;
        title_->setText(title);
        pages_->setPagesTaken(source);
        return;
    }
    source_ = source;
    loaded_ = false;
    title_->setText(title);
    const preview::Document document = preview::documentNamed(source.path);
    title_->setToolTip(document.partner.isEmpty() ? document.path : document.path + u'\n' + document.partner);
    pages_->clear();
    clearBookmarks();
    // Room is kept for the bookmarks the list counted, so the pages do not move when they come.
    bookmarkNote_->setText(tr("Reading bookmarks…"));
    bookmarkArea_->setCurrentWidget(bookmarkNote_);
    bookmarkArea_->setVisible(source.bookmarks != 0);
    setState(State::Opening);
    if (isVisible()) {
        load();
    }
}

void PreviewPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (source_ && !loaded_) {
        load();
    }
}

void PreviewPane::load() {
    loaded_ = true;
    thumbnails_.open(*source_);
    if (source_->bookmarks != 0) {
        thumbnails_.readOutline(*source_);
    }
}

void PreviewPane::clearBookmarks() {
    bookmarkModel_->clear();
    // Screen readers name the tree's one column even with its header hidden.
    bookmarkModel_->setHorizontalHeaderLabels({tr("Bookmarks")});
}

bool PreviewPane::isCurrent(const Request& request) const {
    return source_ && loaded_ && request.path == source_->path && request.password == source_->password &&
           request.partnerPassword == source_->partnerPassword;
}

QSize PreviewPane::deviceBox() const { return PageGridView::thumbnailBox * devicePixelRatioF(); }

void PreviewPane::opened(const Request& request, const Reply& reply) {
    if (!isCurrent(request) || state_ != State::Opening) {
        return;
    }
    if (reply.failure != Failure::None) {
        setState(State::Unreadable, reasonText(reply.failure));
        return;
    }
    pages_->setDocument(*source_, reply.pageCount, reply.pageSize, deviceBox(), reply.labels);
    grid_->scrollToTop();
    setState(State::Pages);
    visibleTimer_.start();
}

void PreviewPane::outlineRead(const Request& request, const Reply& reply) {
    if (!isCurrent(request) || state_ == State::Unreadable) {
        return;
    }
    clearBookmarks();
    // Items come depth first with their levels; each hangs under the last item one level up.
    std::vector<QStandardItem*> parents{bookmarkModel_->invisibleRootItem()};
    for (const preview::Bookmark& bookmark : reply.bookmarks) {
        const size_t level = std::min<size_t>(static_cast<size_t>(std::max(bookmark.level, 0)), parents.size() - 1);
        parents.resize(level + 1);
        auto* item = new QStandardItem(bookmark.title);
        item->setData(bookmark.page, PageRole);
        item->setToolTip(bookmark.page >= 0 ? tr("%1 (page %2)").arg(bookmark.title).arg(bookmark.page + 1)
                                            : bookmark.title);
        parents.back()->appendRow(item);
        parents.push_back(item);
    }
    if (reply.bookmarks.empty()) {
        // Counted but not read (the file changed, or its outline is broken): the room stays.
        bookmarkNote_->setText(tr("No bookmarks"));
        bookmarkArea_->setVisible(source_->bookmarks > 0);
    } else {
        bookmarkArea_->setCurrentWidget(bookmarks_);
        bookmarkArea_->setVisible(true);
    }
    // A short outline is read at a glance; a long one opens at its chapters.
    if (reply.bookmarks.size() <= 40) {
        bookmarks_->expandAll();
    }
}

void PreviewPane::thumbnailReady(const ThumbnailKey& key) {
    if (source_ && key.path == source_->path && key.box == pages_->box()) {
        const Thumbnail* drawn = thumbnails_.cache().find(key);
        pages_->pageDrawn(key.page, drawn ? drawn->label : QString());
    }
}

void PreviewPane::requestVisiblePages() {
    if (state_ != State::Pages || !isVisible()) {
        return;
    }
    // What is on screen, then as much again below it: the next scroll finds it drawn.
    const auto onScreen = static_cast<int>(grid_->visiblePages().size());
    thumbnails_.wantPages(*source_, grid_->visiblePages(onScreen), pages_->box());
}

void PreviewPane::goToBookmark(const QModelIndex& index) {
    const int page = index.data(PageRole).toInt();
    if (state_ != State::Pages || page < 0 || page >= pages_->rowCount()) {
        return;
    }
    const QModelIndex target = pages_->index(page);
    grid_->setCurrentIndex(target);
    grid_->scrollTo(target, QAbstractItemView::PositionAtTop);
}

}  // namespace tomefuse
