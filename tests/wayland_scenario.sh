#!/usr/bin/env bash
# The program as a Wayland user has it: on Qt's own Wayland platform, in sway (headless, drawing
# in memory), keys typed on a virtual keyboard with a keymap (wayland_taps.py), numbers read
# through the clipboard with wl-paste.
#
# Sixteen taps stamped exactly half a second apart, with every core kept busy, and each sent late
# by a different amount (0 to 260 ms): timed by when each key went down they read exactly 120 BPM,
# timed when the program got to them they would not. Then three taps stamped 0, as wtype stamps
# its keys, so the program times them as it handles them: the results open with a number.
# Run inside `desktop_session.sh --orca /bin/true LANG --` it has Orca on the session's
# accessibility bus, which Qt's bridge asks about every key before the program gets it.
#   wayland_scenario.sh PROGRAM
set -uo pipefail
program=${1:?usage: wayland_scenario.sh PROGRAM}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
for tool in sway swaymsg wl-paste python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "missing $tool (scripts/test installs it)" >&2; exit 1; }
done

scratch=$(mktemp -d)
pids=()
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

# sway will not run as root (it could not give up root's rights for good): as root it runs as
# nobody, in a runtime folder of nobody's that this script, as root, still reaches.
compositor=$scratch/compositor
mkdir -m 700 "$compositor"
as_user=()
if [ "$(id -u)" = 0 ]; then
  chown nobody: "$compositor"
  chmod 755 "$scratch"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
printf 'output HEADLESS-1 resolution 1280x900\n' >"$scratch/sway.conf"
env -i PATH="$PATH" XDG_RUNTIME_DIR="$compositor" WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=1 \
  WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  "${as_user[@]}" sway --config "$scratch/sway.conf" >"$scratch/sway.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  compgen -G "$compositor/sway-ipc.*.sock" >/dev/null && [ -S "$compositor/wayland-1" ] && break
  sleep 0.1
done
SWAYSOCK=$(compgen -G "$compositor/sway-ipc.*.sock" | head -n 1)
if [ ! -S "$compositor/wayland-1" ] || [ -z "$SWAYSOCK" ]; then
  echo "sway did not start:" >&2; cat "$scratch/sway.log" >&2; exit 1
fi
# Every client names the socket by its full path; the program keeps a runtime folder of its own.
export SWAYSOCK WAYLAND_DISPLAY=$compositor/wayland-1 XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# One keyboard, with its keymap, for the whole session, made before the program starts: a keyboard
# made while the program has the focus reaches it without a keymap for a moment (Qt 6.8 warns
# "unknown keymap format: 0"), and the first key of a new keyboard can be lost while the program
# takes it up. It answers "ok" to each command once the compositor has the keys.
coproc KEYS { python3 "$here/wayland_taps.py"; }
pids+=("$KEYS_PID")
keyboard() {
  local reply=
  echo "$*" >&"${KEYS[1]}"
  read -r -u "${KEYS[0]}" reply && [ "$reply" = ok ]
}
ready=
read -r -u "${KEYS[0]}" ready
[ "$ready" = ok ] || { echo "the virtual keyboard did not start" >&2; exit 1; }

failures=0
check() {
  if [ "$1" = 0 ]; then echo "ok    $2"; else echo "FAIL  $2"; failures=$((failures + 1)); fi
}
fail_now() {
  check 1 "$1"
  echo "program output:"; cat "$scratch/program.log"
  exit 1
}
focused() {
  swaymsg -t get_tree 2>/dev/null | python3 -c '
import json, sys
def walk(node):
    if node.get("focused"):
        print(node.get("name") or "")
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}
wait_active() {
  for _ in $(seq 150); do
    [ "$(focused)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
# The tempo box's number, selected and copied as a user would.
copied_tempo() {
  keyboard key ctrl+a ctrl+c
  sleep 0.3
  wl-paste --no-newline 2>/dev/null
}

# shellcheck source=tests/session_locale.sh
source "$here/session_locale.sh"
session_locale en_US.UTF-8 "$scratch/locale" || exit 1
env -u LC_ALL -u LC_MESSAGES -u LC_NUMERIC -u LANGUAGE -u QT_SCALE_FACTOR LANG=en_US.UTF-8 \
  QT_QPA_PLATFORM=wayland "$program" >"$scratch/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
wait_active "Bpm Tempulo 2004" || fail_now "the main window shows and has the keyboard"
check 0 "the main window shows and has the keyboard"

busy=()
for _ in $(seq "$(nproc)"); do
  yes >/dev/null &
  busy+=($!)
done
pids+=("${busy[@]}")
keyboard tap 16 500 0 180 40 260 90
taps=$?
kill "${busy[@]}" 2>/dev/null
[ "$taps" = 0 ] || fail_now "the virtual keyboard types"
keyboard key Return
wait_active "Calculated Results" || fail_now "Enter after the taps opens the results"
tempo=$(copied_tempo)
[ "$tempo" = 120 ]
check $? "16 taps stamped 0.5 s apart, sent late on busy cores, read 120 BPM ($tempo)"

keyboard key Escape
wait_active "Bpm Tempulo 2004" || fail_now "Escape closes the results"
keyboard zero space && keyboard pause 300 && keyboard zero space && keyboard pause 300 &&
  keyboard zero space && keyboard pause 300 && keyboard key Return
wait_active "Calculated Results" || fail_now "Enter after three taps stamped 0 opens the results"
tempo=$(copied_tempo)
[[ $tempo =~ ^[0-9]+(\.[0-9]+)?$ ]]
check $? "three taps stamped 0 are timed as handled: the tempo box holds a number ($tempo)"
keyboard key Escape
wait_active "Bpm Tempulo 2004"
check $? "Escape closes the results"

kill -0 "$program_pid" 2>/dev/null
check $? "the program still runs"
orca_major=$(dpkg-query -W -f='${Version}' orca 2>/dev/null | grep -o '^[0-9]\+')
if [ -n "${TEMPULO_ORCA_LOG:-}" ]; then
  # The taps above ran with Orca on the bus, presenting the program: it said the main window.
  grep -aq "SPEECH OUTPUT: '[^']*Bpm Tempulo 2004" "$TEMPULO_ORCA_LOG"
  check $? "Orca $orca_major presented the program on Wayland (it said the main window's name)"
  if [ "${orca_major:-0}" -lt 46 ]; then
    # Orca 43 gets every key through Qt's bridge, which holds the key for Orca's answer; Orca 46
    # and later hear keys from the window system (on X11; under sway none), and hold none.
    asked=$(grep -ac "keyval_name=(space)" "$TEMPULO_ORCA_LOG")
    [ "$asked" -ge 19 ]
    check $? "every tap went through Qt's bridge to Orca ($asked space keys in Orca's log)"
    # Qt's bridge warns where Orca took over 100 ms to answer for a key; the key still arrives.
    sed -i '/^QSpiApplication::/d' "$scratch/program.log"
  fi
fi
if [ -s "$scratch/program.log" ]; then
  echo "the program printed (it should print nothing):"; cat "$scratch/program.log"
  failures=$((failures + 1))
fi
[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "Wayland scenario passed"
