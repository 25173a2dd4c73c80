#!/usr/bin/python3
"""Space taps on a Wayland compositor, each stamped with the moment its key is meant to go down.

   wayland_taps.py COUNT INTERVAL_MS [LATE_MS ...]

Taps COUNT times, the stamps exactly INTERVAL_MS apart on CLOCK_MONOTONIC's milliseconds (the
clock libinput stamps a real keyboard's keys by), through a virtual keyboard
(zwp_virtual_keyboard_v1), whose key times the compositor passes on as they are given. Tap i is
sent LATE_MS[i % len] after its stamp (0 if none given): a program that times a tap when it gets
to it reads these late sends, one that times it by its key's moment reads the stamps. Speaks the
Wayland wire protocol itself (no Python binding for it is needed): the socket of WAYLAND_DISPLAY
in XDG_RUNTIME_DIR.
"""
import array
import os
import socket
import struct
import sys
import time

EVDEV_SPACE = 57  # KEY_SPACE; the X keycode is 8 more
KEYMAP = b"""xkb_keymap {
  xkb_keycodes "taps" { minimum = 8; maximum = 255; <SPCE> = 65; };
  xkb_types "taps" {
    type "ONE_LEVEL" { modifiers = none; map[none] = Level1; level_name[Level1] = "Any"; };
  };
  xkb_compatibility "taps" { };
  xkb_symbols "taps" { key <SPCE> { [ space ] }; };
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
    count, interval = int(sys.argv[1]), int(sys.argv[2])
    late = [int(ms) for ms in sys.argv[3:]] or [0]
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
    keymap = os.memfd_create("taps-keymap")
    os.write(keymap, KEYMAP)
    wl.send(keyboard, 0, struct.pack("<II", 1, len(KEYMAP)), [keymap])  # keymap, XKB v1
    os.close(keymap)
    wl.roundtrip()

    first = time.clock_gettime(time.CLOCK_MONOTONIC) * 1000 + 300
    for i in range(count):
        stamp = first + i * interval
        time.sleep(max(0.0, (stamp + late[i % len(late)]) / 1000 - time.clock_gettime(time.CLOCK_MONOTONIC)))
        ms = int(stamp) & 0xFFFFFFFF
        wl.send(keyboard, 1, struct.pack("<III", ms, EVDEV_SPACE, 1))  # key: pressed
        wl.send(keyboard, 1, struct.pack("<III", ms, EVDEV_SPACE, 0))  # key: released
    wl.roundtrip()


if __name__ == "__main__":
    main()
