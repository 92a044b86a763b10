#pragma once

#include <QLocale>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/QtSystem.h"
#include "platform/qt/QtTaskRunner.h"
#include "platform/qt/QtUserDefaults.h"
#include "platform/qt/QtWorkspace.h"
#include "platform/qt/contents/QtContentsTypesetter.h"

namespace tomefuse {

class MainWindow;
class SingleInstance;
class TomefuseAppDelegate;

// The desktop application around the controller: its services, its window and the files named
// on the command line. Needs a QApplication; runs no event loop of its own.
class QtApplication {
  public:
    // The program's arguments, the program itself first.
    explicit QtApplication(const QStringList& arguments);
    ~QtApplication();
    QtApplication(const QtApplication&) = delete;
    QtApplication& operator=(const QtApplication&) = delete;

    // Finishes launching and shows the window; the files of the command line arrive once the
    // event loop runs, as open requests from the desktop would.
    void start();

    // Files that another launch hands over join the list, and the window comes to the front.
    void listenForOpenRequests(SingleInstance& instance);
    // Appends the files that open, after those listed, and logs those that do not; waits until
    // start(). A combine running meanwhile works on the list as it was when it began.
    void openRequestedFiles(const std::vector<std::string>& files);
    void bringToFront();

    TomefuseAppDelegate& controller() { return *controller_; }
    MainWindow& mainWindow() { return *window_; }

    // The absolute paths of the file arguments (plain paths or file: URLs).
    static std::vector<std::string> filesFromArguments(const QStringList& arguments);
    // The installed help page beside the program, or the one in the build tree; empty when
    // neither is there.
    static QString helpPagePath(const QString& programDir, const QLocale& locale = QLocale());

  private:
    void deliverOpenRequests();

    QtUserDefaults userDefaults_;
    QtWorkspace workspace_;
    QtSystem system_;
    QtTaskRunner taskRunner_;
    QtContentsTypesetter contentsTypesetter_;
    std::unique_ptr<TomefuseAppDelegate> controller_;
    std::unique_ptr<MainWindow> window_;
    std::vector<std::string> files_;
    std::vector<std::vector<std::string>> openRequests_;
    bool started_ = false;
};

}  // namespace tomefuse
