#!/usr/bin/env bash
# Runs the program as a screen-reader user has it, then a scenario against it: a session bus with
# the accessibility bus and the screen reader switched on (as Orca switches it on), a virtual X
# screen with a window manager, and the desktop language given. With --orca, Debian's Orca runs
# first with a debug log (TEMPULO_ORCA_LOG, for the scenario to read what it says). With --wine,
# PROGRAM is a Windows program and runs under Wine, on Qt's Windows platform.
#   desktop_session.sh [--orca | --wine] PROGRAM LANG -- SCENARIO [ARGS...]
set -uo pipefail
usage="usage: desktop_session.sh [--orca | --wine] PROGRAM LANG -- SCENARIO [ARGS...]"
mode=${1:-}
case $mode in
  --orca | --wine | --plain) shift ;;
  *) mode=--plain ;;
esac
program=${1:?$usage}
lang=${2:?$usage}
[ "${3:-}" = -- ] || { echo "$usage" >&2; exit 2; }
shift 3
[ $# -gt 0 ] || { echo "$usage" >&2; exit 2; }

tools=(dbus-run-session Xvfb openbox xdotool)
case $mode in
  --wine) tools+=(wine) ;;
  --orca) tools+=(/usr/libexec/at-spi-bus-launcher orca) ;;
  *) tools+=(/usr/libexec/at-spi-bus-launcher) ;;
esac
for tool in "${tools[@]}"; do
  command -v "$tool" >/dev/null 2>&1 || { echo "missing $tool (scripts/test installs it)" >&2; exit 1; }
done
if [ "$mode" != --wine ]; then
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "missing python3-pyatspi" >&2; exit 1; }
fi

# A session bus and a runtime folder of its own (the accessibility bus puts its socket there), so
# that nothing of the caller's desktop, nor a second run beside this one, answers.
if [ -z "${TEMPULO_DESKTOP_SESSION:-}" ]; then
  runtime=$(mktemp -d)
  TEMPULO_DESKTOP_SESSION=1 XDG_RUNTIME_DIR=$runtime dbus-run-session -- \
    bash "${BASH_SOURCE[0]}" "$mode" "$program" "$lang" -- "$@" 2> >(grep -v "Failed to set fd limit" >&2)
  status=$?
  rm -rf "$runtime"
  exit "$status"
fi

scratch=$(mktemp -d)
pids=()
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
  # A process the scenario held (SIGSTOP) takes its end only once it runs again.
  for pid in "${pids[@]}" ${TEMPULO_ORCA_PID:+"$TEMPULO_ORCA_PID"}; do
    kill "$pid" 2>/dev/null
    kill -CONT "$pid" 2>/dev/null
  done
  [ "$mode" = --wine ] && wineserver -k >/dev/null 2>&1
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

# The window manager is up once it names the current desktop; a window mapped before would not
# be given the focus. Should it end, or not be up within 15 s, what it said is shown and it is
# started again.
openbox_up() {
  local pid attempt
  for attempt in 1 2 3; do
    openbox >"$scratch/openbox.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    for _ in $(seq 150); do
      xdotool get_desktop >/dev/null 2>&1 && return 0
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
      kill "$pid"
      echo "openbox was not up within 15 s (attempt $attempt of 3); it said:" >&2
    else
      wait "$pid"
      echo "openbox ended (exit $?) before it was up (attempt $attempt of 3); it said:" >&2
    fi
    cat "$scratch/openbox.log" >&2
  done
  return 1
}
openbox_up || exit 1

# The accessibility bus, with the screen reader switched on: Qt then turns its bridge on itself.
# (A Windows program under Wine has no part in it.)
if [ "$mode" != --wine ]; then
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$scratch/bus.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do
    dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus \
      org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:ScreenReaderEnabled \
      variant:boolean:true >/dev/null 2>&1 && break
    sleep 0.1
  done
fi

if [ "$mode" = --orca ]; then
  # A home of its own, so that no settings of the caller's change what Orca says; settings in
  # memory rather than dconf. Orca writes its debug log through a buffer unless the log is a
  # terminal: under script(1) it is one, and each line reaches the log file as it is written.
  mkdir -p "$scratch/home"
  export TEMPULO_ORCA_LOG=$scratch/orca.log
  HOME=$scratch/home GSETTINGS_BACKEND=memory \
    script --quiet --flush --command "orca --replace --debug-file=/dev/stdout" \
    "$TEMPULO_ORCA_LOG" </dev/null >/dev/null 2>&1 &
  pids+=($!)
  orca_script=$!
  for _ in $(seq 100); do
    grep -aq "SPEECH OUTPUT: 'Screen reader on.'" "$TEMPULO_ORCA_LOG" 2>/dev/null && break
    sleep 0.1
  done
  grep -aq "SPEECH OUTPUT: 'Screen reader on.'" "$TEMPULO_ORCA_LOG" 2>/dev/null ||
    { echo "Orca did not start:" >&2; tail -n 20 "$TEMPULO_ORCA_LOG" >&2; exit 1; }
  # This session's Orca, for a scenario to hold back (SIGSTOP) while the program goes on: the
  # process named orca below script(1), never a screen reader of the caller's own.
  TEMPULO_ORCA_PID=
  for comm in /proc/[0-9]*/comm; do
    [ "$(cat "$comm" 2>/dev/null)" = orca ] || continue
    pid=${comm#/proc/}
    pid=${pid%/comm}
    ancestor=$pid
    while [ "$ancestor" -gt 1 ] && [ "$ancestor" != "$orca_script" ]; do
      ancestor=$(awk '/^PPid:/ { print $2 }' "/proc/$ancestor/status" 2>/dev/null || echo 1)
    done
    [ "$ancestor" = "$orca_script" ] && TEMPULO_ORCA_PID=$pid && break
  done
  [ -n "$TEMPULO_ORCA_PID" ] || { echo "Orca's process not found below script(1)" >&2; exit 1; }
  export TEMPULO_ORCA_PID
  # Orca 48 says it is on before it asks to hear windows and the focus. The program learns what
  # is listened to from the registry as its bridge starts, and sends only that: started before
  # Orca's requests reach the registry, its first window goes unannounced.
  a11y_bus=$(dbus-send --session --dest=org.a11y.Bus --print-reply=literal /org/a11y/bus \
    org.a11y.Bus.GetAddress | tr -d ' ')
  listened() {
    dbus-send --bus="$a11y_bus" --dest=org.a11y.atspi.Registry --print-reply \
      /org/a11y/atspi/registry org.a11y.atspi.Registry.GetRegisteredEvents 2>/dev/null
  }
  for _ in $(seq 100); do
    events=$(listened)
    grep -q '"Window:Activate:"' <<<"$events" && grep -q '"Object:StateChanged:Focused"' <<<"$events" &&
      break
    sleep 0.1
  done
  events=$(listened)
  if ! grep -q '"Window:Activate:"' <<<"$events" ||
     ! grep -q '"Object:StateChanged:Focused"' <<<"$events"; then
    echo "Orca did not ask to hear windows and the focus" >&2
    exit 1
  fi
fi

# shellcheck source=tests/session_locale.sh
source "$(dirname "${BASH_SOURCE[0]}")/session_locale.sh"
session_locale "$lang" "$scratch/locale" || exit 1

launcher=()
if [ "$mode" = --wine ]; then
  launcher=("$(dirname "${BASH_SOURCE[0]}")/wine.sh")
  # Wine's own processes (its services, the device host, the desktop window) start with the
  # first program of a Wine session and write to that program's output; the device host now and
  # then crashes as it starts, in Wine's ntoskrnl.exe. A session of this screen's own, kept up
  # until the end and started by wineboot, gives them a log of their own: what the program
  # prints is its own. (A server left from before would also keep its desktop process on another
  # screen, or on none, as the offscreen tests leave it.)
  if [ -z "${WINEPREFIX:-}" ]; then
    # shellcheck source=scripts/lib.sh
    source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
    tempulo_wine_env
  fi
  wineserver -k >/dev/null 2>&1
  wineserver --persistent >/dev/null 2>&1
  env -u LC_ALL -u LC_MESSAGES -u LC_NUMERIC -u LANGUAGE LANG="$lang" \
    "${launcher[@]}" wineboot >"$scratch/wine.log" 2>&1
fi
env -u LC_ALL -u LC_MESSAGES -u LC_NUMERIC -u LANGUAGE -u QT_SCALE_FACTOR LANG="$lang" \
  QT_QPA_PLATFORM=xcb "${launcher[@]}" "$program" >"$scratch/program.log" 2>&1 &
pids+=($!)
export TEMPULO_PROGRAM_PID=$!

"$@"
status=$?
# Qt's bridge hands every key to the screen reader and warns when the answer takes longer than
# 100 ms, as Orca's may while it presents a window that has just opened; the key still arrives.
printed=$scratch/program.log
if [ "$mode" = --orca ]; then
  grep -v "^QSpiApplication::" "$scratch/program.log" >"$scratch/unexpected.log"
  printed=$scratch/unexpected.log
fi
if [ "$mode" = --wine ] && grep -q "Unhandled" "$scratch/wine.log"; then
  echo "note: Wine's own processes (not the program) reported:" >&2
  grep "Unhandled" "$scratch/wine.log" >&2
fi
if [ "$status" -ne 0 ]; then
  # Which window had the keyboard, and which the window manager made active: a window that gets
  # keys without being made active is not active to Qt, nor to a screen reader.
  echo "X input focus: $(xdotool getwindowfocus getwindowname 2>&1);" \
    "active window: $(xdotool getactivewindow getwindowname 2>&1)" >&2
  echo "program output:" >&2
  cat "$scratch/program.log" >&2
  if [ "$mode" = --orca ]; then
    cp "$TEMPULO_ORCA_LOG" "${TMPDIR:-/tmp}/tempulo-orca.log"
    echo "Orca's log: ${TMPDIR:-/tmp}/tempulo-orca.log" >&2
  fi
elif [ -s "$printed" ]; then
  echo "the program printed (it should print nothing):" >&2
  cat "$printed" >&2
  status=1
fi
exit "$status"
