#!/usr/bin/env bash
# Runs the program as a screen-reader user has it: a session bus with the accessibility bus and
# the screen reader switched on (as Orca switches it on), a virtual X screen with a window manager,
# and the desktop language given. atspi_scenario.py then reads the windows through AT-SPI.
#   atspi_test.sh PROGRAM LANG CANCEL_TEXT DECIMAL_SEPARATOR
set -uo pipefail
usage="usage: atspi_test.sh PROGRAM LANG CANCEL_TEXT DECIMAL_SEPARATOR"
program=${1:?$usage}
lang=${2:?$usage}
cancel=${3:?$usage}
point=${4:?$usage}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

for tool in dbus-run-session Xvfb openbox xdotool /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null 2>&1 || { echo "missing $tool (scripts/test installs it)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "missing python3-pyatspi" >&2; exit 1; }

# A session bus and a runtime folder of its own (the accessibility bus puts its socket there), so
# that nothing of the caller's desktop, nor a second run beside this one, answers.
if [ -z "${TEMPULO_ATSPI_SESSION:-}" ]; then
  runtime=$(mktemp -d)
  TEMPULO_ATSPI_SESSION=1 XDG_RUNTIME_DIR=$runtime dbus-run-session -- \
    bash "${BASH_SOURCE[0]}" "$@" 2> >(grep -v "Failed to set fd limit" >&2)
  status=$?
  rm -rf "$runtime"
  exit "$status"
fi

scratch=$(mktemp -d)
pids=()
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  [ -s "$scratch/display" ] && break
  sleep 0.1
done
[ -s "$scratch/display" ] || { echo "Xvfb did not start:" >&2; cat "$scratch/xvfb.log" >&2; exit 1; }
DISPLAY=":$(tr -d '[:space:]' <"$scratch/display")"
export DISPLAY

openbox >/dev/null 2>&1 &
pids+=($!)
# The window manager is up once it names the current desktop; a window mapped before would not
# be given the focus.
for _ in $(seq 100); do
  xdotool get_desktop >/dev/null 2>&1 && break
  sleep 0.1
done

# The accessibility bus, with the screen reader switched on: Qt then turns its bridge on itself.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$scratch/bus.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus \
    org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:ScreenReaderEnabled \
    variant:boolean:true >/dev/null 2>&1 && break
  sleep 0.1
done

env -u LC_ALL -u LC_MESSAGES -u LC_NUMERIC -u LANGUAGE -u QT_SCALE_FACTOR LANG="$lang" \
  QT_QPA_PLATFORM=xcb "$program" >"$scratch/program.log" 2>&1 &
pids+=($!)

/usr/bin/python3 "$here/atspi_scenario.py" "$cancel" "$point"
status=$?
if [ "$status" -ne 0 ]; then
  echo "program output:" >&2
  cat "$scratch/program.log" >&2
fi
exit "$status"
