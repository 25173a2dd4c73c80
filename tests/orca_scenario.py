#!/usr/bin/python3
"""What Orca says of Tempulo, read from Orca's own debug log.

Run by desktop_session.sh --orca: Debian's Orca runs on the session's accessibility bus with its
log at TEMPULO_ORCA_LOG, and the program is started after it. Keys go in through XTest
(xdotool). After each step the scenario collects what Orca says (its SPEECH OUTPUT lines) and
checks what a listener hears, not how Orca cuts it into utterances: the parts expected must come
in order (for a window opened by a key, in either of the orders Orca may take), however Orca
joins or splits them, and a number is heard whole also where Orca says a run of one digit as a
count ("12 2 characters"). Silence fails. The numbers to hear are read from the program through
AT-SPI, so no measured tempo decides whether the scenario passes.

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


def found(heard, part, at=0):
    """Where part is heard from at on, as a whole: a number is not part of a longer one."""
    pattern = re.escape(part)
    if part[:1].isdigit():
        pattern = r"(?<![\d.])" + pattern
    if part[-1:].isdigit():
        pattern += r"(?!\.?\d)"
    match = re.compile(pattern).search(heard, at)
    return (match.start(), match.end()) if match else None


def in_order(heard, parts):
    """The first part not heard after the ones before it, or None when all were."""
    at = 0
    for part in parts:
        where = found(heard, part, at)
        if where is None:
            return part
        at = where[1]
    return None


def each_of(heard, parts):
    """The first part not heard at all, whatever the order, or None when all were."""
    return next((part for part in parts if found(heard, part) is None), None)


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

    def hears(self, since, what, *parts, timeout=15.0, quiet=0.7, missing_from=in_order):
        """Waits until Orca has said every part, in order, then until it falls quiet."""
        end = time.monotonic() + timeout
        missing = missing_from(heard_as(self.said(since)), parts)
        while missing is not None and time.monotonic() < end:
            pump(0.1)
            missing = missing_from(heard_as(self.said(since)), parts)
        settle = time.monotonic() + 5
        while time.monotonic() - self.last < quiet and time.monotonic() < settle:
            pump(0.1)
            self._read()
        check(missing is None, "Orca says %s%s; it said %s"
              % (what, "" if missing is None else " (missing %r)" % missing, self.said(since)))
        return heard_as(self.said(since))

    def hears_each(self, since, what, *parts):
        """Waits until Orca has said every part, in any order.

        A window opened by a key: Orca 43 gets the key through the program and presents the
        window, then the control with the focus and its selected number. Orca 48 hears keys from
        the window system; when the window is up before Orca has handled the key, it says the
        window's name and description, takes the focus without a word, and the number comes as
        the program's announcement. Either way every part must be heard."""
        return self.hears(since, what, *parts, missing_from=each_of)


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
orca.hears_each(since, "the results and the tempo", "Calculated Results", tempo)

# Word by word to the end and back, a key at a time as a user reads: Orca asks for the words
# around the caret and says a word of the number; the program still answers afterwards. Each key
# waits for what Orca says of the one before: on a busy machine Orca may get a caret move late,
# and then says the word before the last move, or "blank" at the end of the text.
def word_of_tempo(heard, parts):
    words = [w for w in re.findall(r"[0-9.]+", heard.split("control", 1)[-1]) if w.strip(".")]
    return None if any(w in tempo for w in words) else parts[0]


since = step("to the end", "End")
wait_for(lambda: tempo_box.queryText().caretOffset == len(tempo) or None, "the caret at the end")
orca.hears(since, "the caret at the end", quiet=1.5)
since = step("a word back", "ctrl+Left")
orca.hears(since, "a word of %s after Ctrl+Left" % tempo, "a word of the number",
           missing_from=word_of_tempo)
since = step("a word on", "ctrl+Right")
orca.hears(since, "Ctrl+Right", "control")
Atspi.set_timeout(2000, 15000)
try:
    word, start, end = tempo_box.queryText().getTextAtOffset(len(tempo),
                                                             Atspi.TextBoundaryType.WORD_START)
    check(0 <= start <= end <= len(tempo), "the program answers after word navigation (%r)" % word)
except GLib.GError as error:
    check(False, "the program answers after word navigation (%s)" % error.message)
    finish("")

# The operand prompt: its title, the question and the offered operand.
PROMPT = ("Multiplication", "Enter the multiplication (*) value.", "2")
since = step("multiply", "asterisk")
orca.hears_each(since, "the prompt and the offered operand", *PROMPT)

# OK: the new value, whole; Escape goes back to the results.
since = step("OK", "Return")
result_window = wait_for(window(app, "Multiplication result"), "the result window")
value = text(descendants(result_window, "text")[0])
orca.hears_each(since, "the result window and its value", "Multiplication result", value)
since = step("close the result", "Escape")
orca.hears(since, "the results again", "Calculated Results")

# A letter as operand: the message, then back to the results.
since = step("multiply", "asterisk")
orca.hears_each(since, "the prompt again", *PROMPT)
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
