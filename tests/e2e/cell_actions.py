"""Prints the cells of the lists, tables and trees of the application with process id PID that
offer a "Toggle" action to a screen reader through AT-SPI, one a line, after a line counting the
cells read in each view. Usage: cell_actions.py PID SECONDS
Exit 0 once the views are found and no cell offers one, 1 when one does or no view with cells is
found within SECONDS, 77 without AT-SPI."""
import sys

from atspi_reading import pyatspi, read_until_found

VIEWS = {pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE}
FIRST_CELLS = 60  # enough for every kind of cell; the thumbnails alone may be thousands


def views_in(node, depth=0):
    if node is None or depth > 14:
        return []
    if node.getRole() in VIEWS:
        return [node]
    return [view for child in node for view in views_in(child, depth + 1)]


def actions_of(cell):
    try:
        action = cell.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def read(application):
    counts, toggles = [], []
    for view in views_in(application):
        cells = [view.getChildAtIndex(i) for i in range(min(view.childCount, FIRST_CELLS))]
        cells = [cell for cell in cells if cell is not None]
        counts.append(f"{view.getRoleName()} {view.name!r}: {len(cells)} cells")
        toggles += [f"{view.getRoleName()} {cell.getRoleName()} {cell.name!r}" for cell in cells
                    if "Toggle" in actions_of(cell)]
    if any(not line.endswith(": 0 cells") for line in counts):
        return counts, toggles
    return None


found = read_until_found(read, "no view with cells in process")
if found:
    counts, toggles = found
    print("\n".join(counts + toggles))
sys.exit(1 if not found or toggles else 0)
