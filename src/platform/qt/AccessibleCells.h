#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace tomefuse {

// An accessible factory for item views (tables, trees, lists): Qt's own interface for the view,
// whose cells offer their "Toggle" action only where the cell can be checked. Qt offers it on
// every cell, so screen readers announce a toggle on plain names and page numbers.
QAccessibleInterface* itemViewWithoutPlainToggles(const QString& key, QObject* object);

}  // namespace tomefuse
