#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>

#include "platform/desktop/Workspace.h"

namespace tomefuse {

// The desktop's openers, asked beside the window: each call starts its question and returns, and
// the answer comes from the event loop.
class QtWorkspace final : public Workspace {
  public:
    // Names the desktop's application for a MIME type ("application/pdf") or a scheme
    // ("x-scheme-handler/https"), the type appended; empty output when there is none. The
    // desktop's opener reports success once started, even when it then finds nothing to run, so it
    // is asked first.
    static QStringList defaultApplicationQuery() { return {"xdg-mime", "query", "default"}; }
    // A query that cannot be run, or takes longer than timeoutMs, leaves it to the opener.
    explicit QtWorkspace(QStringList applicationQuery = defaultApplicationQuery(), int timeoutMs = 5000);
    ~QtWorkspace() override;
    QtWorkspace(const QtWorkspace&) = delete;
    QtWorkspace& operator=(const QtWorkspace&) = delete;

    void openFile(const std::string& path, Done done) override;
    // Asks the file manager over D-Bus (org.freedesktop.FileManager1) to show the file selected;
    // where no file manager answers, opens the file's folder instead.
    void selectFile(const std::string& path, const std::string& rootPath, Done done) override;
    void openURL(const std::string& url, Done done) override;

  private:
    // Opens the target once the desktop says it has an application for the type.
    void openWhenThereIsAnApplication(const QString& type, const QUrl& target, Done done);

    QStringList applicationQuery_;
    int timeoutMs_;
    // The parent of every question under way: none answers once the workspace has gone.
    QObject questions_;
};

}  // namespace tomefuse
