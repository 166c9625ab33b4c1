#!/usr/bin/python3
"""Reads the program's windows as a screen reader does, over AT-SPI.

atspi_check.py controls          every control of the main window, one a line
atspi_check.py focused           the name of the control that has the focus
atspi_check.py report            the report window's days and stretches
Exits 3 while the window is not (yet) in the tree.
"""
import sys

import pyatspi


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


def main():
    what = sys.argv[1]
    frame = find_frame("Wendle Report" if what == "report" else "Quorvel Wendle")
    if frame is None:
        return 3
    for node in walk(frame):
        role = node.getRoleName()
        states = node.getState()
        if what == "controls" and states.contains(pyatspi.STATE_FOCUSABLE):
            print(f"{role}|{node.name}|{node.description}|{labelled_by(node)}")
        elif what == "focused" and states.contains(pyatspi.STATE_FOCUSED):
            print(node.name)
        elif what == "report" and role in ("list item", "tree item", "table row"):
            print(node.name)
    return 0


sys.exit(main())
