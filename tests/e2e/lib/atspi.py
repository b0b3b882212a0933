#!/usr/bin/python3
"""Prints the screen extents of an application's widgets, found through the accessibility bus.

    atspi.py <pid> <role> <name> [next]

Prints a JSON list with one {"x", "y", "width", "height", "enabled"} per widget of the process <pid> that is
showing on screen and has the role (as AT-SPI names it, e.g. "push button", "menu item") and
the accessible name (a button's or menu item's text). Hidden branches are not searched. With
"next", each match's next sibling is printed instead: the way to a widget without a name that
follows a named one in its layout.
"""
import json
import sys

import pyatspi


def showing(accessible):
    try:
        return accessible.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # the widget went away while we looked
        return False


def extents(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    enabled = accessible.getState().contains(pyatspi.STATE_ENABLED)
    return {"x": box.x, "y": box.y, "width": box.width, "height": box.height, "enabled": enabled}


def next_sibling(accessible):
    return accessible.parent[accessible.getIndexInParent() + 1]


def matches(root, role, name, sibling):
    found = []
    pending = [root]
    while pending:
        accessible = pending.pop()
        for child in accessible:
            if child is None or not showing(child):
                continue
            if child.getRoleName() == role and child.name == name:
                found.append(extents(next_sibling(child) if sibling else child))
            pending.append(child)
    return found


def main():
    pid, role, name = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    sibling = sys.argv[4:] == ["next"]
    found = []
    for application in pyatspi.Registry.getDesktop(0):
        try:
            if application is not None and application.get_process_id() == pid:
                found += matches(application, role, name, sibling)
        except Exception:  # an application that left the bus meanwhile
            continue
    print(json.dumps([box for box in found if box["width"] > 0 and box["height"] > 0]))


if __name__ == "__main__":
    main()
