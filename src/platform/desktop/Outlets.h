#pragma once

#include "platform/desktop/ProgressSheet.h"
#include "platform/desktop/TableView.h"

namespace tomefuse {

// The main interface's objects the application talks to, set by the interface and not owned.
// Any may be missing: tests leave some out, and a host may take its window down first.
struct Outlets {
    Window* window = nullptr;
    TableView* tableView = nullptr;
    Panel* saveProgressPanel = nullptr;
    ProgressIndicator* saveProgressBar = nullptr;
};

}  // namespace tomefuse
