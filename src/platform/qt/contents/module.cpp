// The contents page's layout as a module of its own, which tomefuse-combine loads only when a
// contents page is asked for: the command line otherwise starts without Qt.

#include <QGuiApplication>
#include <cstdio>

#include "platform/qt/contents/QtContentsTypesetter.h"

namespace {

// Qt lays text out only within a QGuiApplication; the command line has none, so one is made,
// without a display, and kept to the end of the process (destroying it after main returns
// would race Qt's own teardown).
class ModuleTypesetter final : public tomefuse::QtContentsTypesetter {
  public:
    tomefuse::ContentsTypesetting typeset(const tomefuse::ContentsRequest& request) override {
        makeApplication();
        return QtContentsTypesetter::typeset(request);
    }

    // Starts Qt and loads the fonts and the PDF writer's code with a page of one line, while the
    // command line still reads the files.
    void prepare() override {
        makeApplication();
        tomefuse::ContentsRequest sample;
        sample.title = "Contents";
        sample.lines = {{"Contents", "1", 0}, {"Contents", "2", 1}};
        QtContentsTypesetter::typeset(sample);
        finishContents();  // on this thread, which made the sample's layouts
    }

  private:
    static void makeApplication() {
        if (!QGuiApplication::instance()) {
            // A terminal program says what went wrong itself; Qt's notes on its environment
            // (no runtime folder, no session bus) are no concern of its user.
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
                if (type == QtCriticalMsg || type == QtFatalMsg) {
                    std::fprintf(stderr, "tomefuse-combine: %s\n", qPrintable(message));
                }
            });
            static int argc = 3;
            static char name[] = "tomefuse-combine";
            static char platformOption[] = "-platform";
            static char platform[] = "offscreen";
            static char* argv[] = {name, platformOption, platform, nullptr};
            new QGuiApplication(argc, argv);
        }
    }
};

}  // namespace

extern "C" Q_DECL_EXPORT tomefuse::ContentsTypesetter* tomefuseContentsTypesetter() {
    static ModuleTypesetter typesetter;
    return &typesetter;
}
