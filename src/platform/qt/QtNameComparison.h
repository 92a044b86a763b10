#pragma once

#include <QLocale>

#include "platform/desktop/NameComparison.h"

namespace tomefuse {

// Names as the locale sorts them, as file managers do: digits by their value ("2" before "10"),
// case and accents weighed as the locale weighs them.
NameComparison localeNameComparison(const QLocale& locale = QLocale());

}  // namespace tomefuse
