#!/usr/bin/python3
"""What Orca says of Tempulo, read line by line from Orca's own debug log.

Run by desktop_session.sh --orca: Debian's Orca runs on the session's accessibility bus with its
log at TEMPULO_ORCA_LOG, and the program is started after it. Keys go in through XTest
(xdotool); after each step the scenario waits for what Orca says (its SPEECH OUTPUT lines).
The numbers Orca should say are read from the program through AT-SPI.

    orca_scenario.py
"""

import os
import re
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

from desktop import (TITLE, application, check, descendants, finish, keys, pump, text,
                     wait_for, window)

SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'\s*\[?\{'established'")


class Orca:
    """What Orca has said so far, read from its log as it grows."""

    def __init__(self, path):
        self.log = open(path, encoding="utf-8", errors="replace")
        self.heard = []
        self.partial = ""

    def _read(self):
        chunk = self.log.read()
        if not chunk:
            return
        lines = (self.partial + chunk).split("\n")
        self.partial = lines.pop()
        for line in lines:
            match = SPEECH.search(line)
            if match:
                self.heard.append(match.group(1).strip())

    def mark(self):
        self._read()
        return len(self.heard)

    def said(self, since):
        self._read()
        return self.heard[since:]

    def wait(self, since, wanted, what, timeout=15.0):
        """Waits until Orca says something that wanted() accepts; returns it."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            for said in self.said(since):
                if wanted(said):
                    return said
            pump(0.1)
        check(False, "Orca says %s; it said %s" % (what, self.said(since)))
        finish("")
        return None


def step(what, *typed):
    since = orca.mark()
    keys(*typed)
    print("      %s: %s" % (what, " ".join(typed)), flush=True)
    return since


orca = Orca(os.environ["TEMPULO_ORCA_LOG"])
app = wait_for(application, "the program on the accessibility bus")
main = wait_for(window(app, TITLE), "the main window")

# Start: the window, then the counter with its caption and count.
orca.wait(0, lambda s: s == TITLE + " frame.", "the window's title")
said = orca.wait(0, lambda s: s.startswith("Key press count"), "the counter")
check(said.startswith("Key press count 0"), "start: %r" % said)

# Every tap is heard as the new count.
for count in range(1, 4):
    since = step("tap", "space")
    said = orca.wait(since, lambda s, c=count: s == str(c), "the count %d" % count, timeout=5)
    check(said == str(count), "tap %d: %r" % (count, said))

# Enter: the tempo box has the focus, and its number is read whole.
since = step("results", "Return")
results = wait_for(window(app, "Calculated Results"), "the results window")
tempo_box = [box for box in descendants(results, "text") if box.name == "Beats per minute"][0]
tempo = text(tempo_box)
orca.wait(since, lambda s: s == "Beats per minute read only text.", "the tempo box")
said = orca.wait(since, lambda s: s.endswith(" selected."), "the tempo")
check(said == tempo + " selected.", "tempo read whole: %r, the box holds %r" % (said, tempo))

# Word by word to the end and back: Orca asks for the words around the caret; the program answers.
since = step("word navigation", "End", "ctrl+Left", "ctrl+Right")
said = orca.wait(since, lambda s: s and s[-1].isdigit() and "control" not in s,
                 "a word after Ctrl+Right", timeout=10)
Atspi.set_timeout(2000, 15000)
try:
    word, start, end = tempo_box.queryText().getTextAtOffset(len(tempo),
                                                             Atspi.TextBoundaryType.WORD_START)
    check(0 <= start <= end <= len(tempo), "the program answers after word navigation (%r)" % word)
except GLib.GError as error:
    check(False, "the program answers after word navigation (%s)" % error.message)
    finish("")

# The operand prompt: its question, then the offered operand.
since = step("multiply", "asterisk")
orca.wait(since, lambda s: s == "Multiplication dialog.", "the prompt's title")
said = orca.wait(since, lambda s: s.startswith("Enter the multiplication (*) value."),
                 "the question")
check(said == "Enter the multiplication (*) value. text.", "question: %r" % said)
said = orca.wait(since, lambda s: s.endswith("selected."), "the offered operand")
check(said == "2 selected.", "offered operand: %r" % said)

# OK: the new value, whole; Escape goes back to the results.
since = step("OK", "Return")
result_window = wait_for(window(app, "Multiplication result"), "the result window")
value = text(descendants(result_window, "text")[0])
orca.wait(since, lambda s: s == "Calculated result read only text.", "the result box")
said = orca.wait(since, lambda s: s.endswith(" selected."), "the new value")
check(said == value + " selected.", "result read whole: %r, the box holds %r" % (said, value))
since = step("close the result", "Escape")
orca.wait(since, lambda s: s == "Calculated Results dialog.", "the results again")

# A letter as operand: the message.
since = step("multiply", "asterisk")
orca.wait(since, lambda s: s == "Multiplication dialog.", "the prompt again")
since = step("a letter", "x", "Return")
said = orca.wait(since, lambda s: "Invalid calculation" in s, "the message")
check("Invalid calculation" in said, "message: %r" % said)
since = step("close the message", "Return")
orca.wait(since, lambda s: s == "Calculated Results dialog.", "the results again")

# Closing the results: the counter, back at 0.
since = step("close the results", "Escape")
said = orca.wait(since, lambda s: s.startswith("Key press count") or s == "0", "the count 0")
check(said in ("0", "Key press count 0 statusbar."), "after the results: %r" % said)

check(os.path.exists("/proc/%s" % os.environ["TEMPULO_PROGRAM_PID"]), "the program still runs")
print("      Orca said: %s" % orca.heard, flush=True)
finish("Orca scenario passed")
