#!/usr/bin/python3
"""What a screen reader reads of Tempulo, through AT-SPI as Orca reads it.

Run by desktop_session.sh inside a session bus with the accessibility bus, a virtual X screen, a
window manager and the program started. Keys go in through XTest (xdotool), as typed; menus are
opened where AT-SPI says they are. One scenario: the counter after three taps, the three results,
the operand prompt, a calculated result, the "Invalid calculation" message, the Instructions and
About texts. Every text object of every window is swept with every text query a screen reader can
make, each bounded by a timeout: none may go unanswered or answer outside the text. With --hostile,
every text object is also sent every reading, caret, selection and editing call with offsets a
careless client might send: each must answer at once, leave the numbers as they were and the
read-only boxes unchanged, and keep an edited entry within its length.

    atspi_scenario.py CANCEL_TEXT DECIMAL_SEPARATOR [--hostile]
"""

import subprocess
import sys
import time

import pyatspi
import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

from desktop import (TITLE, application, check, descendants, finish, keys, labelled_by, name,
                     pump, role, text, wait_for, window)

CANCEL, POINT = sys.argv[1], sys.argv[2]
HOSTILE = "--hostile" in sys.argv[3:]

BOUNDARIES = {
    "char": pyatspi.TEXT_BOUNDARY_CHAR,
    "word start": pyatspi.TEXT_BOUNDARY_WORD_START,
    "word end": pyatspi.TEXT_BOUNDARY_WORD_END,
    "sentence start": pyatspi.TEXT_BOUNDARY_SENTENCE_START,
    "sentence end": pyatspi.TEXT_BOUNDARY_SENTENCE_END,
    "line start": pyatspi.TEXT_BOUNDARY_LINE_START,
    "line end": pyatspi.TEXT_BOUNDARY_LINE_END,
}


def sweep(shown, what):
    """Every text query at every offset of every text object in the window, each given 2 s."""
    Atspi.set_timeout(2000, 15000)
    objects = pyatspi.findAllDescendants(shown, lambda a: "Text" in a.get_interfaces())
    calls = 0
    for obj in objects:
        face = obj.queryText()
        whole = face.getText(0, -1)
        for offset in range(len(whole) + 1):
            for boundary_name, boundary in BOUNDARIES.items():
                for query in ("getTextBeforeOffset", "getTextAtOffset", "getTextAfterOffset"):
                    call = "%s %s(%d, %s) of %r" % (obj.name, query, offset, boundary_name, whole)
                    try:
                        got, start, end = getattr(face, query)(offset, boundary)
                    except GLib.GError as error:
                        check(False, "%s answers (%s)" % (call, error.message))
                        return
                    calls += 1
                    if not (0 <= start <= end <= len(whole) and got == whole[start:end]):
                        check(False, "%s gave %r at %d-%d" % (call, got, start, end))
                        return
    check(True, "%s: %d text object(s), %d queries answered inside the text"
          % (what, len(objects), calls))


LARGEST = 2147483647
SMALLEST = -2147483648


def offsets(length):
    """What careless clients send: negative, past the end, the largest and smallest ints."""
    return [SMALLEST, -3, -2, -1, 0, length // 2, length, length + 1, LARGEST - 1, LARGEST]


def answers(call, *arguments):
    """Makes the call; it must answer within the bus timeout, with a value or an error."""
    started = time.monotonic()
    try:
        call(*arguments)
    except GLib.GError as error:
        if "reply" in error.message.lower() or "timeout" in error.message.lower():
            return "no answer (%s)" % error.message
    elapsed = time.monotonic() - started
    return None if elapsed < 1.0 else "took %.1f s" % elapsed


def careless_client(shown, what):
    """Every call a client can make on every text object, with odd offsets, each given 2 s."""
    Atspi.set_timeout(2000, 15000)
    coords = (Atspi.CoordType.SCREEN, Atspi.CoordType.WINDOW)
    objects = pyatspi.findAllDescendants(shown, lambda a: "Text" in a.get_interfaces())
    calls = 0
    for obj in objects:
        before = Atspi.Text.get_text(obj, 0, -1)
        editable = obj.getState().contains(pyatspi.STATE_EDITABLE)
        if not editable:
            check(obj.getState().contains(pyatspi.STATE_READ_ONLY) and
                  "EditableText" not in obj.get_interfaces(),
                  "%s is read-only and offers no editing" % obj.name)
            try:
                refused = not Atspi.EditableText.set_text_contents(obj, "abc")
            except GLib.GError:
                refused = True
            check(refused, "%s answers that new text is refused (the call guard stands in "
                  "front of Qt's bridge)" % obj.name)
        n = len(before)
        plan = []
        for a in offsets(n):
            plan += [(Atspi.Text.get_character_at_offset, a), (Atspi.Text.set_caret_offset, a),
                     (Atspi.Text.get_text_attributes, a), (Atspi.Text.get_attribute_run, a, True),
                     (Atspi.Text.get_text_attribute_value, a, "font-family"),
                     (Atspi.Text.get_selection, a), (Atspi.Text.remove_selection, a),
                     (Atspi.EditableText.paste_text, a)]
            plan += [(Atspi.Text.get_character_extents, a, c) for c in coords]
            plan += [(Atspi.Text.get_text_at_offset, a, b) for b in range(7)]
            for z in offsets(n):
                plan += [(Atspi.Text.get_text, a, z), (Atspi.Text.add_selection, a, z),
                         (Atspi.Text.set_selection, 0, a, z),
                         (Atspi.Text.get_range_extents, a, z, coords[0]),
                         (Atspi.Text.get_offset_at_point, a, z, coords[0]),
                         (Atspi.EditableText.copy_text, a, z),
                         (Atspi.EditableText.delete_text, a, z),
                         (Atspi.EditableText.cut_text, a, z),
                         (Atspi.EditableText.insert_text, a, "7", z)]
        plan += [(Atspi.Text.get_bounded_ranges, SMALLEST, SMALLEST, LARGEST, LARGEST, coords[0],
                  Atspi.TextClipType.BOTH, Atspi.TextClipType.BOTH),
                 (Atspi.EditableText.set_text_contents, "abc"),
                 (Atspi.EditableText.set_text_contents, "9" * 40000),
                 (Atspi.EditableText.insert_text, LARGEST - 1, "7" * 40000, LARGEST),
                 # Whatever the field now holds, measured and searched whole.
                 (Atspi.Text.get_range_extents, SMALLEST, LARGEST, coords[0]),
                 (Atspi.Text.get_text_at_offset, LARGEST, pyatspi.TEXT_BOUNDARY_WORD_START),
                 (Atspi.Text.get_text_before_offset, -1, pyatspi.TEXT_BOUNDARY_SENTENCE_START)]
        for call, *arguments in plan:
            problem = answers(call, obj, *arguments)
            calls += 1
            if problem:
                check(False, "%s: %s%s %s" % (obj.name, call.__name__, tuple(arguments), problem))
                finish("")
        after = Atspi.Text.get_text(obj, 0, -1)
        if editable:
            check(len(after) <= 32767, "%s holds at most its maximum length (%d)"
                  % (obj.name, len(after)))
            Atspi.EditableText.set_text_contents(obj, before)
            check(Atspi.Text.get_text(obj, 0, -1) == before,
                  "%s edited back to %r" % (obj.name, before))
        else:
            check(after == before, "%s still reads %r (reads %r)" % (obj.name, before, after))
    check(True, "%s: %d text object(s) took %d careless calls" % (what, len(objects), calls))


def click(acc):
    x, y, w, h = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2), "click", "1"],
                   check=True)
    pump(0.5)


def number(shown):
    return float(shown.replace(POINT, "."))


app = wait_for(application, "the program on the accessibility bus")
main = wait_for(window(app, TITLE), "the main window")


def bus_addresses():
    """What each application on the accessibility bus answers when asked for a bus of its own, as
    libatspi asks of every application it reaches: an address, or an empty one for none (Qt's bridge has no answer
    but an error and a warning)."""
    session = Gio.bus_get_sync(Gio.BusType.SESSION)
    address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                None, None, Gio.DBusCallFlags.NONE, 2000).unpack()[0]
    a11y = Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    root = "/org/a11y/atspi/accessible/root"
    apps = a11y.call_sync("org.a11y.atspi.Registry", root, "org.a11y.atspi.Accessible",
                          "GetChildren", None, None, Gio.DBusCallFlags.NONE, 2000).unpack()[0]
    addresses = []
    for bus_name, _ in apps:
        try:
            addresses.append(a11y.call_sync(bus_name, root, "org.a11y.atspi.Application",
                                          "GetApplicationBusAddress", None, None,
                                          Gio.DBusCallFlags.NONE, 2000).unpack()[0])
        except GLib.GError as error:
            addresses.append(error.message)
    return addresses


addresses = bus_addresses()
check(addresses == [""], "the program has no bus of its own, and says so: %r" % addresses)

# The counter: the count it shows, labelled by its caption, holding the focus so that each new
# count is spoken.
counter = wait_for(lambda: next(iter(pyatspi.findAllDescendants(
    main, lambda a: labelled_by(a) == ["Key press count"])), None), "the counter")
check(role(counter) == "status bar", "counter is a status display (role: %s)" % role(counter))
wait_for(lambda: counter.getState().contains(pyatspi.STATE_FOCUSED), "the counter to hold the focus",
         timeout=5)
check("space bar" in counter.description, "counter's description says what it counts")
sweep(main, "main window")

announced = []


def on_name_changed(event):
    # The new name itself, as screen readers take it; Qt before 6.8 also sends a malformed event
    # with the object in its place, which a screen reader cannot speak.
    if isinstance(event.any_data, str) and labelled_by(event.source) == ["Key press count"]:
        announced.append(event.any_data)


pyatspi.Registry.registerEventListener(on_name_changed, "object:property-change:accessible-name")
for count in range(1, 4):
    keys("space")
    wait_for(lambda: len(announced) >= count, "tap %d to be announced" % count, timeout=5)
check(name(counter) == "3", "counter reads 3 after three taps")
check(announced == ["1", "2", "3"], "each tap announced once: %s" % announced)

# The results: each box named by its caption, holding its number.
keys("Return")
results = wait_for(window(app, "Calculated Results"), "the results window")
boxes = {box.name: text(box) for box in descendants(results, "text")}
print("      results: %s" % boxes, flush=True)
check(sorted(boxes) == sorted(["One bar length", "One beat length", "Beats per minute"]),
      "three result boxes named by their captions")
beat = number(boxes.get("One beat length", "nan"))
tempo = number(boxes.get("Beats per minute", "nan"))
check(abs(number(boxes.get("One bar length", "nan")) - 4 * beat) <= 1e-9 * beat,
      "bar reads four beats")
check(abs(tempo - 60 / beat) <= 1e-9 * (60 / beat), "tempo reads 60 / beat")
for box in descendants(results, "text"):
    check(labelled_by(box) == [box.name], "%s labelled by its caption" % box.name)
    # Orca speaks a line up to the end of the last attribute run it is given.
    _, start, end = box.queryText().getAttributeRun(0, False)
    check((start, end) == (0, len(text(box))),
          "%s: one attribute run over its whole text (%d-%d)" % (box.name, start, end))
sweep(results, "results window")
if HOSTILE:
    careless_client(results, "results window")

# The operand prompt, opened from the tempo box that has the focus.
keys("asterisk")
prompt = wait_for(window(app, "Multiplication"), "the operand prompt")
check([l.name for l in descendants(prompt, "label")] == ["Enter the multiplication (*) value."],
      "prompt text")
entries = descendants(prompt, "text")
check(len(entries) == 1 and text(entries[0]) == "2", "entry offers 2")
buttons = [b.name for b in descendants(prompt, "push button")]
check(buttons == ["OK", CANCEL], "prompt buttons %s, expected OK and %s" % (buttons, CANCEL))
sweep(prompt, "operand prompt")
if HOSTILE:
    careless_client(prompt, "operand prompt")

# OK: the new value in the result window.
keys("Return")
result = wait_for(window(app, "Multiplication result"), "the result window")
shown = [text(box) for box in descendants(result, "text")]
check(len(shown) == 1 and abs(number(shown[0]) - 2 * tempo) <= 1e-9 * tempo,
      "result reads twice the tempo: %s" % shown)
sweep(result, "result window")
if HOSTILE:
    careless_client(result, "result window")
keys("Escape")
wait_for(lambda: not window(app, "Multiplication result")(), "the result window to close")

# A letter is no operand: the message says so.
keys("asterisk")
wait_for(window(app, "Multiplication"), "the operand prompt again")
keys("ctrl+a", "x", "Return")
message = wait_for(window(app, "Calculation Error"), "the message box")
check("Invalid calculation" in [l.name for l in descendants(message, "label")],
      "message reads Invalid calculation")
check([b.name for b in descendants(message, "push button")] == ["OK"], "message has OK only")
sweep(message, "message box")
keys("Return")
wait_for(lambda: not window(app, "Calculation Error")(), "the message box to close")

# Closing the results starts afresh; the new count is announced as well.
keys("Escape")
wait_for(lambda: name(counter) == "0", "the counter to read 0", timeout=5)
wait_for(lambda: announced[-1:] == ["0"], "reset to 0 to be announced", timeout=5)


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
    sweep(shown, title)
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

finish("AT-SPI scenario passed")
