"""Prints the titles of the menu bar of the application with process id PID, one a line, as a
screen reader hears them through AT-SPI. Usage: menu_titles.py PID SECONDS
Exit 0 once a menu bar is found, 1 when none is within SECONDS, 77 without AT-SPI."""
import sys
import time

try:
    import pyatspi
except ImportError:
    sys.exit(77)


def menu_bar_of(node, depth=0):
    # The menu bar stands near the top of the window: no need to walk the list's rows.
    if node is None or depth > 6:
        return None
    if node.getRole() == pyatspi.ROLE_MENU_BAR:
        return node
    for child in node:
        found = menu_bar_of(child, depth + 1)
        if found is not None:
            return found
    return None


def titles(pid):
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.get_process_id() == pid:
            bar = menu_bar_of(application)
            if bar is not None:
                return [item.name for item in bar if item is not None]
    return None


def main():
    pid, seconds = int(sys.argv[1]), float(sys.argv[2])
    deadline = time.monotonic() + seconds
    while True:
        try:
            found = titles(pid)
        except Exception:  # the application still registering, or going: asked again
            found = None
        if found:
            print("\n".join(found))
            return 0
        if time.monotonic() >= deadline:
            print(f"no menu bar of process {pid} within {seconds:.0f} s", file=sys.stderr)
            return 1
        time.sleep(0.3)


sys.exit(main())
