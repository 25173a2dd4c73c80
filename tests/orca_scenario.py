#!/usr/bin/python3
"""What Orca says of Tempulo, read from Orca's own debug log.

Run by desktop_session.sh --orca: Debian's Orca runs on the session's accessibility bus with its
log at TEMPULO_ORCA_LOG, and the program is started after it. Keys go in through XTest
(xdotool). After each step the scenario collects what Orca says (its SPEECH OUTPUT lines) and
checks what a listener hears, not how Orca cuts it into utterances: the parts expected must come
in order, however Orca joins or splits them, and a number is heard whole also where Orca says a
run of one digit as a count ("12 2 characters"). The numbers to hear are read from the program
through AT-SPI, so no measured tempo decides whether the scenario passes.

    orca_scenario.py
"""

import os
import re
import signal
import subprocess
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

from desktop import (TITLE, application, check, descendants, finish, keys, pump, text,
                     wait_for, window)

SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'\s*\[?\{'established'")
# Orca says a run of one character as its length and the character: "12 2 characters".
REPEATS = re.compile(r"(\d+) (\S) characters")


def heard_as(utterances):
    """What a listener hears, as one text: utterances joined, runs of a digit written out."""
    joined = " ".join(utterances)
    return REPEATS.sub(lambda m: m.group(2) * int(m.group(1)), joined)


def in_order(heard, parts):
    """The first part not heard after the ones before it, or None when all were."""
    at = 0
    for part in parts:
        found = heard.find(part, at)
        if found < 0:
            return part
        at = found + len(part)
    return None


class Orca:
    """What Orca has said so far, read from its log as it grows."""

    def __init__(self, path):
        self.log = open(path, encoding="utf-8", errors="replace")
        self.heard = []
        self.partial = ""
        self.last = time.monotonic()

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
                self.last = time.monotonic()

    def mark(self):
        self._read()
        return len(self.heard)

    def said(self, since):
        self._read()
        return self.heard[since:]

    def hears(self, since, what, *parts, timeout=15.0, quiet=0.7):
        """Waits until Orca has said every part, in order, then until it falls quiet."""
        end = time.monotonic() + timeout
        missing = in_order(heard_as(self.said(since)), parts)
        while missing is not None and time.monotonic() < end:
            pump(0.1)
            missing = in_order(heard_as(self.said(since)), parts)
        settle = time.monotonic() + 5
        while time.monotonic() - self.last < quiet and time.monotonic() < settle:
            pump(0.1)
            self._read()
        check(missing is None, "Orca says %s%s; it said %s"
              % (what, "" if missing is None else " (missing %r)" % missing, self.said(since)))
        return heard_as(self.said(since))


def focus_heard(heard, what, *parts):
    """The control a window opened with, as Orca presents it when it handles the key first.

    Orca 48 hears keys from the window system, not through the program: when the program has
    opened the window before Orca handles the key that opened it, Orca says the window's name,
    role and description, takes the focus inside it without a word, and drops the focus event
    that follows. Which comes first is a race the program does not decide (plain Qt dialogs lose
    it the same way); what each window says on its own must be heard either way."""
    if parts[0] not in heard:
        print("      (Orca handled the key after the window opened: %s taken silently)" % what,
              flush=True)
        return
    check(in_order(heard, parts) is None, "Orca says %s: %s" % (what, heard))


def step(what, *typed):
    since = orca.mark()
    keys(*typed)
    print("      %s: %s" % (what, " ".join(typed)), flush=True)
    return since


orca = Orca(os.environ["TEMPULO_ORCA_LOG"])
app = wait_for(application, "the program on the accessibility bus")
main = wait_for(window(app, TITLE), "the main window")

# The counter, which has the focus. The window's name comes first, unless Orca 48, told of the
# focus right after the window, drops the window's own utterance for it (as it may at start).
heard = orca.hears(0, "the counter", "Key press count", "0")
if TITLE not in heard:
    print("      (Orca went straight to the focus without the window's name)", flush=True)

# Every tap is heard as the new count.
for count in range(1, 4):
    since = step("tap", "space")
    orca.hears(since, "the count %d" % count, str(count), timeout=5)

# Enter: the tempo box has the focus, and its number is heard whole and selected.
since = step("results", "Return")
results = wait_for(window(app, "Calculated Results"), "the results window")
tempo_box = [box for box in descendants(results, "text") if box.name == "Beats per minute"][0]
tempo = text(tempo_box)
heard = orca.hears(since, "the results", "Calculated Results")
focus_heard(heard, "the tempo box and its number %s" % tempo,
            "Beats per minute", "read only", tempo, "selected")

# Word by word to the end and back: Orca asks for the words around the caret, and says a word of
# the number; the program still answers afterwards. Which word Orca says on which key depends on
# when it gets the caret's moves: when they come late it says the word before the last move, and
# "blank" at the end of the text.
since = step("word navigation", "End", "ctrl+Left", "ctrl+Right")
heard = orca.hears(since, "a word of the number", "control", timeout=10)
words = [w for w in re.findall(r"[0-9.]+", heard.split("control", 1)[-1]) if w.strip(".")]
check(any(w in tempo for w in words), "a word of %s heard after Ctrl+Left and Ctrl+Right: %r"
      % (tempo, heard))
Atspi.set_timeout(2000, 15000)
try:
    word, start, end = tempo_box.queryText().getTextAtOffset(len(tempo),
                                                             Atspi.TextBoundaryType.WORD_START)
    check(0 <= start <= end <= len(tempo), "the program answers after word navigation (%r)" % word)
except GLib.GError as error:
    check(False, "the program answers after word navigation (%s)" % error.message)
    finish("")

# The operand prompt: its title and the question, then the offered operand, selected.
since = step("multiply", "asterisk")
heard = orca.hears(since, "the prompt", "Multiplication", "Enter the multiplication (*) value.")
focus_heard(heard.split("Enter the multiplication (*) value.", 1)[-1], "the offered operand",
            "2", "selected")

# OK: the new value, whole; Escape goes back to the results.
since = step("OK", "Return")
result_window = wait_for(window(app, "Multiplication result"), "the result window")
value = text(descendants(result_window, "text")[0])
heard = orca.hears(since, "the result window", "Multiplication result")
focus_heard(heard, "the result %s" % value, "Calculated result", "read only", value, "selected")
since = step("close the result", "Escape")
orca.hears(since, "the results again", "Calculated Results")

# A letter as operand: the message, then back to the results.
since = step("multiply", "asterisk")
orca.hears(since, "the prompt again", "Multiplication", "Enter the multiplication (*) value.")
since = step("a letter", "x", "Return")
orca.hears(since, "the message", "Invalid calculation")
since = step("close the message", "Return")
orca.hears(since, "the results again", "Calculated Results")

# Closing the results: the counter, back at 0.
since = step("close the results", "Escape")
orca.hears(since, "the count 0", "0")

# A busy machine: the program is kept from running while two keys go down half a second apart,
# and then gets both at once, each through Orca before it reaches the window. Each tap counts
# from when its key went down, so the beat is the time between the keys: half a second and what
# xdotool took beyond its sleeps (its run less the four quarter seconds it sleeps bounds that),
# within the step of the time of day the taps are held in (1/128 s at most) and the X server's
# millisecond. Timed as the program handles them, the two taps would be a few ms apart.
program = int(os.environ["TEMPULO_PROGRAM_PID"])
since = orca.mark()
os.kill(program, signal.SIGSTOP)
typing = time.monotonic()
typist = subprocess.Popen(["xdotool", "key", "--delay", "500", "space", "space"])
time.sleep(0.6)
os.kill(program, signal.SIGCONT)
typist.wait()
typed = time.monotonic() - typing
orca.hears(since, "the count 2 after the held taps", "2", timeout=10)
since = step("results", "Return")
results = wait_for(window(app, "Calculated Results"), "the results window after held taps")
beat_box = [box for box in descendants(results, "text") if box.name == "One beat length"][0]
beat = text(beat_box)
slack = 1 / 128 + 0.001
try:
    held = 0.5 - slack <= float(beat) <= 0.5 + (typed - 1.0) + slack
except ValueError:
    held = False
check(held, "two keys half a second apart, held back together, give a beat of 0.5 s (%s; xdotool "
      "took %.3f s)" % (beat, typed))
since = step("close the results", "Escape")
orca.hears(since, "the count 0", "0")

check(os.path.exists("/proc/%s" % program), "the program still runs")
print("      Orca said: %s" % orca.heard, flush=True)
finish("Orca scenario passed")
