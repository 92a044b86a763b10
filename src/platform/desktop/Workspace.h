#pragma once

#include <functional>
#include <string>

namespace tomefuse {

// The desktop around the application. Each call returns at once, without waiting for the desktop;
// whether it succeeded comes to `done` on the caller's thread, then or later, and never once the
// workspace is gone. `done` may be empty.
class Workspace {
  public:
    using Done = std::function<void(bool succeeded)>;

    virtual ~Workspace() = default;
    // In the file's default application.
    virtual void openFile(const std::string& path, Done done) = 0;
    // Shows the file selected in the file manager, in a window rooted at rootPath.
    virtual void selectFile(const std::string& path, const std::string& rootPath, Done done) = 0;
    // A web page (or a local file:// page) in the default browser.
    virtual void openURL(const std::string& url, Done done) = 0;
};

}  // namespace tomefuse
