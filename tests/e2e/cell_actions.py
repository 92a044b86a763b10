"""Prints the cells of the lists, tables and trees of the application with process id PID that
offer a "Toggle" action to a screen reader through AT-SPI, one a line, after a line counting the
cells read in each view. Usage: cell_actions.py PID SECONDS
Exit 0 once the views are found and no cell offers one, 1 when one does or no view with cells is
found within SECONDS, 77 without AT-SPI."""
import sys
import time

try:
    import pyatspi
except ImportError:
    sys.exit(77)

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


def read(pid):
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.get_process_id() == pid:
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


def main():
    pid, seconds = int(sys.argv[1]), float(sys.argv[2])
    deadline = time.monotonic() + seconds
    while True:
        try:
            found = read(pid)
        except Exception:  # the application still registering, or changing: asked again
            found = None
        if found:
            counts, toggles = found
            print("\n".join(counts + toggles))
            return 1 if toggles else 0
        if time.monotonic() >= deadline:
            print(f"no view with cells in process {pid} within {seconds:.0f} s", file=sys.stderr)
            return 1
        time.sleep(0.3)


sys.exit(main())
