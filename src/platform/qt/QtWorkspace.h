#pragma once

#include "platform/desktop/Workspace.h"

namespace tomefuse {

class QtWorkspace final : public Workspace {
  public:
    bool openFile(const std::string& path) override;
    // Asks the file manager over D-Bus (org.freedesktop.FileManager1) to show the file selected;
    // where no file manager answers, opens the file's folder instead.
    bool selectFile(const std::string& path, const std::string& rootPath) override;
    bool openURL(const std::string& url) override;
};

}  // namespace tomefuse
