#!/usr/bin/python3
"""Reads the program's windows as a screen reader does, over AT-SPI.

atspi_check.py controls          every control of the main window, one a line
atspi_check.py focused           the name of the control that has the focus
atspi_check.py value NAME        the value of the control NAME as read: its shown text, else its number
atspi_check.py report            the report window's days and stretches, each with whether it opens
atspi_check.py report-focused    the report window's entry or line that has the focus
atspi_check.py login-item        waits for a menu to open: its Start at Login item's role and state,
                                 and the role of the parent that counts it among its children
Exits 3 while the window is not (yet) in the tree.
"""
import sys

import pyatspi


# What a list or a tree's entries are read as (Qt: a tree's are table cells).
ITEM_ROLES = ("list item", "tree item", "table row", "table cell")


def find_frame(title):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        for window in app:
            if window is not None and window.name == title:
                return window
    return None


def walk(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from walk(child)


def labelled_by(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return ""


def login_item():
    # An open menu is not a child of the program's frames: it is met when
    # its first item takes the focus, and its items read from there.
    found = []

    def on_focus(event):
        menu = event.source.parent if event.source is not None else None
        for node in (menu if menu is not None else ()):
            if node is not None and node.name == "Start at Login" and not found:
                states = node.getState()
                parent = node.parent
                index = node.getIndexInParent()
                counted = parent is not None and index >= 0 and parent.getChildAtIndex(index) == node
                found.append(node.getRoleName() + (
                    " checked" if states.contains(pyatspi.STATE_CHECKED) else " unchecked") +
                    (" in " + parent.getRoleName() if counted else " outside the tree"))
                pyatspi.Registry.stop()

    from gi.repository import GLib
    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    GLib.timeout_add_seconds(30, pyatspi.Registry.stop)
    print("listening", file=sys.stderr, flush=True)
    pyatspi.Registry.start()
    if not found:
        return 3
    print(found[0])
    return 0


def value_of(node):
    try:
        text = node.queryText()
        shown = text.getText(0, text.characterCount)
        if shown:
            return shown
    except NotImplementedError:
        pass
    return "%g" % node.queryValue().currentValue


def opens(node):
    states = node.getState()
    return " ".join(word for state, word in ((pyatspi.STATE_EXPANDABLE, "expandable"),
                                             (pyatspi.STATE_EXPANDED, "expanded"))
                    if states.contains(state))


def main():
    what = sys.argv[1]
    if what == "login-item":
        return login_item()
    frame = find_frame("Wendle Report" if what.startswith("report") else "Quorvel Wendle")
    if frame is None:
        return 3
    for node in walk(frame):
        role = node.getRoleName()
        states = node.getState()
        if what == "controls" and states.contains(pyatspi.STATE_FOCUSABLE):
            print(f"{role}|{node.name}|{node.description}|{labelled_by(node)}")
        elif what == "focused" and states.contains(pyatspi.STATE_FOCUSED):
            print(node.name)
        elif what == "value" and node.name == sys.argv[2]:
            print(value_of(node))
        elif what == "report" and role in ITEM_ROLES:
            print(f"{node.name}|{opens(node)}")
        elif what == "report-focused" and states.contains(pyatspi.STATE_FOCUSED) and (
                role in ITEM_ROLES or role == "label"):
            print(node.name)
    return 0


sys.exit(main())
