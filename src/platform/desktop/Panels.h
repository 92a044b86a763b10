#pragma once

#include <string>
#include <vector>

namespace tomefuse {

// runModal() answers this when the user confirms, anything else when they cancel.
inline constexpr int NSModalResponseOK = 1;

class OpenPanel {
  public:
    virtual ~OpenPanel() = default;
    virtual void setCanChooseDirectories(bool flag) = 0;
    virtual void setAllowsMultipleSelection(bool flag) = 0;
    // Extensions without the dot, e.g. "pdf".
    virtual void setAllowedFileTypes(const std::vector<std::string>& types) = 0;
    virtual int runModal() = 0;
    // Absolute paths, in the order the user chose them.
    virtual std::vector<std::string> URLs() const = 0;
};

class SavePanel {
  public:
    virtual ~SavePanel() = default;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setAllowedFileTypes(const std::vector<std::string>& types) = 0;
    virtual void setExtensionHidden(bool flag) = 0;
    virtual void setCanSelectHiddenExtension(bool flag) = 0;
    // The folder the panel opens in, and the name it suggests.
    virtual void setDirectoryURL(const std::string& path) { (void)path; }
    virtual void setNameFieldStringValue(const std::string& name) { (void)name; }
    virtual int runModal() = 0;
    // Absolute path; carries an allowed extension when the user typed a name without one.
    virtual std::string URL() const = 0;
};

}  // namespace tomefuse
