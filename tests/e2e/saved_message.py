"""Prints the saved message of the application with process id PID and the buttons shown beside
it, one a line, as a screen reader hears them through AT-SPI. Usage: saved_message.py PID SECONDS
Exit 0 once a message beginning "Saved “" is shown, 1 when none is within SECONDS, 77 without
AT-SPI."""
import sys
import time

try:
    import pyatspi
except ImportError:
    sys.exit(77)

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


def message(pid):
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.get_process_id() == pid:
            return saved_bar(application)
    return None


def main():
    pid, seconds = int(sys.argv[1]), float(sys.argv[2])
    deadline = time.monotonic() + seconds
    while True:
        try:
            found = message(pid)
        except Exception:  # the window changing while it is read: asked again
            found = None
        if found:
            print("\n".join(found))
            return 0
        if time.monotonic() >= deadline:
            print(f"no saved message in process {pid} within {seconds:.0f} s", file=sys.stderr)
            return 1
        time.sleep(0.3)


sys.exit(main())
