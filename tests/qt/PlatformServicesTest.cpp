#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

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

TEST(Workspace, OpensFilesAndPagesAndFallsBackToTheFolderWithoutAFileManager) {
    TempDir dir;
    const std::string file = writePdf(dir, "with space é.pdf", 1);
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "open");
    QDesktopServices::setUrlHandler("https", &recorder, "open");
    QStringList asked;
    bool desktopHasApplication = true;
    QtWorkspace workspace([&](const QString& type) {
        asked << type;
        return desktopHasApplication;
    });

    // A desktop that has no application for the file says so before anything is started.
    desktopHasApplication = false;
    EXPECT_FALSE(workspace.openFile(file));
    EXPECT_FALSE(workspace.openURL("https://example.org/help"));
    EXPECT_EQ(asked, (QStringList{"application/pdf", "x-scheme-handler/https"}));
    desktopHasApplication = true;

    EXPECT_TRUE(workspace.openFile(file));
    EXPECT_FALSE(workspace.openFile(dir.file("missing.pdf")));
    EXPECT_TRUE(workspace.openURL("https://example.org/help"));
    EXPECT_TRUE(workspace.openURL("file:///usr/share/doc/with%20space.html"));
    const bool canReveal = !QDBusConnection::sessionBus().isConnected();
    if (canReveal) {
        EXPECT_TRUE(workspace.selectFile(file, dir.path()));
    }
    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("https");

    QList<QUrl> expected{QUrl::fromLocalFile(QString::fromStdString(file)), QUrl("https://example.org/help"),
                         QUrl::fromLocalFile("/usr/share/doc/with space.html")};
    if (canReveal) {
        expected << QUrl::fromLocalFile(QString::fromStdString(dir.path()));
    }
    EXPECT_EQ(recorder.urls, expected);
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

}  // namespace
}  // namespace tomefuse::test

#include "PlatformServicesTest.moc"
