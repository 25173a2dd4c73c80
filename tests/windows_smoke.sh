#!/usr/bin/env bash
# The Windows program as a user has it: under Wine on a virtual screen with a window manager, on
# Qt's Windows platform, keys typed through XTest. Three taps and Enter; `*` and OK, the result
# window active with its number selected (copied to the clipboard to read it); Escape; a division
# by zero says "Invalid calculation" (Qt's message box copies its text too); About from the Help
# menu.
#   windows_smoke.sh PROGRAM.exe      (runs itself inside desktop_session.sh --wine)
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ -z "${TEMPULO_PROGRAM_PID:-}" ]; then
  # Wine's desktop process lives as long as its server, and one started by a program without a
  # screen (the offscreen tests) would leave this one without windows: start afresh.
  wineserver -k >/dev/null 2>&1
  exec bash "$here/desktop_session.sh" --wine "${1:?usage: windows_smoke.sh PROGRAM.exe}" \
    en_US.UTF-8 -- bash "${BASH_SOURCE[0]}"
fi
command -v xclip >/dev/null 2>&1 || { echo "missing xclip (scripts/windows installs it)" >&2; exit 1; }

failures=0
check() {
  if [ "$1" = 0 ]; then echo "ok    $2"; else echo "FAIL  $2"; failures=$((failures + 1)); fi
}
# The id of the shown window with exactly this title, once there is one.
wait_window() {
  local id
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
wait_gone() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
keys() {
  xdotool key --delay 150 "$@"
  sleep 0.5
}
copied() {
  xclip -o -selection clipboard 2>/dev/null
}
fail_now() {
  check 1 "$1"
  import -window root "${TMPDIR:-/tmp}/tempulo-windows-smoke.png" 2>/dev/null &&
    echo "      screen: ${TMPDIR:-/tmp}/tempulo-windows-smoke.png"
  exit 1
}

main=$(wait_window "Bpm Tempulo 2004") || fail_now "the main window shows (Wine started?)"
check 0 "the main window shows"
xdotool windowactivate --sync "$main" 2>/dev/null
sleep 0.5

keys space space space Return
wait_window "Calculated Results" >/dev/null || fail_now "Enter after three taps opens the results"
check 0 "Enter after three taps opens the results"

keys asterisk
wait_window "Multiplication" >/dev/null || fail_now "* opens the operand prompt"
keys Return
wait_window "Multiplication result" >/dev/null || fail_now "OK opens the result window"
# The result window must take the keys at once, its number selected: Ctrl+C copies the selection.
printf 'nothing' | xclip -selection clipboard
keys ctrl+c
number=$(copied)
[[ $number =~ ^[0-9]+(\.[0-9]+)?$ ]]
check $? "the result window is active with its number selected (copied: $number)"
keys Escape
wait_gone "Multiplication result"
check $? "Escape closes the result window"

# Division by zero, from the tempo box that has the focus again.
keys slash
wait_window "Division" >/dev/null || fail_now "/ opens the operand prompt"
keys ctrl+a 0 Return
wait_window "Calculation Error" >/dev/null || fail_now "a division by zero shows the message"
keys ctrl+c
[[ $(copied) == *"Invalid calculation"* ]]
check $? "the message says Invalid calculation"
keys Return
wait_gone "Calculation Error"
check $? "OK closes the message"
keys Escape
wait_gone "Calculated Results"
check $? "Escape closes the results"

# About, from the Help menu at the left end of the menu bar.
xdotool mousemove --window "$main" 20 8 click 1
sleep 0.7
keys Up Return
wait_window "About" >/dev/null
check $? "Help, About opens the About window"
keys Escape
wait_gone "About"
check $? "Escape closes About"

kill -0 "$TEMPULO_PROGRAM_PID" 2>/dev/null
check $? "the program still runs"
[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "Windows smoke test passed"
