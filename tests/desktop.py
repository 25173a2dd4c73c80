"""What the desktop scenarios share: checks, waiting, keys typed through XTest, and finding the
program's windows and controls through AT-SPI.

The scenarios run inside desktop_session.sh, with the program started on its virtual screen.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TITLE = "Bpm Tempulo 2004"
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)


def finish(passed):
    if failures:
        print("%d check(s) failed" % len(failures), flush=True)
        sys.exit(1)
    print(passed, flush=True)


def pump(seconds):
    """Lets AT-SPI deliver what the program sent for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.01)


def wait_for(find, what, timeout=15.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        pump(0.1)
    print("FAIL  timed out waiting for " + what, flush=True)
    sys.exit(1)


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "120", *names], check=True)
    pump(0.3)


def name(acc):
    acc.clear_cache()  # what the program says now, not what AT-SPI kept
    return acc.name


def text(acc):
    return acc.queryText().getText(0, -1)


# Roles by what they are, not by the name libatspi gives them: since at-spi2-core 2.50 (Debian
# 13) a push button's role is named "button".
ROLES = {"label": pyatspi.ROLE_LABEL, "text": pyatspi.ROLE_TEXT,
         "push button": pyatspi.ROLE_PUSH_BUTTON, "status bar": pyatspi.ROLE_STATUS_BAR,
         "menu item": pyatspi.ROLE_MENU_ITEM}


def role(acc):
    """The role's name as this scenario knows it (one of ROLES), else as libatspi names it."""
    found = acc.getRole()
    return next((name for name, value in ROLES.items() if value == found), acc.getRoleName())


def descendants(acc, wanted_role):
    return pyatspi.findAllDescendants(acc, lambda a: role(a) == wanted_role)


def labelled_by(acc):
    for relation in acc.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return []


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == TITLE:
            return app
    return None


def window(app, title):
    def find():
        for i in range(app.childCount):
            child = app.getChildAtIndex(i)
            if child is not None and name(child) == title and \
                    child.getState().contains(pyatspi.STATE_SHOWING):
                return child
        return None
    return find
