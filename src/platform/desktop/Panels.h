#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tomefuse {

// runModal() answers this when the user confirms, anything else when they cancel.
inline constexpr int NSModalResponseOK = 1;
inline constexpr int PasswordResponseSkipAll = 2;

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
    // Names the panel must not accept: for a path, why not (empty: it may). The panel says so
    // and stays open.
    virtual void setRefusal(const std::function<std::string(const std::string& path)>& refusal) { (void)refusal; }
    virtual int runModal() = 0;
    // Absolute path; carries an allowed extension when the user typed a name without one.
    virtual std::string URL() const = 0;
};

// Asks for the password of a protected file, or whether to skip it.
class PasswordPanel {
  public:
    virtual ~PasswordPanel() = default;
    // The file asked about, and the name the user knows it by.
    virtual void setFile(const std::string& path, const std::string& name) = 0;
    // The password given last time did not open it.
    virtual void setPasswordWasWrong(bool wrong) = 0;
    // NSModalResponseOK with a password; PasswordResponseSkipAll skips this file and the rest of
    // those being added; anything else skips the file.
    virtual int runModal() = 0;
    virtual std::string password() const = 0;
};

}  // namespace tomefuse
