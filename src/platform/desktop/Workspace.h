#pragma once

#include <string>

namespace tomefuse {

// The desktop around the application. Each call answers whether it succeeded.
class Workspace {
  public:
    virtual ~Workspace() = default;
    // In the file's default application.
    virtual bool openFile(const std::string& path) = 0;
    // Shows the file selected in the file manager, in a window rooted at rootPath.
    virtual bool selectFile(const std::string& path, const std::string& rootPath) = 0;
    // A web page (or a local file:// page) in the default browser.
    virtual bool openURL(const std::string& url) = 0;
};

}  // namespace tomefuse
