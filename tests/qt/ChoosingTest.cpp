#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "QtTestSupport.h"
#include "platform/qt/PageSelectionDelegate.h"
#include "platform/qt/QtPasswordPanel.h"
#include "platform/qt/preview/ListPreview.h"
#include "platform/qt/preview/PageGrid.h"
#include "platform/qt/preview/PreviewPane.h"

namespace tomefuse::test {
namespace {

const std::string protectedPdf = TOMEFUSE_CORPUS_DIR "/qpdf/20-pages.pdf";  // user password "user"

std::string copyProtected(const TempDir& dir, const std::string& name) {
    const std::string path = dir.file(name);
    std::filesystem::copy_file(protectedPdf, path, std::filesystem::copy_options::overwrite_existing);
    return path;
}

// Answers every password dialog that comes with the next answer (empty: Skip, "*": Skip All), noting what each
// one showed; before answering, runs a step the test gives.
class PasswordAnswers {
  public:
    struct Shown {
        QString heading;
        QString folder;
        bool wrongShown;
        bool hidden;
    };

    explicit PasswordAnswers(std::vector<QString> answers, std::function<void()> whileShown = {})
        : answers_(std::move(answers)), whileShown_(std::move(whileShown)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(10);
    }
    std::vector<Shown> shown;

  private:
    void poll() {
        auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog == last_) {
            return;
        }
        last_ = dialog;
        shown.push_back({dialog->heading()->text(), dialog->folder()->text(), dialog->wrongNote()->isVisible(),
                         dialog->passwordField()->echoMode() == QLineEdit::Password});
        if (whileShown_) {
            whileShown_();
        }
        const QString answer = shown.size() <= answers_.size() ? answers_[shown.size() - 1] : QString();
        if (answer.isEmpty() || answer == "*") {
            (answer.isEmpty() ? dialog->skipButton() : dialog->skipAllButton())->click();
            return;
        }
        EXPECT_FALSE(dialog->okButton()->isEnabled()) << "no password typed yet";
        QTest::keyClicks(dialog->passwordField(), answer);
        QTest::keyClick(dialog->passwordField(), Qt::Key_Return);
    }

    std::vector<QString> answers_;
    std::function<void()> whileShown_;
    QTimer timer_;
    QPointer<PasswordDialog> last_;
};

void activate(MainWindow& window) {
    QEvent event(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &event);
    QTest::qWait(20);
}

TEST(MainWindow, StatusLineCountsThePagesTakenAndTheFilesThatCannotBeRead) {
    const struct {
        uint64_t files, pages, unreadable;
        const char* text;
    } cases[] = {
        {0, 0, 0, "0 files, 0 pages"},
        {1, 1, 0, "1 file, 1 page"},
        {4, 42, 1, "4 files, 42 pages, 1 cannot be read"},
        {2, 0, 2, "2 files, 0 pages, 2 cannot be read"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MainWindow::statusText(c.files, c.pages, c.unreadable), c.text);
    }

    WindowHarness harness;
    MainWindow& window = harness.window();
    PdfTableView& table = harness.table();
    const auto paths = harness.addPdfs({5, 20});

    // Choose Pages opens the row's Pages cell, which says how pages are written.
    table.selectRowIndexes({1}, false);
    ASSERT_TRUE(window.choosePagesAction()->isEnabled());
    window.choosePagesAction()->trigger();
    auto* editor = qobject_cast<QLineEdit*>(table.indexWidget(table.currentIndex()));
    ASSERT_TRUE(editor);
    EXPECT_EQ(table.currentIndex().column(), PdfTableModel::PagesColumn);
    EXPECT_EQ(editor->text(), "all");
    EXPECT_EQ(editor->placeholderText(), PageSelectionDelegate::placeholderText());
    EXPECT_TRUE(editor->toolTip().contains("10-z"));
    editor->setText(QStringLiteral("4-2, z"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(0);
    EXPECT_EQ(harness.controller().pdfsList()[1].pages.text(), "4-2, z");
    EXPECT_EQ(window.statusLine()->text(), "2 files, 9 pages");

    // A refused selection says why and opens the cell again with what was typed.
    QString alert;
    auto refused = whenModal<QMessageBox>([&](QMessageBox* box) {
        alert = box->informativeText();
        box->accept();
    });
    window.choosePagesAction()->trigger();
    editor = qobject_cast<QLineEdit*>(table.indexWidget(table.currentIndex()));
    ASSERT_TRUE(editor);
    editor->setText(QStringLiteral("1-3, 99"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(0);
    EXPECT_EQ(alert, "“99”: the file has 20 pages");
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.indexWidget(table.currentIndex()) != nullptr; }, 2000));
    editor = qobject_cast<QLineEdit*>(table.indexWidget(table.currentIndex()));
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->text(), "1-3, 99");
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(harness.controller().pdfsList()[1].pages.text(), "4-2, z");

    // A file that stops being a PDF while the user is elsewhere shows so when the window is back,
    // in its row and in the preview.
    table.selectRowIndexes({0}, false);
    PreviewPane& pane = *window.previewPane();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane.state() == PreviewPane::State::Pages; }, 15000));
    writeTextFile(paths[0], "no longer a PDF\n");
    activate(window);
    const QModelIndex name = harness.model().index(0, PdfTableModel::NameColumn);
    EXPECT_TRUE(name.data(Qt::AccessibleDescriptionRole).toString().startsWith("Cannot be read: not a PDF"));
    EXPECT_EQ(window.statusLine()->text(), "2 files, 4 pages, 1 cannot be read");
    EXPECT_FALSE(window.choosePagesAction()->isEnabled()) << "its pages are not known";
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane.state() == PreviewPane::State::Unreadable; }, 15000));
}

// The password asked for through the window, again when wrong; kept for the combine and the
// preview; asked again only when the file changes, however often the window comes back.
TEST(MainWindow, AsksForPasswordsAndUsesThemForTheCombineAndThePreview) {
    WindowHarness harness;
    MainWindow& window = harness.window();
    const std::string locked = copyProtected(harness.dir, "Locked Report.pdf");
    const auto plain = harness.addPdfs({2});
    {
        PasswordAnswers answers({"nope", "user"});
        harness.controller().openFiles({locked});
        ASSERT_EQ(answers.shown.size(), 2u);
        EXPECT_EQ(answers.shown[0].heading, "“Locked Report” is protected by a password.");
        EXPECT_EQ(answers.shown[0].folder,
                  QStringLiteral("Locked Report.pdf in %1").arg(QString::fromStdString(harness.dir.path())));
        EXPECT_TRUE(answers.shown[0].hidden);
        EXPECT_FALSE(answers.shown[0].wrongShown);
        EXPECT_TRUE(answers.shown[1].wrongShown) << "The password was wrong. …";
    }
    ASSERT_EQ(harness.controller().pdfsList().size(), 2u);
    const PdfEntry& entry = harness.controller().pdfsList()[1];
    EXPECT_EQ(entry.pagecount, 20u);
    EXPECT_EQ(entry.password, "user");
    harness.model().setData(harness.model().index(1, PdfTableModel::PagesColumn), "2-3");

    // The preview opens it with its password and fades the pages left out.
    harness.table().selectRowIndexes({1}, false);
    PreviewPane& pane = *window.previewPane();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane.state() == PreviewPane::State::Pages; }, 15000))
        << pane.message().toStdString();
    EXPECT_EQ(pane.pages()->rowCount(), 20);
    std::vector<bool> taken;
    for (int page = 0; page < 4; ++page) {
        taken.push_back(pane.pages()->index(page).data(PageGridModel::TakenRole).toBool());
    }
    EXPECT_EQ(taken, (std::vector<bool>{false, true, true, false}));

    const std::string combined = harness.dir.file("combined.pdf");
    harness.controller().writeCombinedPDF(combined);
    auto result = PDFDocument::initWithURL(combined);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->pageCount(), 4u) << "2 of the plain file, 2 of the protected one";

    // Skipped: a file from an open request is left out.
    {
        PasswordAnswers answers({""});
        harness.controller().openFiles({copyProtected(harness.dir, "Other.pdf")});
        EXPECT_EQ(answers.shown.size(), 1u);
    }
    EXPECT_EQ(harness.controller().pdfsList().size(), 2u);

    // A file replaced by a protected one is asked about once: the window coming back while the
    // panel is up, or after, does not ask again.
    copyProtected(harness.dir, "a.pdf");
    ASSERT_EQ(plain[0], harness.dir.file("a.pdf"));
    {
        PasswordAnswers answers({""}, [&] { activate(window); });
        activate(window);
        activate(window);
        EXPECT_EQ(answers.shown.size(), 1u);
    }
    EXPECT_EQ(harness.controller().pdfsList()[0].problem, "needs a password");
    EXPECT_EQ(window.statusLine()->text(), "2 files, 2 pages, 1 cannot be read");

    // The row left without its password has Enter Password…; the others do not.
    QAction* enterPassword = window.commandAction(&TomefuseAppDelegate::enterPassword);
    harness.table().selectRowIndexes({1}, false);
    EXPECT_FALSE(enterPassword->isEnabled());
    harness.table().selectRowIndexes({0}, false);
    ASSERT_TRUE(enterPassword->isEnabled());
    {
        PasswordAnswers answers({"user"});
        enterPassword->trigger();
        EXPECT_EQ(answers.shown.size(), 1u);
    }
    EXPECT_EQ(harness.controller().pdfsList()[0].problem, "");
    EXPECT_EQ(harness.controller().pdfsList()[0].pagecount, 20u);
    EXPECT_FALSE(enterPassword->isEnabled());

    // Files added together: the password that opened one is tried on the next; Skip All skips
    // the rest without asking.
    const std::vector<std::string> alike{copyProtected(harness.dir, "m1.pdf"), copyProtected(harness.dir, "m2.pdf"),
                                         copyProtected(harness.dir, "m3.pdf")};
    {
        PasswordAnswers answers({"user"});
        harness.controller().openFiles(alike);
        EXPECT_EQ(answers.shown.size(), 1u);
    }
    EXPECT_EQ(harness.controller().pdfsList().size(), 5u);
    {
        PasswordAnswers answers({"*"});
        harness.controller().openFiles({copyProtected(harness.dir, "n1.pdf"), copyProtected(harness.dir, "n2.pdf"),
                                        copyProtected(harness.dir, "n3.pdf")});
        EXPECT_EQ(answers.shown.size(), 1u);
    }
    EXPECT_EQ(harness.controller().pdfsList().size(), 5u);
}

// Files that cannot be read are named before the save, which may go on without them; the save
// dialog turns away a listed file, says why and stays open.
TEST(MainWindow, SavingAsksAboutUnreadableFilesAndRefusesToReplaceAListedOne) {
    WindowHarness harness;
    const auto paths = harness.addPdfs({2, 3, 1});
    writeTextFile(paths[2], "not a PDF\n");
    const std::string before = readTextFile(paths[0]);

    QString question;
    auto asked = whenModal<QMessageBox>([&](QMessageBox* box) {
        question = box->text() + "|" + box->informativeText();
        EXPECT_EQ(box->windowModality(), Qt::WindowModal);
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == "Combine the Others") {
                button->click();
            }
        }
    });
    const std::string target = harness.dir.file("out.pdf");
    QString refusal;
    bool stayedOpen = false;
    std::unique_ptr<ModalWatch> refused;
    auto saved = whenModal<QFileDialog>([&](QFileDialog* dialog) {
        refused = whenModal<QMessageBox>([&](QMessageBox* box) {
            refusal = box->text() + "|" + box->informativeText();
            box->accept();
        });
        // Typed, as the dialog takes no chosen file while its name field has the focus.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(name);
        name->setText(QString::fromStdString(paths[0]));
        QMetaObject::invokeMethod(dialog, "accept");
        stayedOpen = dialog->isVisible();
        // The name typed first chose its file in the dialog's list, which counts before the name.
        dialog->selectFile(QString::fromStdString(target));
        name->setText(QString::fromStdString(target));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    harness.controller().saveToDisk(nullptr);

    EXPECT_TRUE(asked->done());
    EXPECT_EQ(question, QStringLiteral("1 file cannot be read and will be left out.|%1: not a PDF\nCombine the others?")
                            .arg(QString::fromStdString(paths[2])));
    EXPECT_TRUE(saved->done());
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(refusal, "“a.pdf” cannot be replaced.|“a” is one of the files to combine. Choose another name.");
    EXPECT_EQ(readTextFile(paths[0]), before);
    auto result = PDFDocument::initWithURL(target);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->pageCount(), 5u);
}

}  // namespace
}  // namespace tomefuse::test
