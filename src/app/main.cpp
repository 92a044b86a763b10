#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/QtApplication.h"
#include "platform/qt/QtTranslation.h"
#include "platform/qt/SingleInstance.h"

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Qt aborts with a long message when it finds no display; say it in one line instead.
bool platformAvailable(int argc, char** argv) {
    if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM")) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (!platformAvailable(argc, argv)) {
        std::fprintf(stderr, "tomefuse: no display available (set DISPLAY or WAYLAND_DISPLAY)\n");
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tomefuse"));
    QApplication::setApplicationName(QStringLiteral("Tomefuse"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tomefuse.Tomefuse"));
    tomefuse::installTranslations(QLocale(), QCoreApplication::applicationDirPath());

    // A window is already open in this session: it takes the files, and this launch is done.
    const QStringList arguments = QApplication::arguments();
    tomefuse::SingleInstance instance(tomefuse::SingleInstance::defaultSocketPath());
    switch (instance.start(tomefuse::QtApplication::filesFromArguments(arguments))) {
        case tomefuse::SingleInstance::Role::primary:
            break;
        case tomefuse::SingleInstance::Role::secondary:
            return 0;
        case tomefuse::SingleInstance::Role::unanswered:
            // The running window may still open the files: a window here would open them twice.
            std::fprintf(stderr, "tomefuse: %s\n", qPrintable(instance.problem()));
            return 1;
        case tomefuse::SingleInstance::Role::standalone:
            std::fprintf(stderr, "tomefuse: %s\n", qPrintable(instance.problem()));
            break;
    }

    tomefuse::QtApplication tomefuse(arguments);
    tomefuse.listenForOpenRequests(instance);
    tomefuse.start();
    return QApplication::exec();
}
