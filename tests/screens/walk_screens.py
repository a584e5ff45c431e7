#!/usr/bin/python3
"""Walks every screen of Papyrant as a screen reader sees it, over the accessibility bus.

Usage: walk_screens.py <screen_tour program>

Starts the tour program, which shows one screen (or tab, or dialog) per "next", finds the
program on the bus and, at every stop, lists each showing button, box or list that has
no name a screen reader could speak (for a combo box, whose name is its value, no label). On the control panel it presses the Help picture
button through its accessibility action, and on the search items the "Search options"
picture button, and expects the window each opens. Exits 1 listing every fault.
"""

import select
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402
import pyatspi  # noqa: E402

# Roles of the controls that must be named: buttons, boxes and lists of every kind.
NAMED_ROLES = {
    "push button", "toggle button", "check box", "radio button", "combo box", "text",
    "entry", "password text", "spin button", "list", "list box", "table", "tree",
    "tree table", "page tab", "slider", "frame", "dialog", "window",
}
APP_TIMEOUT = 30  # seconds for the program to appear on the bus
WINDOW_TIMEOUT = 15  # seconds for a window to show
ANSWER_TIMEOUT = 30  # seconds for the tour to show its next stop

# What the walker presses at a stop, by the button's name, and the window it opens.
PRESSES = {
    "control panel": ("Help", "Help"),
    "search items": ("Search options", "Options"),
}


def answer(tour):
    """The tour's next line, or "" when it says nothing in time (or has ended)."""
    ready, _, _ = select.select([tour.stdout], [], [], ANSWER_TIMEOUT)
    return tour.stdout.readline().strip() if ready else ""


def find_app(name):
    deadline = time.monotonic() + APP_TIMEOUT
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name:
                # Ask the program itself every time: a cached tree lags behind the screens.
                Atspi.Accessible.set_cache_mask(app, Atspi.Cache.NONE)
                return app
        time.sleep(0.2)
    return None


def showing(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def walk(acc, path, found):
    """Every showing object under acc, with its path of names and roles."""
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is None or not showing(child):
            continue
        role = child.getRoleName()
        here = path + ["%s '%s'" % (role, child.name)]
        found.append((child, role, here))
        walk(child, here, found)


def window_named(app, title):
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is not None and window.name == title and showing(window):
            return window
    return None


def wait_for_window(app, title):
    deadline = time.monotonic() + WINDOW_TIMEOUT
    while time.monotonic() < deadline:
        window = window_named(app, title)
        if window is not None:
            return window
        time.sleep(0.1)
    return None


def label_of(acc):
    """The names of what labels acc: a screen reader says them before its value."""
    names = []
    for relation in acc.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return " ".join(name for name in names if name).strip()


def unnamed_controls(app):
    found = []
    walk(app, [], found)
    faults = []
    for acc, role, path in found:
        if role not in NAMED_ROLES:
            continue
        # A combo box's name is the value it shows; what it is for comes from its label.
        name = label_of(acc) if role == "combo box" else acc.name.strip()
        if not name:
            faults.append(" > ".join(path))
    return faults, found


def press(found, name):
    for acc, role, _ in found:
        if role == "push button" and acc.name == name:
            action = acc.queryAction()
            if action.nActions > 0 and action.getName(0) == "Press":
                return action.doAction(0)
    return False


def main():
    # Unbuffered lines both ways: each request has its one answer, read as it comes.
    tour = subprocess.Popen([sys.argv[1]], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
    faults = []
    stops = 0
    try:
        if answer(tour) != "READY":
            print("the screen tour did not start")
            return 1
        app = find_app("Papyrant")
        if app is None:
            print("Papyrant did not appear on the accessibility bus")
            return 1
        while True:
            tour.stdin.write("next\n")
            tour.stdin.flush()
            line = answer(tour)
            if not line.startswith("STEP "):
                break
            stops += 1
            stop, _, title = line[len("STEP "):].partition("\t")
            if wait_for_window(app, title) is None:
                faults.append("%s: the window '%s' did not show" % (stop, title))
                continue
            unnamed, found = unnamed_controls(app)
            faults += ["%s: no name: %s" % (stop, fault) for fault in unnamed]
            checked = sum(1 for _, role, _ in found if role in NAMED_ROLES)
            print("%s: %d controls checked" % (stop, checked))
            if stop in PRESSES:
                button, opens = PRESSES[stop]
                if not press(found, button):
                    faults.append("%s: no '%s' button to press by its action" % (stop, button))
                elif wait_for_window(app, opens) is None:
                    faults.append("%s: pressing '%s' did not open '%s'" % (stop, button, opens))
                else:
                    unnamed, _ = unnamed_controls(app)
                    faults += ["%s > %s: no name: %s" % (stop, opens, fault) for fault in unnamed]
        if stops < 11:
            faults.append("the tour ended after %d stops" % stops)
    finally:
        try:
            tour.stdin.close()
        except BrokenPipeError:
            pass
        try:
            status = tour.wait(timeout=20)
        except subprocess.TimeoutExpired:
            tour.kill()
            status = -1
        if status != 0:
            faults.append("the screen tour ended with status %s" % status)
    for fault in sorted(set(faults), key=faults.index):
        print(fault)
    print("%d stops walked, %d faults" % (stops, len(set(faults))))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
