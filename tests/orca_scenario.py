#!/usr/bin/python3
"""What Orca says of Tempulo, read from Orca's own debug log.

Run by desktop_session.sh --orca: Debian's Orca runs on the session's accessibility bus with its
log at TEMPULO_ORCA_LOG (its process is TEMPULO_ORCA_PID), and the program is started after it.
Keys go in through XTest (xdotool). The scenario checks what a listener hears, not how Orca cuts
it into utterances: an utterance Orca interrupted within half a second is not heard, a number is
heard whole (also where Orca says a run of one digit as a count, "12 2 characters"), and
silence fails. The numbers to hear are read from the program through AT-SPI, so no measured
tempo decides whether the scenario passes.

Each window a key opens is opened in both of the orders a screen reader may meet it in, on
purpose: "window first", Orca held (SIGSTOP) from before the key until the window and its focus
are on the accessibility bus, as when the program is quicker than Orca; and "Orca first", the
program held until Orca has handled the key (Orca 48 hears keys from the window system; Orca 43
gets each key through the program, which waits for its answer, so there the key is simply
typed). Orca's log tells which order each opening took (Orca 48 logs finding the window itself
as it handles the key; Orca 43's echo of the key comes before or after the window's name), and an
opening that took the other fails; Orca 43, held back, still handles the
key before the window's events, which reach it after the key, and its log shows Orca first. Each must be heard whole and once:
the window's name, the focused box's caption and its number, each exactly once; and the braille
line Orca keeps must be that box's line, with its number.

    orca_scenario.py
"""

import os
import re
import signal
import subprocess
import time
from datetime import datetime, timedelta

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

import pyatspi  # noqa: E402
from orca import orca_platform  # noqa: E402

from desktop import (TITLE, application, check, descendants, finish, pump, text,  # noqa: E402
                     wait_for, window)

STAMP = re.compile(r"(\d\d):(\d\d):(\d\d\.\d+) - ")
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'\s*(?:\[?\{'established'|None|$)")
BRAILLE = re.compile(r"BRAILLE LINE:  '(.*)'\s*$")
INTERRUPT = "Interrupting presentation"
# Orca 48 finding a new window itself as it handles a key: the window was up before the key.
FOUND = re.compile(r"INPUT EVENT MANAGER: Updating window and active window to \[\w+: '(.*)'\]")
# Orca says a run of one character as its length and the character: "12 2 characters".
REPEATS = re.compile(r"(\d+) (\S) characters")
CUT = timedelta(seconds=0.5)


def written_out(utterance):
    return REPEATS.sub(lambda m: m.group(2) * int(m.group(1)), utterance)


def pattern_of(part):
    """A part as a listener hears it: a number not part of a longer one, words as words."""
    pattern = re.escape(part)
    if part[:1].isalnum():
        pattern = r"(?<![\w.])" + pattern
    if part[-1:].isalnum():
        pattern += r"(?!\.?\w)"
    return re.compile(pattern)


def times_heard(heard, part):
    return len(pattern_of(part).findall(heard))


class Orca:
    """Orca's log as it grows: what it said, when, and what it interrupted."""

    def __init__(self, path):
        self.log = open(path, encoding="utf-8", errors="replace")
        self.entries = []  # (time, "speech" | "braille" | "interrupt", text)
        self.partial = ""
        self.last = time.monotonic()
        self.stamp = None
        self.days = timedelta()

    def _read(self):
        chunk = self.log.read()
        if not chunk:
            return
        lines = (self.partial + chunk).split("\n")
        self.partial = lines.pop()
        for line in lines:
            line = line.replace("\r", "")
            found = STAMP.search(line)
            if found:
                hours, minutes, seconds = found.groups()
                stamp = datetime(2000, 1, 1) + self.days + timedelta(
                    hours=int(hours), minutes=int(minutes), seconds=float(seconds))
                if self.stamp is not None and stamp < self.stamp - timedelta(hours=12):
                    # Past midnight: Orca's log gives the time of day only.
                    self.days += timedelta(days=1)
                    stamp += timedelta(days=1)
                self.stamp = stamp
            for kind, expression in (("speech", SPEECH), ("braille", BRAILLE)):
                match = expression.search(line)
                if match:
                    self.entries.append((self.stamp, kind, match.group(1).strip()))
                    if kind == "speech":
                        self.last = time.monotonic()
            if INTERRUPT in line:
                self.entries.append((self.stamp, "interrupt", ""))
            found = FOUND.search(line)
            if found:
                self.entries.append((self.stamp, "found", found.group(1)))

    def mark(self):
        self._read()
        return len(self.entries)

    def log_has(self, since, kind, wanted):
        self._read()
        return any(k == kind and wanted(t) for _, k, t in self.entries[since:])

    def utterances(self, since):
        """Each utterance from since on, and whether Orca cut it off: an interruption followed
        it within half a second."""
        self._read()
        entries = self.entries[since:]
        result = []
        for i, (stamp, kind, said) in enumerate(entries):
            if kind != "speech":
                continue
            cut = any(k == "interrupt" and s is not None and stamp is not None
                      and stamp <= s <= stamp + CUT for s, k, _ in entries[i + 1:])
            result.append((said, cut))
        return result

    def heard(self, since, include_cut=False):
        """What a listener heard from since on: the utterances not cut off, as one text."""
        return written_out(" ".join(said for said, cut in self.utterances(since)
                                    if include_cut or not cut))

    def braille_kept(self, since):
        self._read()
        lines = [t for _, k, t in self.entries[since:] if k == "braille"]
        return lines[-1] if lines else None

    def quiet(self, quiet=0.7, longest=5.0):
        end = time.monotonic() + longest
        while time.monotonic() - self.last < quiet and time.monotonic() < end:
            pump(0.1)
            self._read()

    def hears(self, since, what, *parts, timeout=15.0, quiet=0.7, include_cut=False):
        """Waits until Orca has said every part, in order, then until it falls quiet."""
        end = time.monotonic() + timeout
        missing = self._missing(since, parts, include_cut)
        while missing is not None and time.monotonic() < end:
            pump(0.1)
            missing = self._missing(since, parts, include_cut)
        self.quiet(quiet)
        check(missing is None, "Orca says %s%s; it said %s" % (
            what, "" if missing is None else " (missing %r)" % missing, self.said(since)))
        return self.heard(since, include_cut)

    def _missing(self, since, parts, include_cut=False):
        heard, at = self.heard(since, include_cut), 0
        for part in parts:
            match = pattern_of(part).search(heard, at)
            if match is None:
                return part
            at = match.end()
        return None

    def said(self, since):
        return ["%s%s" % (said, " (cut off)" if cut else "") for said, cut in self.utterances(since)]


orca = Orca(os.environ["TEMPULO_ORCA_LOG"])
orca_process = int(os.environ["TEMPULO_ORCA_PID"])
program = int(os.environ["TEMPULO_PROGRAM_PID"])
# Orca's version from its own package: "orca --version" once printed nothing on a busy machine,
# which would have taken Orca 48 for one before 46.
version = "Orca %s" % orca_platform.version
orca_major = int(re.match(r"(\d+)", orca_platform.version).group(1))
# From Orca 46 on X11, Orca hears keys from the window system; before, each key comes to it
# through the program's bridge, which holds the key for Orca's answer.
ORCA_HEARS_KEYS_ITSELF = orca_major >= 46
print("      %s" % version.strip(), flush=True)

app = wait_for(application, "the program on the accessibility bus")
main = wait_for(window(app, TITLE), "the main window")

# The windows shown and the focus given, as the accessibility bus carries them to every client.
shown = []


def on_event(event):
    shown.append((event.type, event.source, event.detail1))


pyatspi.Registry.registerEventListener(on_event, "window:activate", "object:state-changed:focused")


def xdotool(*names):
    subprocess.run(["xdotool", "key", "--delay", "120", *names], check=True)


def step(what, *typed):
    since = orca.mark()
    xdotool(*typed)
    pump(0.3)
    print("      %s: %s" % (what, " ".join(typed)), flush=True)
    return since


def focused_in(title):
    """Whether a window of that title has been activated and a control in it given the focus."""
    activated = False
    for kind, source, gained in shown:
        try:
            if kind == "window:activate" and source.name == title:
                activated = True
            elif activated and kind.startswith("object:state-changed:focused") and gained and \
                    source.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY):
                return True
        except GLib.GError:
            continue
    return False


def echoes(key):
    """What Orca says as it echoes the key: Orca 43 names the asterisk, Orca 48 says the sign."""
    return {"Return": ("return",), "asterisk": ("*", "star")}[key]


def opening(what, key, title, order):
    """Types the key that opens the window, in the order asked for; returns where Orca's log of
    it starts."""
    since = orca.mark()
    del shown[:]
    if order == "window first":
        os.kill(orca_process, signal.SIGSTOP)
        try:
            xdotool(key)
            wait_for(lambda: focused_in(title), "the %s window and its focus on the bus" % title)
        finally:
            os.kill(orca_process, signal.SIGCONT)
    elif ORCA_HEARS_KEYS_ITSELF:
        os.kill(program, signal.SIGSTOP)
        try:
            xdotool(key)
            wait_for(lambda: orca.log_has(since, "speech", lambda t: t in echoes(key)),
                     "Orca's echo of %s before the %s window" % (key, title))
        finally:
            os.kill(program, signal.SIGCONT)
    else:
        xdotool(key)
    print("      %s (%s): %s" % (what, order, key), flush=True)
    return since


def order_taken(since, key, title):
    """Which order Orca's log shows. Orca 48 logs finding the window as it handles the key when
    the window was up first; Orca 43 says the key's echo before or after the window's name."""
    if ORCA_HEARS_KEYS_ITSELF:
        found = orca.log_has(since, "found", lambda t: t == title)
        return "window first" if found else "Orca first"
    for said, _ in orca.utterances(since):
        if pattern_of(title).search(said):
            return "window first"
        if said in echoes(key):
            return "Orca first"
    return "neither"


def heard_once(since, what, key, title, order, caption, number, braille=True):
    """The window's name, the caption and the number, each heard once and whole."""
    parts = (title, caption, number)
    end = time.monotonic() + 15
    while time.monotonic() < end and any(times_heard(orca.heard(since), p) == 0 for p in parts):
        pump(0.1)
    orca.quiet(1.0)
    # A window told again arrives after the wait the program gives Orca to present it.
    pump(1.0)
    orca.quiet(1.0)
    # Orca 43 gets the key through the program before the program acts on it: held back, it
    # still handles the key before the window's events, late, and its log shows it first.
    expected = order if ORCA_HEARS_KEYS_ITSELF else "Orca first"
    taken = order_taken(since, key, title)
    check(taken == expected, "%s opened %s (Orca's log shows %s)" % (what, order, taken))
    heard = orca.heard(since)
    counts = ", ".join("%r %d" % (p, times_heard(heard, p)) for p in parts)
    check(all(times_heard(heard, p) == 1 for p in parts),
          "%s, %s: heard once each, whole (%s); Orca said %s"
          % (what, order, counts, orca.said(since)))
    if braille:
        line = orca.braille_kept(since)
        check(line is not None and caption in line and pattern_of(number).search(line),
              "%s, %s: braille keeps the box's line with %s (%r)" % (what, order, number, line))


def back_to_results(what="close the result", key="Escape"):
    """Back in the results: the tempo box's caption and number. The results were open all along;
    Orca 48 may find them active again before it handles the key and cut their name off to echo
    it, and then presents the box alone."""
    since = step(what, key)
    orca.hears(since, "the results again", "Beats per minute", tempo)


def tempo_box_of(results):
    return [box for box in descendants(results, "text") if box.name == "Beats per minute"][0]


# The counter, which has the focus. The window's name comes first, unless Orca 48, told of the
# focus right after the window, drops the window's own utterance for it (as it may at start).
heard = orca.hears(0, "the counter", "Key press count", "0")
if TITLE not in heard:
    print("      (Orca went straight to the focus without the window's name)", flush=True)

# Every tap is heard as the new count.
for count in range(1, 4):
    since = step("tap", "space")
    orca.hears(since, "the count %d" % count, str(count), timeout=5)

# Enter with the window first: the results, the tempo box's caption and its number.
since = opening("results", "Return", "Calculated Results", "window first")
results = wait_for(window(app, "Calculated Results"), "the results window")
tempo_box = tempo_box_of(results)
tempo = text(tempo_box)
heard_once(since, "the results", "Return", "Calculated Results", "window first",
           "Beats per minute", tempo)


# Word by word, a key at a time as a user reads: Orca says the digits the caret passed over, and
# the program still answers afterwards. Each key waits for what Orca says of the one before.
def caret():
    return tempo_box.queryText().caretOffset


def passed_over(what, key, before):
    # Control is held while Orca speaks, as a reader holds it: Orca takes a caret move for a
    # word's when the key it last handled has Control down, and Orca 43 on a busy machine handles
    # the move only after the key is let go.
    since = orca.mark()
    subprocess.run(["xdotool", "keydown", "ctrl", "key", key], check=True)
    print("      %s: ctrl+%s" % (what, key), flush=True)
    try:
        wait_for(lambda: caret() != before or None, "the caret to move on ctrl+%s" % key)
        after = caret()
        digits = tempo[min(before, after):max(before, after)]
        orca.hears(since, "the digits ctrl+%s passed over (%r)" % (key, digits), digits)
    finally:
        subprocess.run(["xdotool", "keyup", "ctrl"], check=True)
    orca.quiet()
    return after


since = step("to the end", "End")
wait_for(lambda: caret() == len(tempo) or None, "the caret at the end")
orca.quiet(1.5)
at = passed_over("a word back", "Left", len(tempo))
passed_over("a word on", "Right", at)
Atspi.set_timeout(2000, 15000)
try:
    word, start, end = tempo_box.queryText().getTextAtOffset(len(tempo),
                                                             Atspi.TextBoundaryType.WORD_START)
    check(0 <= start <= end <= len(tempo), "the program answers after word navigation (%r)" % word)
except GLib.GError as error:
    check(False, "the program answers after word navigation (%s)" % error.message)
    finish("")

# The operand prompt, Orca first: its title, the question and the offered operand.
QUESTION = "Enter the multiplication (*) value."
since = opening("the prompt", "asterisk", "Multiplication", "Orca first")
heard_once(since, "the prompt", "asterisk", "Multiplication", "Orca first", QUESTION, "2")

# OK with the window first: the result window, its box and the new value.
since = opening("the result", "Return", "Multiplication result", "window first")
result_window = wait_for(window(app, "Multiplication result"), "the result window")
value = text(descendants(result_window, "text")[0])
heard_once(since, "the result", "Return", "Multiplication result", "window first",
           "Calculated result", value)
back_to_results()

# The other way round: the prompt with the window first, the result with Orca first.
since = opening("the prompt", "asterisk", "Multiplication", "window first")
heard_once(since, "the prompt", "asterisk", "Multiplication", "window first", QUESTION, "2")
since = opening("the result", "Return", "Multiplication result", "Orca first")
heard_once(since, "the result", "Return", "Multiplication result", "Orca first",
           "Calculated result", value)
back_to_results()

# A letter as operand: the message, then back to the results.
since = step("multiply", "asterisk")
orca.hears(since, "the prompt again", "Multiplication")
since = step("a letter", "x", "Return")
# The message box's focus is its button, which holds no text: it is not told again, and is
# checked as it always was, what Orca said of it counting whether or not it was cut off.
orca.hears(since, "the message", "Invalid calculation", include_cut=True)
back_to_results("close the message", "Return")

# Closing the results: the counter, back at 0.
since = step("close the results", "Escape")
orca.hears(since, "the count 0", "0")

# A busy machine: the program is kept from running while two keys go down half a second apart,
# and then gets both at once, each through Orca before it reaches the window. Each tap counts
# from when its key went down, so the beat is the time between the keys: half a second and what
# xdotool took beyond its sleeps (its run less the four quarter seconds it sleeps bounds that),
# within the step of the time of day the taps are held in (1/128 s at most) and the X server's
# millisecond. Timed as the program handles them, the two taps would be a few ms apart.
since = orca.mark()
os.kill(program, signal.SIGSTOP)
try:
    typing = time.monotonic()
    typist = subprocess.Popen(["xdotool", "key", "--delay", "500", "space", "space"])
    time.sleep(0.6)
finally:
    os.kill(program, signal.SIGCONT)
typist.wait()
typed = time.monotonic() - typing
orca.hears(since, "the count 2 after the held taps", "2", timeout=10)

# Enter with Orca first: the results, whole and once, with the held taps' beat.
since = opening("results", "Return", "Calculated Results", "Orca first")
results = wait_for(window(app, "Calculated Results"), "the results window after held taps")
heard_once(since, "the results", "Return", "Calculated Results", "Orca first",
           "Beats per minute", text(tempo_box_of(results)))
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
print("      Orca said: %s" % orca.said(0), flush=True)
finish("Orca scenario passed")
