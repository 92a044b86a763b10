#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "QtTestSupport.h"
#include "app/QtApplication.h"
#include "platform/qt/QtProgressSheet.h"

namespace tomefuse::test {
namespace {

TEST(Application, FilesOnTheCommandLineArriveAfterStartUp) {
    TempDir dir;
    const std::string first = writePdf(dir, "first.pdf", 2);
    const std::string second = writePdf(dir, "second.pdf", 3);
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.path()));
    {
        QtApplication application(
            {"tomefuse", "first.pdf", "not-there.pdf", QUrl::fromLocalFile(QString::fromStdString(second)).toString()});
        application.start();
        EXPECT_TRUE(application.mainWindow().isVisible());
        EXPECT_EQ(application.controller().pdfsList().size(), 0u) << "nothing before the event loop runs";
        EXPECT_TRUE(QTest::qWaitFor([&] { return application.mainWindow().tableModel()->rowCount() == 2; }));
        const auto& list = application.controller().pdfsList();
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[0].path, first);
        EXPECT_EQ(list[1].path, second);
        EXPECT_TRUE(application.mainWindow().saveAction()->isEnabled());
    }
    QDir::setCurrent(oldCurrent);
    QApplication::setQuitOnLastWindowClosed(false);
}

TEST(Application, HandedOverFilesFollowThoseListedEvenDuringAWrite) {
    TempDir dir;
    const std::string first = writePdf(dir, "first.pdf", 2);
    const std::string second = writePdf(dir, "second.pdf", 1);
    const std::string third = writePdf(dir, "third.pdf", 4);
    {
        QtApplication application({"tomefuse", QString::fromStdString(first)});
        application.openRequestedFiles({second});
        application.start();
        EXPECT_TRUE(application.controller().pdfsList().empty()) << "nothing before the event loop runs";
        MainWindow& window = application.mainWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return application.controller().pdfsList().size() == 2; }));

        // A write in progress works on the list as it was: a hand-off lands at once.
        window.progressSheet()->show();
        application.openRequestedFiles({third, dir.file("not-a-pdf.pdf")});
        EXPECT_EQ(application.controller().pdfsList().size(), 3u);
        window.progressSheet()->hide();

        std::vector<std::string> listed;
        for (const PdfEntry& entry : application.controller().pdfsList()) {
            listed.push_back(entry.path);
        }
        EXPECT_EQ(listed, (std::vector<std::string>{first, second, third}));
        EXPECT_EQ(window.tableModel()->rowCount(), 3);
    }
    QApplication::setQuitOnLastWindowClosed(false);
}

TEST(Application, ArgumentsBecomeAbsolutePaths) {
    const QString current = QDir::currentPath();
    const struct {
        QStringList arguments;
        std::vector<std::string> files;
    } cases[] = {
        {{"tomefuse"}, {}},
        {{"tomefuse", "/abs/a.pdf", "rel/b.pdf"}, {"/abs/a.pdf", (current + "/rel/b.pdf").toStdString()}},
        {{"tomefuse", "file:///x/y%20z.pdf", "https://example.org/a.pdf", ""}, {"/x/y z.pdf"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QtApplication::filesFromArguments(c.arguments), c.files) << c.arguments.join(' ').toStdString();
    }
}

TEST(Application, HelpPageIsTheInstalledOneOrTheBuildTreesOne) {
    TempDir dir;
    const QString root = QString::fromStdString(dir.path());
    QDir().mkpath(root + "/bin/data/help");
    EXPECT_EQ(QtApplication::helpPagePath(root + "/bin"), "");
    writeTextFile(dir.file("bin/data/help/index.html"), "<html></html>");
    EXPECT_EQ(QtApplication::helpPagePath(root + "/bin"), root + "/bin/data/help/index.html");
    QDir().mkpath(root + "/share/tomefuse/help");
    writeTextFile(dir.file("share/tomefuse/help/index.html"), "<html></html>");
    EXPECT_EQ(QtApplication::helpPagePath(root + "/bin"), root + "/share/tomefuse/help/index.html");
    // The user's language wins where its page is there; a language without one reads English.
    writeTextFile(dir.file("bin/data/help/index.de.html"), "<html></html>");
    EXPECT_EQ(QtApplication::helpPagePath(root + "/bin", QLocale(QLocale::German, QLocale::Austria)),
              root + "/bin/data/help/index.de.html");
    EXPECT_EQ(QtApplication::helpPagePath(root + "/bin", QLocale(QLocale::Italian)),
              root + "/share/tomefuse/help/index.html");
}

}  // namespace
}  // namespace tomefuse::test
