"""Prints the saved message of the application with process id PID and the buttons shown beside
it, one a line, as a screen reader hears them through AT-SPI. Usage: saved_message.py PID SECONDS
Exit 0 once a message beginning "Saved “" is shown, 1 when none is within SECONDS, 77 without
AT-SPI."""
import sys

from atspi_reading import pyatspi, read_until_found

# The list's and the preview's rows are many and hold no message: not walked.
SKIPPED = {pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE,
           pyatspi.ROLE_MENU_BAR}


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def saved_bar(node, depth=0):
    """The object holding a shown "Saved …" label, with its shown children's names."""
    if node is None or depth > 12 or node.getRole() in SKIPPED:
        return None
    children = [child for child in node if child is not None]
    names = [child.name for child in children if showing(child)]
    if any(name.startswith("Saved \u201c") for name in names):
        return names
    for child in children:
        found = saved_bar(child, depth + 1)
        if found is not None:
            return found
    return None


found = read_until_found(saved_bar, "no saved message in process")
if found:
    print("\n".join(found))
sys.exit(0 if found else 1)
