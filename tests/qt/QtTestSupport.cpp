#include "QtTestSupport.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>

#include "platform/desktop/NotificationCenter.h"
#include "platform/qt/QtNameComparison.h"
#include "platform/qt/QtPanels.h"
#include "platform/qt/QtPasswordPanel.h"

namespace tomefuse::test {

namespace {

// One QApplication for the whole run, made when the tests start rather than when the program
// loads, so that listing the tests needs no display.
class QtEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
        QStandardPaths::setTestModeEnabled(true);
        // The preview's worker is in the build tree, not beside the test program.
        if (qEnvironmentVariableIsEmpty("TOMEFUSE_PREVIEW_WORKER")) {
            qputenv("TOMEFUSE_PREVIEW_WORKER", TOMEFUSE_PREVIEW_WORKER);
        }
        settings_ = std::make_unique<TempDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, testSettingsDir());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, testSettingsDir());
        application_ = std::make_unique<QApplication>(argc_, argv_);
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override {
        application_.reset();
        settings_.reset();
    }

    static QString settingsDir() { return settings_ ? QString::fromStdString(settings_->path()) : QString(); }

  private:
    static inline int argc_ = 1;
    static inline char name_[] = "qt_tests";
    static inline char* argv_[] = {name_, nullptr};
    static inline std::unique_ptr<TempDir> settings_;
    std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

std::vector<std::string>* modelTestWarnings = nullptr;
QtMessageHandler previousHandler = nullptr;

void collectModelTestWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (modelTestWarnings && context.category && std::string_view(context.category) == "qt.modeltest" &&
        type != QtDebugMsg) {
        modelTestWarnings->push_back(message.toStdString());
        return;
    }
    if (previousHandler) {
        previousHandler(type, context, message);
    }
}

}  // namespace

QString testSettingsDir() { return QtEnvironment::settingsDir(); }

std::string writePdf(const TempDir& dir, const std::string& name, int pages, int outlineItems) {
    PdfBuilder builder;
    builder.addPages(pages);
    std::vector<OutlineSpec> outline;
    for (int i = 0; i < outlineItems; ++i) {
        outline.push_back({"Item " + std::to_string(i + 1), i % std::max(pages, 1), 0, 0, {}, {}});
    }
    if (!outline.empty()) {
        builder.setOutline(outline);
    }
    const std::string path = dir.file(name);
    builder.write(path);
    return path;
}

WindowHarness::WindowHarness(TaskRunner* runner) : userDefaults(QString::fromStdString(dir.file("settings.ini"))) {
    DesktopServices services{
        userDefaults,
        NotificationCenter::defaultCenter(),
        workspace,
        system,
        [this] { return std::make_unique<QtOpenPanel>(window_.get()); },
        [this] { return std::make_unique<QtSavePanel>(window_.get()); },
        runner,
        localeNameComparison(),
    };
    services.passwordPanel = [this] { return std::make_unique<QtPasswordPanel>(window_.get()); };
    controller_ = std::make_unique<TomefuseAppDelegate>(std::move(services));
    window_ = std::make_unique<MainWindow>(*controller_, userDefaults);
    controller_->applicationDidFinishLaunching();
    window_->syncOptions();
    window_->updateCommands();
    window_->show();
}

WindowHarness::~WindowHarness() {
    window_.reset();
    controller_.reset();
}

std::vector<std::string> WindowHarness::addPdfs(const std::vector<int>& pageCounts) {
    std::vector<std::string> paths;
    for (int pages : pageCounts) {
        const char letter = static_cast<char>('a' + added_++);
        paths.push_back(writePdf(dir, std::string(1, letter) + ".pdf", pages));
    }
    controller_->openFiles(paths);
    return paths;
}

ModelTestWarnings::ModelTestWarnings() {
    modelTestWarnings = new std::vector<std::string>;
    previousHandler = qInstallMessageHandler(collectModelTestWarnings);
}

ModelTestWarnings::~ModelTestWarnings() {
    qInstallMessageHandler(previousHandler);
    delete modelTestWarnings;
    modelTestWarnings = nullptr;
}

std::vector<std::string> ModelTestWarnings::take() {
    std::vector<std::string> warnings;
    warnings.swap(*modelTestWarnings);
    return warnings;
}

}  // namespace tomefuse::test
