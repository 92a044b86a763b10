#include "app/QtApplication.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <QUrl>
#include <utility>

#include "app/MainWindow.h"
#include "app/TomefuseAppDelegate.h"
#include "platform/desktop/NotificationCenter.h"
#include "platform/qt/QtNameComparison.h"
#include "platform/qt/QtPanels.h"
#include "platform/qt/QtPasswordPanel.h"
#include "platform/qt/QtProgressSheet.h"
#include "platform/qt/QtStrings.h"
#include "platform/qt/SingleInstance.h"

namespace tomefuse {

QtApplication::QtApplication(const QStringList& arguments) : files_(filesFromArguments(arguments)) {
    DesktopServices services{
        userDefaults_,
        NotificationCenter::defaultCenter(),
        workspace_,
        system_,
        [this] { return std::make_unique<QtOpenPanel>(window_.get()); },
        [this] { return std::make_unique<QtSavePanel>(window_.get()); },
        &taskRunner_,
        localeNameComparison(),
    };
    services.contentsTypesetter = &contentsTypesetter_;
    services.passwordPanel = [this] { return std::make_unique<QtPasswordPanel>(window_.get()); };
    controller_ = std::make_unique<TomefuseAppDelegate>(std::move(services));
    // Installed, the icon theme has the icon; in the build tree, it lies beside the program.
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("tomefuse"),
                         QIcon(QCoreApplication::applicationDirPath() + QStringLiteral("/data/icons/tomefuse.svg"))));
    window_ = std::make_unique<MainWindow>(*controller_, userDefaults_);
    window_->restoreLayout(userDefaults_.settings());
    const QString help = helpPagePath(QCoreApplication::applicationDirPath());
    if (!help.isEmpty()) {
        controller_->setHelpPagePath(toStdPath(help));
    }
}

// The window goes first: it clears the controller's outlets. A combine still running (the
// application is quitting some other way than through the window) is stopped and waited for.
QtApplication::~QtApplication() {
    controller_->cancelCombine(nullptr);
    window_.reset();
    taskRunner_.waitForTask();
    controller_.reset();
}

std::vector<std::string> QtApplication::filesFromArguments(const QStringList& arguments) {
    std::vector<std::string> files;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.isEmpty()) {
            continue;
        }
        QString path = argument;
        const QUrl url(argument, QUrl::StrictMode);
        if (url.isLocalFile()) {
            path = url.toLocalFile();
        } else if (url.isValid() && argument.contains(QStringLiteral("://"))) {
            continue;  // a web address is no file to combine
        }
        files.push_back(toStdPath(QFileInfo(path).absoluteFilePath()));
    }
    return files;
}

QString QtApplication::helpPagePath(const QString& programDir, const QLocale& locale) {
    // The page in the user's language where there is one ("index.de.html"), else the English.
    const QString names[] = {QStringLiteral("index.%1.html").arg(QLocale::languageToCode(locale.language())),
                             QStringLiteral("index.html")};
    for (const QString& name : names) {
        for (const QString& folder : {QStringLiteral("/../share/tomefuse/help/"), QStringLiteral("/data/help/")}) {
            const QString candidate = QDir::cleanPath(programDir + folder + name);
            if (QFileInfo(candidate).isFile()) {
                return candidate;
            }
        }
    }
    return {};
}

void QtApplication::start() {
    controller_->applicationDidFinishLaunching();
    QGuiApplication::setQuitOnLastWindowClosed(controller_->applicationShouldTerminateAfterLastWindowClosed());
    window_->syncOptions();
    window_->updateCommands();
    window_->show();
    started_ = true;
    if (!files_.empty()) {
        openRequests_.insert(openRequests_.begin(), std::exchange(files_, {}));
    }
    if (!openRequests_.empty()) {
        QTimer::singleShot(0, window_.get(), [this] { deliverOpenRequests(); });
    }
}

void QtApplication::listenForOpenRequests(SingleInstance& instance) {
    instance.setHandler([this](const std::vector<std::string>& files) {
        // The other launch hears back at once: a protected file's password may be asked for, and
        // it must not wait on the user.
        QTimer::singleShot(0, window_.get(), [this, files] {
            bringToFront();
            openRequestedFiles(files);
        });
    });
}

void QtApplication::bringToFront() {
    if (window_->isMinimized()) {
        window_->showNormal();
    } else {
        window_->show();
    }
    window_->raise();
    window_->activateWindow();
}

void QtApplication::openRequestedFiles(const std::vector<std::string>& files) {
    if (!files.empty()) {
        openRequests_.push_back(files);
    }
    deliverOpenRequests();
}

void QtApplication::deliverOpenRequests() {
    if (!started_ || openRequests_.empty()) {
        return;
    }
    // The controller may be walking its list while it asks for a password: the files join after.
    if (QtPasswordPanel::isAsking()) {
        QtPasswordPanel::whenNotAsking(window_.get(), [this] { deliverOpenRequests(); });
        return;
    }
    for (const std::vector<std::string>& files : std::exchange(openRequests_, {})) {
        const size_t before = controller_->pdfsList().size();
        if (files.size() == 1) {
            controller_->openFile(files.front());
        } else {
            controller_->openFiles(files);
        }
        // The controller passes over what does not open; the one who named the files is told which.
        const auto& list = controller_->pdfsList();
        size_t next = before;
        for (const std::string& file : files) {
            if (next < list.size() && list[next].path == file) {
                ++next;
            } else {
                system_.log("tomefuse: " + file + " could not be opened as a PDF document");
            }
        }
    }
}

}  // namespace tomefuse
