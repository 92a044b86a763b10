#pragma once

namespace tomefuse {

// Roles for the widgets that Qt leaves to screen readers without one they know: a splitter's
// handle is a separator the user can move, not an unknown object; a plain cell of a list, table or
// tree offers no toggle. Once per process; more calls change nothing.
void installAccessibleRoles();

}  // namespace tomefuse
