#pragma once

#include <functional>
#include <string>

namespace tomefuse {

// A panel that can be shown as a sheet on a window.
class Panel {
  public:
    virtual ~Panel() = default;
    virtual void close() = 0;
    virtual bool isVisible() const = 0;
    // What is being done, in words, over the bar.
    virtual void setMessageText(const std::string&) {}
};

// A determinate bar. Paints at once on displayIfNeeded(), even while no event loop runs.
class ProgressIndicator {
  public:
    virtual ~ProgressIndicator() = default;
    virtual void setMaxValue(double value) = 0;
    virtual void setDoubleValue(double value) = 0;
    virtual double maxValue() const = 0;
    virtual double doubleValue() const = 0;
    virtual void displayIfNeeded() = 0;
};

// The main window, as the controller sees it.
class Window {
  public:
    virtual ~Window() = default;
    using SheetDidEnd = std::function<void(Panel* sheet, int returnCode)>;
    // Returns at once; didEnd runs when endSheet() is called for the same panel.
    virtual void beginSheet(Panel* sheet, SheetDidEnd didEnd) = 0;
    virtual void endSheet(Panel* sheet) = 0;
    // A warning on the window that the user dismisses.
    virtual void showAlert(const std::string& message, const std::string& informativeText) = 0;
    // A question on the window: whether to go on with what the proceed button says, or cancel.
    virtual bool askToProceed(const std::string& message, const std::string& informativeText,
                              const std::string& proceed) {
        (void)message, (void)informativeText, (void)proceed;
        return true;
    }
    // A passing remark in the window's status line, such as what a drop left out.
    virtual void showStatusMessage(const std::string& message) { (void)message; }
    // What a save did, in the window until dismissed, with ways to open the file and show it.
    virtual void showSaved(const std::string& /*message*/, const std::function<void()>& /*open*/,
                           const std::function<void()>& /*reveal*/) {}
};

}  // namespace tomefuse
