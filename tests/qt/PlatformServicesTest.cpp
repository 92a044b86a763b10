#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <functional>
#include <optional>

#include "QtTestSupport.h"
#include "platform/qt/QtPanels.h"
#include "platform/qt/QtWorkspace.h"
#include "platform/terminal/SettingsFile.h"
#include "platform/terminal/TerminalServices.h"

namespace tomefuse::test {
namespace {

TEST(UserDefaults, RegisteredDefaultsHoldUntilAValueIsSetAndValuesPersist) {
    TempDir dir;
    const QString file = QString::fromStdString(dir.file("defaults.ini"));
    {
        QtUserDefaults defaults(file);
        EXPECT_FALSE(defaults.boolForKey("shouldInsertTOCForFilenames")) << "neither value nor default";
        defaults.registerDefaults({{"shouldInsertTOCForFilenames", true}, {"preserveExistingTOCs", true}});
        EXPECT_TRUE(defaults.boolForKey("shouldInsertTOCForFilenames"));
        defaults.setBool("preserveExistingTOCs", false);
        EXPECT_FALSE(defaults.boolForKey("preserveExistingTOCs"));
        defaults.registerDefaults({{"preserveExistingTOCs", true}});
        EXPECT_FALSE(defaults.boolForKey("preserveExistingTOCs")) << "a set value beats a later default";
    }
    QtUserDefaults again(file);
    EXPECT_FALSE(again.boolForKey("preserveExistingTOCs")) << "set values persist";
    EXPECT_FALSE(again.boolForKey("shouldInsertTOCForFilenames")) << "registered defaults do not";
}

TEST(UserDefaults, TheApplicationsOwnSettingsAreSharedByEveryInstance) {
    ASSERT_FALSE(testSettingsDir().isEmpty());
    QtUserDefaults first;
    first.registerDefaults({{"shouldOpenPDFInDefaultApplication", true}});
    first.setBool("shouldOpenPDFInDefaultApplication", false);
    QtUserDefaults second;
    second.registerDefaults({{"shouldOpenPDFInDefaultApplication", true}});
    EXPECT_FALSE(second.boolForKey("shouldOpenPDFInDefaultApplication"));
    second.setBool("shouldOpenPDFInDefaultApplication", true);
    EXPECT_TRUE(QFileInfo(testSettingsDir() + "/Tomefuse/Tomefuse.conf").isFile());
}

// The command line reads the application's settings without Qt.
TEST(UserDefaults, TheCommandLineReadsWhatTheApplicationStores) {
    ASSERT_FALSE(testSettingsDir().isEmpty());
    const bool testMode = QStandardPaths::isTestModeEnabled();
    QStandardPaths::setTestModeEnabled(false);  // where the settings store looks outside tests
    EXPECT_EQ(applicationSettingsFiles().front(),
              (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Tomefuse/Tomefuse.conf")
                  .toStdString());
    QStandardPaths::setTestModeEnabled(testMode);
    QtUserDefaults app;
    const std::vector<std::string> files = {app.settings().fileName().toStdString()};
    for (const bool value : {false, true}) {
        app.setBool("preserveExistingTOCs", value);
        app.setBool("shouldInsertTOCForFilenames", !value);
        app.settings().setValue("window/preserveExistingTOCs", !value);  // a group of its own
        app.settings().sync();
        OverlayUserDefaults stored(readStoredSettings(files));
        stored.registerDefaults({{"neverStored", true}, {"preserveExistingTOCs", !value}});
        EXPECT_EQ(stored.boolForKey("preserveExistingTOCs"), value);
        EXPECT_EQ(stored.boolForKey("shouldInsertTOCForFilenames"), !value);
        EXPECT_TRUE(stored.boolForKey("neverStored"));
        EXPECT_FALSE(stored.boolForKey("neitherStoredNorRegistered"));
    }
}

TEST(System, ModifiersMapToTheControllersFlags) {
    const struct {
        Qt::KeyboardModifiers modifiers;
        uint64_t flags;
    } cases[] = {
        {Qt::NoModifier, 0},
        {Qt::AltModifier, NSEventModifierFlagOption},
        {Qt::ControlModifier | Qt::AltModifier, NSEventModifierFlagControl | NSEventModifierFlagOption},
        {Qt::ShiftModifier, NSEventModifierFlagShift},
        {Qt::MetaModifier, NSEventModifierFlagCommand},
        {Qt::KeypadModifier, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(modifierFlagsFromQt(c.modifiers), c.flags) << c.modifiers.toInt();
    }
}

TEST(System, TemporaryDirectoryHasNoTrailingSeparator) {
    TempDir dir;
    ScopedEnvironment tmpdir("TMPDIR", QByteArray::fromStdString(dir.path() + "/"));
    EXPECT_EQ(QtSystem().temporaryDirectory(), dir.path());
}

class UrlRecorder : public QObject {
    Q_OBJECT

  public slots:
    void open(const QUrl& url) { urls << url; }

  public:
    QList<QUrl> urls;
};

TEST(Workspace, AsksTheDesktopBesideTheWindowAndOpensWhatItHasAnApplicationFor) {
    TempDir dir;
    const std::string file = writePdf(dir, "with space é.pdf", 1);
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "open");
    QDesktopServices::setUrlHandler("https", &recorder, "open");
    const QUrl pdf = QUrl::fromLocalFile(QString::fromStdString(file));
    const QUrl web("https://example.org/help");
    const QUrl page = QUrl::fromLocalFile("/usr/share/doc/with space.html");
    // The type asked about is the script's $0. The desktop answers after a while, as a slow one
    // does; the window goes on meanwhile.
    const QString slowly = "sleep 0.3; case \"$0\" in application/pdf|x-scheme-handler/https) echo app.desktop;; esac";
    const struct {
        const char* what;
        QStringList query;
        bool answersLater;
        std::vector<bool> answers;  // the PDF, the web page, the local page, a missing file
        QList<QUrl> opened;
    } cases[] = {
        {"an application for some types", {"sh", "-c", slowly}, true, {true, true, false, false}, {pdf, web}},
        {"none for any", {"sh", "-c", "sleep 0.3"}, true, {false, false, false, false}, {}},
        {"no tool to ask: the opener decides",
         {"/nonexistent/xdg-mime"},
         false,
         {true, true, true, false},
         {pdf, web, page}},
        {"a tool that hangs: the opener decides",
         {"sh", "-c", "exec sleep 30"},
         true,
         {true, true, true, false},
         {pdf, web, page}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        recorder.urls.clear();
        QtWorkspace workspace(c.query, 1000);
        std::vector<std::optional<bool>> answers(4);
        QElapsedTimer clock;
        clock.start();
        workspace.openFile(file, [&](bool opened) { answers[0] = opened; });
        workspace.openURL(web.toString().toStdString(), [&](bool opened) { answers[1] = opened; });
        workspace.openURL("file:///usr/share/doc/with%20space.html", [&](bool opened) { answers[2] = opened; });
        workspace.openFile(dir.file("missing.pdf"), [&](bool opened) { answers[3] = opened; });
        EXPECT_LT(clock.elapsed(), 250);
        if (c.answersLater) {
            EXPECT_FALSE(answers[0] || answers[1] || answers[2]) << "answered before the desktop did";
        }
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return std::all_of(answers.begin(), answers.end(),
                                   [](const std::optional<bool>& a) { return a.has_value(); });
            },
            5000));
        for (size_t i = 0; i < answers.size(); ++i) {
            EXPECT_EQ(*answers[i], c.answers[i]) << i;
        }
        // Each question runs on its own, so the answers may come in any order.
        auto sorted = [](QList<QUrl> urls) {
            std::sort(urls.begin(), urls.end(),
                      [](const QUrl& a, const QUrl& b) { return a.toString() < b.toString(); });
            return urls;
        };
        EXPECT_EQ(sorted(recorder.urls), sorted(c.opened));
    }

    // A workspace gone with a question under way answers nothing, and leaves no process behind.
    bool answered = false;
    QElapsedTimer clock;
    clock.start();
    {
        QtWorkspace workspace({"sh", "-c", "exec sleep 30"});
        workspace.openFile(file, [&](bool) { answered = true; });
    }
    QTest::qWait(50);
    EXPECT_FALSE(answered);
    EXPECT_LT(clock.elapsed(), 2000);

    // Without a file manager on the bus, the folder opens.
    if (!QDBusConnection::sessionBus().isConnected()) {
        recorder.urls.clear();
        QtWorkspace workspace;
        std::optional<bool> shown;
        workspace.selectFile(file, dir.path(), [&](bool done) { shown = done; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown.has_value(); }, 5000));
        EXPECT_TRUE(*shown);
        EXPECT_EQ(recorder.urls, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(dir.path()))});
    }
    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("https");
}

TEST(Panels, SavePanelAsksForAPdfNameAndAddsTheExtension) {
    TempDir dir;
    QtSavePanel panel;
    panel.setTitle("Save Combined PDF");
    panel.setAllowedFileTypes({"pdf"});
    panel.setExtensionHidden(false);
    panel.setCanSelectHiddenExtension(true);
    panel.setDirectoryURL(dir.path());
    panel.setNameFieldStringValue("Field Notes and 2 more.pdf");

    auto shown = whenModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Save Combined PDF");
        EXPECT_EQ(dialog->directory().absolutePath().toStdString(), dir.path());
        EXPECT_EQ(dialog->findChild<QLineEdit*>("fileNameEdit")->text(), "Field Notes and 2 more.pdf");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), QStringList{"PDF files (*.pdf)"});
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        dialog->setDirectory(QString::fromStdString(dir.path()));
        // Typed, as the user would: selectFile() leaves a focused name field alone.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_TRUE(name);
        name->setText("combined");
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(panel.runModal(), NSModalResponseOK);
    EXPECT_TRUE(shown->done());
    EXPECT_EQ(panel.URL(), dir.file("combined.pdf"));

    auto cancelled = whenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(panel.runModal(), 0);
    EXPECT_TRUE(cancelled->done());
    EXPECT_EQ(panel.URL(), "");
}

TEST(Panels, OpenPanelChoosesSeveralPdfFilesInOrder) {
    TempDir dir;
    const std::string first = writePdf(dir, "first.pdf", 1);
    const std::string second = writePdf(dir, "second.pdf", 1);
    QtOpenPanel panel;
    panel.setCanChooseDirectories(false);
    panel.setAllowsMultipleSelection(true);
    panel.setAllowedFileTypes({"pdf"});

    auto shown = whenModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
        EXPECT_EQ(dialog->nameFilters(), QStringList{"PDF files (*.pdf)"});
        dialog->setDirectory(QString::fromStdString(dir.path()));
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_TRUE(name);
        name->setText("\"second.pdf\" \"first.pdf\"");
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(panel.runModal(), NSModalResponseOK);
    EXPECT_TRUE(shown->done());
    EXPECT_EQ(panel.URLs(), (std::vector<std::string>{second, first}));
}

// At a large font (or scale) Qt's dialogs would be larger than the screen, their buttons cut
// off; they take the screen's size, or their smallest where even that is larger.
TEST(Panels, OpenAndSavePanelsFitTheScreenAtALargeFont) {
    const QFont font = QApplication::font();
    QFont large = font;
    large.setPointSize(font.pointSize() * 6);
    QApplication::setFont(large);
    QtOpenPanel open;
    QtSavePanel save;
    const struct {
        const char* panel;
        std::function<int()> run;
    } panels[] = {
        {"open", [&] { return open.runModal(); }},
        {"save", [&] { return save.runModal(); }},
    };
    for (const auto& each : panels) {
        SCOPED_TRACE(each.panel);
        QSize shown;
        QSize largest;
        auto asked = whenModal<QFileDialog>([&](QFileDialog* dialog) {
            shown = dialog->size();
            largest = dialog->screen()->availableGeometry().size().expandedTo(dialog->minimumSizeHint());
            dialog->reject();
        });
        EXPECT_EQ(each.run(), 0);
        EXPECT_TRUE(asked->done());
        EXPECT_LE(shown.width(), largest.width());
        EXPECT_LE(shown.height(), largest.height());
    }
    QApplication::setFont(font);
}

}  // namespace
}  // namespace tomefuse::test

#include "PlatformServicesTest.moc"
