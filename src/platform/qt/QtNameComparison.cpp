#include "platform/qt/QtNameComparison.h"

#include <QCollator>

namespace tomefuse {

NameComparison localeNameComparison(const QLocale& locale) {
    // Qt compares strings of the C locale code by code, "B" before "a" and "10" before "2", and
    // ignores the numeric mode there. The C locale asks for no language's order, so it gets the
    // common one, which is English's.
    QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale);
    collator.setNumericMode(true);
    return [collator](const std::string& a, const std::string& b) {
        return collator.compare(QString::fromStdString(a), QString::fromStdString(b));
    };
}

}  // namespace tomefuse
