#pragma once

#include <functional>
#include <memory>

#include "platform/desktop/NameComparison.h"
#include "platform/desktop/NotificationCenter.h"
#include "platform/desktop/Panels.h"
#include "platform/desktop/System.h"
#include "platform/desktop/TaskRunner.h"
#include "platform/desktop/UserDefaults.h"
#include "platform/desktop/Workspace.h"

namespace tomefuse {

class ContentsTypesetter;

// What the controller is given at construction. Panels are made afresh for each use.
struct DesktopServices {
    UserDefaults& userDefaults;
    NotificationCenter& notificationCenter;
    Workspace& workspace;
    System& system;
    std::function<std::unique_ptr<OpenPanel>()> openPanel;
    std::function<std::unique_ptr<SavePanel>()> savePanel;
    // Where long work runs; in place when none is given.
    TaskRunner* taskRunner = nullptr;
    // How the user's locale sorts names; without one, digits count by value and ASCII case is
    // folded.
    NameComparison compareNames = nullptr;
    // Asks for passwords of protected files; without one they are not opened.
    std::function<std::unique_ptr<PasswordPanel>()> passwordPanel = nullptr;
    // Lays out contents pages; none where that cannot be done (a combine asking for one fails).
    ContentsTypesetter* contentsTypesetter = nullptr;
};

}  // namespace tomefuse
