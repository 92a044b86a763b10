#pragma once

#include <string_view>

#include "platform/desktop/NameComparison.h"

namespace tomefuse {

// Names as people read them, without a locale: a run of digits counts by its value ("file2"
// before "file10", "7" the same as "007"), ASCII letters without their case, any other byte by
// its value.
int naturalCompare(std::string_view a, std::string_view b);

// The desktop's comparison, or the natural one where the desktop gives none.
NameComparison desktopOrNaturalOrder(NameComparison desktop);

}  // namespace tomefuse
