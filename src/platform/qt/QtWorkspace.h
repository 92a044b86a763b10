#pragma once

#include <QString>
#include <functional>

#include "platform/desktop/Workspace.h"

namespace tomefuse {

class QtWorkspace final : public Workspace {
  public:
    // Whether the desktop has an application for a MIME type ("application/pdf") or a scheme
    // ("x-scheme-handler/https").
    using ApplicationQuery = std::function<bool(const QString& type)>;
    // By default the desktop is asked (xdg-mime): its opener reports success once started, even
    // when it then finds nothing to run.
    explicit QtWorkspace(ApplicationQuery hasApplication = {});

    bool openFile(const std::string& path) override;
    // Asks the file manager over D-Bus (org.freedesktop.FileManager1) to show the file selected;
    // where no file manager answers, opens the file's folder instead.
    bool selectFile(const std::string& path, const std::string& rootPath) override;
    bool openURL(const std::string& url) override;

  private:
    ApplicationQuery hasApplication_;
};

}  // namespace tomefuse
