"""Prints the titles of the menu bar of the application with process id PID, one a line, as a
screen reader hears them through AT-SPI. Usage: menu_titles.py PID SECONDS
Exit 0 once a menu bar is found, 1 when none is within SECONDS, 77 without AT-SPI."""
import sys

from atspi_reading import pyatspi, read_until_found


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


def titles(application):
    bar = menu_bar_of(application)
    return [item.name for item in bar if item is not None] if bar is not None else None


found = read_until_found(titles, "no menu bar of process")
if found:
    print("\n".join(found))
sys.exit(0 if found else 1)
