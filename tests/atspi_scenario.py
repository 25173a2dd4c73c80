#!/usr/bin/python3
"""What a screen reader reads of Tempulo, through AT-SPI as Orca reads it.

Run by atspi_test.sh inside a session bus with the accessibility bus, a virtual X screen, a window
manager and the program started. Keys go in through XTest (xdotool), as typed; menus are opened
where AT-SPI says they are. One scenario: the counter after three taps, the three results, the
operand prompt, the "Invalid calculation" message, the Instructions and About texts.

    atspi_scenario.py CANCEL_TEXT DECIMAL_SEPARATOR
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

CANCEL, POINT = sys.argv[1], sys.argv[2]
TITLE = "Bpm Tempulo 2004"
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)


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


def role(acc):
    return acc.getRoleName()


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


def click(acc):
    x, y, w, h = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2), "click", "1"],
                   check=True)
    pump(0.5)


def number(shown):
    return float(shown.replace(POINT, "."))


app = wait_for(application, "the program on the accessibility bus")
main = wait_for(window(app, TITLE), "the main window")

# The counter: the count it shows, labelled by its caption, holding the focus so that each new
# count is spoken.
counter = wait_for(lambda: next(iter(pyatspi.findAllDescendants(
    main, lambda a: labelled_by(a) == ["Key press count"])), None), "the counter")
check(role(counter) == "label", "counter is a label (role: %s)" % role(counter))
wait_for(lambda: counter.getState().contains(pyatspi.STATE_FOCUSED), "the counter to hold the focus",
         timeout=5)
check("space bar" in counter.description, "counter's description says what it counts")

announced = []


def on_name_changed(event):
    if labelled_by(event.source) == ["Key press count"]:
        announced.append(name(event.source))


pyatspi.Registry.registerEventListener(on_name_changed, "object:property-change:accessible-name")
for count in range(1, 4):
    keys("space")
    wait_for(lambda: len(announced) >= count, "tap %d to be announced" % count, timeout=5)
check(name(counter) == "3", "counter reads 3 after three taps")
check(announced == ["1", "2", "3"], "each tap announced: %s" % announced)

# The results: each box named by its caption, holding its number.
keys("Return")
results = wait_for(window(app, "Calculated Results"), "the results window")
boxes = {box.name: text(box) for box in descendants(results, "text")}
print("      results: %s" % boxes, flush=True)
check(sorted(boxes) == sorted(["One bar length", "One beat length", "Beats per minute"]),
      "three result boxes named by their captions")
beat = number(boxes.get("One beat length", "nan"))
check(abs(number(boxes.get("One bar length", "nan")) - 4 * beat) <= 1e-9 * beat,
      "bar reads four beats")
check(abs(number(boxes.get("Beats per minute", "nan")) - 60 / beat) <= 1e-9 * (60 / beat),
      "tempo reads 60 / beat")
for box in descendants(results, "text"):
    check(labelled_by(box) == [box.name], "%s labelled by its caption" % box.name)

# The operand prompt, opened from the tempo box that has the focus.
keys("asterisk")
prompt = wait_for(window(app, "Multiplication"), "the operand prompt")
check([l.name for l in descendants(prompt, "label")] == ["Enter the multiplication (*) value."],
      "prompt text")
entries = descendants(prompt, "text")
check(len(entries) == 1 and text(entries[0]) == "2", "entry offers 2")
buttons = [b.name for b in descendants(prompt, "push button")]
check(buttons == ["OK", CANCEL], "prompt buttons %s, expected OK and %s" % (buttons, CANCEL))

# A letter is no operand: the message says so.
keys("ctrl+a", "x", "Return")
message = wait_for(window(app, "Calculation Error"), "the message box")
check("Invalid calculation" in [l.name for l in descendants(message, "label")],
      "message reads Invalid calculation")
check([b.name for b in descendants(message, "push button")] == ["OK"], "message has OK only")
keys("Return")
wait_for(lambda: not window(app, "Calculation Error")(), "the message box to close")

# Closing the results starts afresh; the new count is announced as well.
keys("Escape")
wait_for(lambda: name(counter) == "0", "the counter to read 0", timeout=5)
check(announced[-1:] == ["0"], "reset to 0 announced")


# The information windows, opened from the Help menu where AT-SPI shows it.
def open_help(item, title):
    help_menu = wait_for(lambda: next(iter(pyatspi.findAllDescendants(
        main, lambda a: role(a) == "menu item" and a.name == "Help")), None), "the Help menu")
    click(help_menu)
    entry = wait_for(lambda: next(iter(pyatspi.findAllDescendants(
        help_menu, lambda a: a.name == item and a.getState().contains(pyatspi.STATE_SHOWING))),
        None), "the %s menu item" % item)
    click(entry)
    shown = wait_for(window(app, title), "the %s window" % title)
    lines = [l.name for l in descendants(shown, "label")]
    keys("alt+F4")
    wait_for(lambda: not window(app, title)(), "the %s window to close" % title)
    return lines


guide = open_help("Instructions", "Instructions")
check(guide[:2] == ["Tap the space bar to mark the beat resolution and",
                    "press enter to reset the counter and view results."],
      "Instructions begin with how to tap")
check(" " * 16 + "*" + " " * 13 + "Multiplication" in guide, "Instructions list the * key")
about = open_help("About", "About")
check(any(line.strip() == TITLE for line in about), "About names the program")
check("Version: 0.1.0" in about, "About gives the version")

if failures:
    print("%d check(s) failed" % len(failures), flush=True)
    sys.exit(1)
print("AT-SPI scenario passed", flush=True)
