#!/usr/bin/python3
"""Keys on a Wayland compositor, each stamped with the moment it is meant to go down, through one
virtual keyboard (zwp_virtual_keyboard_v1) with a keymap of its own for the whole session.

   wayland_taps.py

Made before the program starts, the keyboard is the seat's keyboard, with its keymap, by the
time the program first has the keyboard focus: a keyboard made later is announced to the
focused program without a keymap for a moment. Reads commands, one a line, and answers "ok"
once the compositor has taken the keys:

   tap COUNT INTERVAL_MS [LATE_MS ...]   space COUNT times, the stamps exactly INTERVAL_MS apart
                                         on CLOCK_MONOTONIC's milliseconds (the clock libinput
                                         stamps a real keyboard's keys by), tap i sent
                                         LATE_MS[i % len] after its stamp (0 if none given)
   key NAME [...]                        each key pressed and released, stamped as sent; NAME is
                                         space, Return, Escape, or ctrl+a, ctrl+c
   zero NAME [...]                       the same, stamped 0, as some tools stamp their keys
   pause MS                              waits

A program that times a tap when it gets to it reads the late sends, one that times it by its
key's moment reads the stamps. Speaks the Wayland wire protocol itself (no Python binding for it
is needed): the socket of WAYLAND_DISPLAY in XDG_RUNTIME_DIR.
"""
import array
import os
import socket
import struct
import sys
import time

# evdev codes; the X keycodes in the keymap are 8 more.
EVDEV = {"Escape": 1, "Return": 28, "Control_L": 29, "a": 30, "c": 46, "space": 57}
CONTROL_MASK = 1 << 2  # xkbcommon's Control modifier: Shift 0, Lock 1, Control 2

KEYMAP = b"""xkb_keymap {
  xkb_keycodes "keys" {
    minimum = 8; maximum = 255;
    <ESC> = 9; <RTRN> = 36; <LCTL> = 37; <AC01> = 38; <AB03> = 54; <SPCE> = 65;
  };
  xkb_types "keys" {
    type "ONE_LEVEL" { modifiers = none; map[none] = Level1; level_name[Level1] = "Any"; };
  };
  xkb_compatibility "keys" {
    interpret Control_L { action = SetMods(modifiers = Control); };
  };
  xkb_symbols "keys" {
    key <ESC> { [ Escape ] }; key <RTRN> { [ Return ] }; key <LCTL> { [ Control_L ] };
    key <AC01> { [ a ] }; key <AB03> { [ c ] }; key <SPCE> { [ space ] };
    modifier_map Control { <LCTL> };
  };
};
\0"""


class Connection:
    def __init__(self):
        path = os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ.get("WAYLAND_DISPLAY", "wayland-0"))
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.buffer = b""
        self.next_id = 2

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def send(self, obj, opcode, body=b"", fds=()):
        header = struct.pack("<IHH", obj, opcode, 8 + len(body))
        ancillary = [(socket.SOL_SOCKET, socket.SCM_RIGHTS, array.array("i", fds))] if fds else []
        self.sock.sendmsg([header + body], ancillary)

    def events(self):
        """Reads one batch from the socket and yields its events as (object, opcode, body)."""
        data = self.sock.recv(65536)
        if not data:
            raise SystemExit("the compositor closed the connection")
        self.buffer += data
        while len(self.buffer) >= 8:
            obj, opcode, size = struct.unpack_from("<IHH", self.buffer)
            if len(self.buffer) < size:
                break
            body, self.buffer = self.buffer[8:size], self.buffer[size:]
            yield obj, opcode, body

    def roundtrip(self, on_event=lambda *event: None):
        callback = self.new_id()
        self.send(1, 0, struct.pack("<I", callback))  # wl_display.sync
        while True:
            for obj, opcode, body in self.events():
                if obj == callback:
                    return
                if obj == 1 and opcode == 0:  # wl_display.error
                    raise SystemExit(f"protocol error: {body!r}")
                on_event(obj, opcode, body)


def string(text):
    raw = text.encode() + b"\0"
    return struct.pack("<I", len(raw)) + raw + b"\0" * (-len(raw) % 4)


def parse_global(body):
    name, length = struct.unpack_from("<II", body)
    interface = body[8:8 + length - 1].decode()
    version = struct.unpack_from("<I", body, 8 + length + (-length % 4))[0]
    return name, interface, version


def main():
    wl = Connection()
    registry = wl.new_id()
    wl.send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
    globals_ = {}

    def on_event(obj, opcode, body):
        if obj == registry and opcode == 0:
            name, interface, _ = parse_global(body)
            globals_[interface] = name

    wl.roundtrip(on_event)
    for needed in ("wl_seat", "zwp_virtual_keyboard_manager_v1"):
        if needed not in globals_:
            raise SystemExit(f"the compositor offers no {needed}")

    def bind(interface):
        new = wl.new_id()
        wl.send(registry, 0, struct.pack("<I", globals_[interface]) + string(interface) + struct.pack("<II", 1, new))
        return new

    seat, manager = bind("wl_seat"), bind("zwp_virtual_keyboard_manager_v1")
    keyboard = wl.new_id()
    wl.send(manager, 0, struct.pack("<II", seat, keyboard))  # create_virtual_keyboard
    keymap = os.memfd_create("keys-keymap")
    os.write(keymap, KEYMAP)
    wl.send(keyboard, 0, struct.pack("<II", 1, len(KEYMAP)), [keymap])  # keymap, XKB v1
    os.close(keymap)
    wl.roundtrip()


    def now_ms():
        return time.clock_gettime(time.CLOCK_MONOTONIC) * 1000

    def press(name, ms):
        ms = int(ms) & 0xFFFFFFFF
        held = name.startswith("ctrl+")
        if held:
            name = name[len("ctrl+"):]
            wl.send(keyboard, 1, struct.pack("<III", ms, EVDEV["Control_L"], 1))
            wl.send(keyboard, 2, struct.pack("<IIII", CONTROL_MASK, 0, 0, 0))  # modifiers
        wl.send(keyboard, 1, struct.pack("<III", ms, EVDEV[name], 1))  # key: pressed
        wl.send(keyboard, 1, struct.pack("<III", ms, EVDEV[name], 0))  # key: released
        if held:
            wl.send(keyboard, 1, struct.pack("<III", ms, EVDEV["Control_L"], 0))
            wl.send(keyboard, 2, struct.pack("<IIII", 0, 0, 0, 0))

    def taps(count, interval, late):
        first = now_ms() + 300
        for i in range(count):
            stamp = first + i * interval
            time.sleep(max(0.0, (stamp + late[i % len(late)] - now_ms()) / 1000))
            press("space", stamp)

    print("ok", flush=True)  # the keyboard is the seat's
    for line in sys.stdin:
        command, *words = line.split()
        if command == "tap":
            taps(int(words[0]), int(words[1]), [int(ms) for ms in words[2:]] or [0])
        elif command in ("key", "zero"):
            for name in words:
                press(name, now_ms() if command == "key" else 0)
                time.sleep(0.12)  # a typist's pace between keys
        elif command == "pause":
            time.sleep(int(words[0]) / 1000)
        else:
            raise SystemExit(f"unknown command {command!r}")
        wl.roundtrip()
        print("ok", flush=True)


if __name__ == "__main__":
    main()
