#include <gtest/gtest.h>

#include <QSettings>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>

#include "QtTestSupport.h"
#include "platform/qt/preview/ListPreview.h"
#include "platform/qt/preview/PageGrid.h"
#include "platform/qt/preview/PreviewPane.h"
#include "platform/qt/preview/Thumbnails.h"
#include "support/Fixtures.h"

namespace tomefuse::test {
namespace {

using preview::Bookmark;
using preview::Reply;

const QString corpus = QStringLiteral(TOMEFUSE_CORPUS_DIR "/qpdf/");

bool eventually(const std::function<bool()>& condition, int ms = 15000) { return QTest::qWaitFor(condition, ms); }

ThumbnailKey pageKey(const PreviewPane& pane, int page) { return {pane.source()->path, page, pane.pages()->box()}; }

// A pane on its own, shown, over its own workers.
struct PaneHarness {
    explicit PaneHarness(Thumbnails::Limits limits = {})
        : thumbnails(PreviewWorker::defaultProgram(), limits), pane(thumbnails) {
        pane.resize(320, 560);
        pane.show();
    }
    Thumbnails thumbnails;
    PreviewPane pane;
};

TEST(PreviewPane, ShowsPagesBookmarksOrWhyAFileDoesNotOpen) {
    TempDir dir;
    PdfBuilder labelled;
    labelled.addPages(6).addPageLabel(0, "<< /S /r >>").addPageLabel(2, "<< /S /D >>");
    labelled.setOutline({item("Preface", 0), item("Body", 2, 72, 700, {item("Section", 4)})});
    labelled.write(dir.file("labelled.pdf"));
    writeTextFile(dir.file("notes.pdf"), "not a PDF at all\n");

    const struct Case {
        const char* name;
        QString path;
        QString password;
        std::optional<QSet<int>> taken;
        PreviewPane::State state;
        QString reason;
        int pages;
        std::vector<Bookmark> bookmarks;
        QString firstLabel;
        int bookmarkCount = 0;
    } cases[] = {
        {"readable, two pages left out",
         QString::fromStdString(dir.file("labelled.pdf")),
         {},
         QSet<int>{0, 2, 3, 4},
         PreviewPane::State::Pages,
         {},
         6,
         {{0, "Preface", 0}, {0, "Body", 2}, {1, "Section", 4}},
         "i",
         3},
        {"not a PDF",
         QString::fromStdString(dir.file("notes.pdf")),
         {},
         {},
         PreviewPane::State::Unreadable,
         "is not a PDF file, or is damaged",
         0,
         {},
         {}},
        {"missing",
         QString::fromStdString(dir.file("gone.pdf")),
         {},
         {},
         PreviewPane::State::Unreadable,
         "cannot be found",
         0,
         {},
         {}},
        {"protected", corpus + "20-pages.pdf", {}, {}, PreviewPane::State::Unreadable, "needs a password", 0, {}, {}},
        {"protected, wrong password",
         corpus + "20-pages.pdf",
         "nope",
         {},
         PreviewPane::State::Unreadable,
         "does not open with the password given",
         0,
         {},
         {}},
        {"protected, password given", corpus + "20-pages.pdf", "user", {}, PreviewPane::State::Pages, {}, 20, {}, "1"},
        {"empty user password", corpus + "V4-aes.pdf", {}, {}, PreviewPane::State::Pages, {}, 30, {}, {}, 11},
        // An outline whose items lead back to themselves: each item is read once.
        {"outline that loops", corpus + "outlines-with-loop.pdf", {}, {}, PreviewPane::State::Pages, {}, 30, {}, {}, 8},
        // The reader never finishes opening this one.
        {"page tree that loops",
         corpus + "deep-pages.pdf",
         {},
         {},
         PreviewPane::State::Unreadable,
         "cannot be read",
         0,
         {},
         {}},
    };

    PaneHarness harness({32 << 20, 2000, 30000});
    PreviewPane& pane = harness.pane;
    std::vector<preview::Failure> outlines;
    QObject::connect(&harness.thumbnails, &Thumbnails::outlineRead,
                     [&](const preview::Request&, const Reply& reply) { outlines.push_back(reply.failure); });
    EXPECT_EQ(pane.state(), PreviewPane::State::NoSelection);
    EXPECT_EQ(pane.message(), "Select a file in the list to see its pages and bookmarks.");

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PreviewSource source{c.path, c.password, c.taken};
        outlines.clear();
        pane.showSource(source, "title");
        ASSERT_TRUE(eventually([&] { return pane.state() != PreviewPane::State::Opening; }));
        EXPECT_EQ(pane.state(), c.state);
        EXPECT_EQ(pane.reason(), c.reason);
        if (c.state == PreviewPane::State::Unreadable) {
            EXPECT_EQ(pane.message(), "This file " + c.reason + ".");
            continue;
        }
        ASSERT_EQ(pane.pages()->rowCount(), c.pages);
        // Labelled from the start, before any page is drawn.
        if (!c.firstLabel.isEmpty()) {
            EXPECT_EQ(pane.pages()->index(0).data().toString(), c.firstLabel);
        }
        // The first page is on screen, so it gets drawn.
        EXPECT_TRUE(eventually([&] { return harness.thumbnails.cache().find(pageKey(pane, 0)) != nullptr; }));
        for (int page = 0; page < c.pages; ++page) {
            const QModelIndex index = pane.pages()->index(page);
            EXPECT_EQ(index.data(PageGridModel::TakenRole).toBool(), source.takes(page)) << page;
            const QString name = QStringLiteral("Page %1 of %2").arg(page + 1).arg(c.pages);
            EXPECT_EQ(index.data(Qt::AccessibleTextRole), source.takes(page) ? name : name + ", left out") << page;
        }
        // Bookmarks arrive from a worker of their own; a crash there leaves none.
        ASSERT_TRUE(eventually([&] { return !outlines.empty(); }, 30000));
        EXPECT_EQ(outlines.front(), preview::Failure::None);
        std::vector<Bookmark> shown;
        std::function<void(const QModelIndex&, int)> walk = [&](const QModelIndex& parent, int level) {
            for (int row = 0; row < pane.bookmarkModel()->rowCount(parent); ++row) {
                const QModelIndex index = pane.bookmarkModel()->index(row, 0, parent);
                shown.push_back({level, index.data().toString(), index.data(PreviewPane::PageRole).toInt()});
                walk(index, level + 1);
            }
        };
        walk({}, 0);
        EXPECT_EQ(static_cast<int>(shown.size()), c.bookmarkCount);
        if (!c.bookmarks.empty()) {
            EXPECT_EQ(shown, c.bookmarks);
        }
        EXPECT_EQ(pane.bookmarks()->isVisibleTo(&pane), c.bookmarkCount > 0);
    }

    pane.showNothing();
    EXPECT_EQ(pane.state(), PreviewPane::State::NoSelection);
    EXPECT_EQ(pane.pages()->rowCount(), 0);
}

TEST(PreviewPane, ABookmarkClickedScrollsTheGridToItsPage) {
    TempDir dir;
    const std::string path =
        makePdf(dir, "long.pdf", 80, {item("Start", 0), item("Middle", 40, 72, 700, {item("Deep", 71)})});
    PaneHarness harness;
    PreviewPane& pane = harness.pane;
    pane.showSource({QString::fromStdString(path), {}, {}}, "long");
    ASSERT_TRUE(
        eventually([&] { return pane.state() == PreviewPane::State::Pages && pane.bookmarkModel()->rowCount() == 2; }));
    pane.bookmarks()->expandAll();
    ASSERT_TRUE(eventually([&] { return pane.bookmarks()->height() > 0; })) << "laid out";
    EXPECT_TRUE(pane.grid()->pageVisible(0));

    const QModelIndex deep = pane.bookmarkModel()->index(0, 0, pane.bookmarkModel()->index(1, 0));
    ASSERT_EQ(deep.data().toString(), "Deep");
    QTest::mouseClick(pane.bookmarks()->viewport(), Qt::LeftButton, {}, pane.bookmarks()->visualRect(deep).center());
    EXPECT_EQ(pane.grid()->currentIndex().row(), 71);
    EXPECT_TRUE(pane.grid()->pageVisible(71));
    EXPECT_FALSE(pane.grid()->pageVisible(0));
    EXPECT_TRUE(eventually([&] { return harness.thumbnails.cache().find(pageKey(pane, 71)) != nullptr; }));
}

TEST(Thumbnails, AWorkerThatStallsIsReplacedAndTheRequestsSentBehindItAreAnswered) {
    TempDir dir;
    const QString a = QString::fromStdString(makePdf(dir, "a.pdf", 2));
    const QString b = QString::fromStdString(makePdf(dir, "b.pdf", 2));
    const QString stalls = corpus + "deep-pages.pdf";
    Thumbnails thumbnails(PreviewWorker::defaultProgram(), {32 << 20, 1500, 5000});
    std::vector<std::pair<QString, preview::Failure>> opened;
    QObject::connect(&thumbnails, &Thumbnails::opened, [&](const preview::Request& request, const Reply& reply) {
        opened.emplace_back(request.path, reply.failure);
    });

    // All three go to the worker at once; the first never comes back.
    const QSize box(40, 50);
    thumbnails.open({stalls, {}, {}});
    thumbnails.wantFirstPage({a, {}, {}}, box);
    thumbnails.wantFirstPage({b, {}, {}}, box);
    ASSERT_TRUE(eventually([&] {
        return thumbnails.cache().find({a, 0, box}) && thumbnails.cache().find({b, 0, box});
    }));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], std::make_pair(stalls, preview::Failure::ReaderFailed));
    EXPECT_EQ(thumbnails.pageWorker().starts(), 2);

    // The file is not sent to a worker again until it is released.
    thumbnails.open({stalls, {}, {}});
    ASSERT_TRUE(eventually([&] { return opened.size() == 2; }, 500));
    EXPECT_EQ(opened[1].second, preview::Failure::ReaderFailed);
    EXPECT_EQ(thumbnails.pageWorker().starts(), 2);
}

TEST(PreviewPane, ReadsNothingWhileHiddenAndSaysSoWhenItsWorkerIsMissing) {
    TempDir dir;
    const QString path = QString::fromStdString(makePdf(dir, "a.pdf", 2));
    {
        Thumbnails thumbnails(PreviewWorker::defaultProgram());
        PreviewPane pane(thumbnails);
        pane.showSource({path, {}, {}}, "a");
        QTest::qWait(100);
        EXPECT_FALSE(thumbnails.holds(path));
        EXPECT_EQ(thumbnails.pageWorker().starts(), 0);
        pane.show();
        EXPECT_TRUE(eventually([&] { return pane.state() == PreviewPane::State::Pages; }));
    }
    Thumbnails thumbnails(dir.file("no-such-worker").c_str());
    PreviewPane pane(thumbnails);
    pane.show();
    pane.showSource({path, {}, {}}, "a");
    ASSERT_TRUE(eventually([&] { return pane.state() == PreviewPane::State::Unreadable; }));
    EXPECT_EQ(pane.message(), "This file cannot be shown without tomefuse-preview-worker.");
}

TEST(ListPreview, RowsShowTheirFirstPagesAndWhatWasReadGoesWithTheirRows) {
    WindowHarness harness;
    harness.window().resize(1000, 500);
    const std::vector<std::string> paths = harness.addPdfs({3, 5});
    const QString a = QString::fromStdString(paths[0]);
    const QString b = QString::fromStdString(paths[1]);
    ListPreview& preview = *harness.window().preview();
    PreviewPane& pane = *preview.pane();
    Thumbnails& thumbnails = preview.thumbnails();
    EXPECT_EQ(pane.state(), PreviewPane::State::NoSelection);

    // Each row's first page comes as its Name cell's icon.
    for (int row = 0; row < 2; ++row) {
        EXPECT_TRUE(eventually([&] {
            const QSize box = ListPreview::rowIconBox * harness.table().devicePixelRatioF();
            return thumbnails.cache().find({QString::fromStdString(paths[row]), 0, box}) != nullptr;
        })) << row;
        EXPECT_FALSE(harness.model().index(row, PdfTableModel::NameColumn).data(Qt::DecorationRole).isNull());
        EXPECT_TRUE(harness.model().index(row, PdfTableModel::PagesColumn).data(Qt::DecorationRole).isNull());
    }

    harness.table().selectRow(0);
    EXPECT_EQ(pane.title(), "a");
    ASSERT_TRUE(eventually([&] { return pane.state() == PreviewPane::State::Pages; }));
    EXPECT_EQ(pane.pages()->rowCount(), 3);
    ASSERT_TRUE(eventually([&] { return thumbnails.cache().find(pageKey(pane, 2)) != nullptr; }));

    // A thumbnail double-clicked opens the file, as the row's double click does.
    const QRect first = pane.grid()->visualRect(pane.pages()->index(0));
    QTest::mouseDClick(pane.grid()->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(harness.workspace.opened, std::vector<std::string>{paths[0]});

    harness.controller().removeFromTable(nullptr);
    EXPECT_FALSE(thumbnails.holds(a));
    EXPECT_EQ(thumbnails.cache().count(a), 0);
    EXPECT_TRUE(thumbnails.holds(b));
    EXPECT_EQ(pane.source()->path, b) << "the row now selected";

    harness.table().selectRow(0);
    harness.controller().removeFromTable(nullptr);
    EXPECT_FALSE(thumbnails.holds(b));
    EXPECT_EQ(thumbnails.cache().count(), 0);
    EXPECT_EQ(pane.state(), PreviewPane::State::NoSelection);
}

TEST(ListPreview, F9TogglesThePaneWhoseWidthAndVisibilityAreRemembered) {
    TempDir dir;
    QSettings store(QString::fromStdString(dir.file("layout.ini")), QSettings::IniFormat);
    {
        WindowHarness harness;
        MainWindow& window = harness.window();
        window.restoreLayout(store);
        QAction* toggle = window.previewAction();
        EXPECT_EQ(toggle->shortcut(), QKeySequence(Qt::Key_F9));
        EXPECT_TRUE(toggle->isChecked());
        EXPECT_TRUE(window.previewPane()->isVisible());
        window.splitter()->setSizes({window.splitter()->width() - 250, 250});
        EXPECT_EQ(window.previewPane()->width(), 250);
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F9);
        EXPECT_FALSE(window.previewPane()->isVisible());
        EXPECT_TRUE(window.close());
    }
    {
        WindowHarness harness;
        harness.window().restoreLayout(store);
        EXPECT_FALSE(harness.window().previewAction()->isChecked());
        EXPECT_FALSE(harness.window().previewPane()->isVisible());
        harness.window().previewAction()->trigger();
        EXPECT_TRUE(harness.window().previewPane()->isVisible());
        EXPECT_EQ(harness.window().previewPane()->width(), 250);
    }
}

TEST(ThumbnailCache, KeepsWithinItsBudgetAndForgetsFilesWhole) {
    ThumbnailCache cache(100 * 1000);
    QPixmap page(100, 100);  // 40,000 bytes
    page.fill(Qt::white);
    for (int i = 0; i < 10; ++i) {
        cache.insert({i % 2 ? "b" : "a", i, {100, 100}}, {page, {}});
    }
    EXPECT_EQ(cache.count(), 2);
    EXPECT_LE(cache.bytes(), cache.budget());
    EXPECT_TRUE(cache.find({"b", 9, {100, 100}}));
    cache.markFailed({"b", 11, {100, 100}});
    cache.release("b");
    EXPECT_EQ(cache.count("b"), 0);
    EXPECT_FALSE(cache.failed({"b", 11, {100, 100}}));
    EXPECT_EQ(cache.count("a"), 1);
}

TEST(PreviewProtocol, RepliesSurviveTheTripAndBrokenOnesAreRefused) {
    Reply reply;
    reply.id = 7;
    reply.pageCount = 3;
    reply.pageSize = {612, 792};
    reply.label = "iv";
    reply.image = QImage(3, 2, QImage::Format_RGB32);
    reply.image.fill(Qt::red);
    reply.bookmarks = {{0, "One", 0}, {1, "Two", -1}};
    QByteArray stream = preview::frame(reply) + preview::frame(reply).left(10);

    std::optional<QByteArray> payload;
    ASSERT_TRUE(preview::takeFrame(stream, payload));
    ASSERT_TRUE(payload);
    const QByteArray whole = *payload;
    const auto back = preview::decodeReply(whole);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->label, "iv");
    EXPECT_EQ(back->image, reply.image);
    EXPECT_EQ(back->bookmarks, reply.bookmarks);
    ASSERT_TRUE(preview::takeFrame(stream, payload));
    EXPECT_FALSE(payload) << "half a frame waits for the rest";

    for (qsizetype cut : {qsizetype(0), qsizetype(9), qsizetype(30), whole.size() - 1}) {
        EXPECT_FALSE(preview::decodeReply(whole.left(cut))) << cut;
    }
    QByteArray huge("\x7f\xff\xff\xff", 4);
    EXPECT_FALSE(preview::takeFrame(huge, payload));
}

}  // namespace
}  // namespace tomefuse::test
