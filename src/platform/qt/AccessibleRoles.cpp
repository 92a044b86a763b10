#include "platform/qt/AccessibleRoles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLatin1String>
#include <QWidget>

#include "platform/qt/AccessibleCells.h"

namespace tomefuse {

namespace {

QAccessibleInterface* splitterHandle(const QString& key, QObject* object) {
    if (key != QLatin1String("QSplitterHandle") || !object || !object->isWidgetType()) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Separator);
}

}  // namespace

void installAccessibleRoles() {
    static const bool installed = [] {
        QAccessible::installFactory(splitterHandle);
        QAccessible::installFactory(itemViewWithoutPlainToggles);
        return true;
    }();
    (void)installed;
}

}  // namespace tomefuse
