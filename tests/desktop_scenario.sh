#!/usr/bin/env bash
# The program as a user has it: on a virtual screen with a window manager, keys typed through
# XTest, on Linux or (for a .exe) under Wine on Qt's Windows platform. Every shown number is read
# as the user would take it, through the clipboard (Ctrl+C on the selected result).
#
# Three taps and Enter open the results. From the tempo box a chain of eight operations of every
# kind, each typed into the result window of the one before, starts from 0 (tempo times 0) so
# that every value it shows is known exactly, whatever tempo the taps measured; Enter closes the
# last. Cancel in a chain, and the "Invalid calculation" message in a chain, each leave the user
# in the results window, where the next operation works on the tempo box's number. Then Escape
# closes the results, and Help opens Instructions, About and About Qt. Last, two taps reach a
# program that was kept from running while they were typed.
#   desktop_scenario.sh PROGRAM LANG      (runs itself inside desktop_session.sh)
# LANG de_DE.UTF-8 types and expects decimal commas.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ -z "${TEMPULO_PROGRAM_PID:-}" ]; then
  program=${1:?usage: desktop_scenario.sh PROGRAM LANG}
  mode=--plain
  if [[ $program == *.exe ]]; then
    mode=--wine  # the session starts a Wine server of its own, for this screen
  fi
  TEMPULO_SCENARIO_WINE=0
  [ "$mode" = --wine ] && TEMPULO_SCENARIO_WINE=1
  export TEMPULO_SCENARIO_WINE
  lang=${2:?usage: desktop_scenario.sh PROGRAM LANG}
  exec bash "$here/desktop_session.sh" "$mode" "$program" "$lang" -- bash "${BASH_SOURCE[0]}" "$lang"
fi
command -v xclip >/dev/null 2>&1 || { echo "missing xclip (the scripts install it)" >&2; exit 1; }
lang=$1
point=.
cancel=Cancel
[[ $lang == de_* ]] && point=, && cancel=Abbrechen

failures=0
check() {
  if [ "$1" = 0 ]; then echo "ok    $2"; else echo "FAIL  $2"; failures=$((failures + 1)); fi
}
fail_now() {
  check 1 "$1"
  local shot="${TMPDIR:-/tmp}/tempulo-desktop-scenario.png"
  import -window root "$shot" 2>/dev/null && echo "      screen: $shot"
  exit 1
}
# The shown window with exactly this title, once it has the keyboard (the X input focus). Wine
# draws its small tool windows itself, out of the window manager's sight, and gives them the
# focus as Windows activates them; where the window manager has meanwhile taken the focus to
# itself (as openbox may when a window closes), the window is given it, as a manager would.
wait_active() {
  local i id
  for i in $(seq 150); do
    [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "$1" ] && return 0
    if [ "$TEMPULO_SCENARIO_WINE" = 1 ] && [ "$i" -ge 20 ] && [ $((i % 10)) = 0 ]; then
      id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
      [ -n "$id" ] && xdotool windowfocus "$id" 2>/dev/null
    fi
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
  xdotool key --delay 120 "$@"
}
# Types an operator character, or a number with the desktop's decimal separator for its point.
type_text() {
  local text=$1 names=() i c
  for ((i = 0; i < ${#text}; i++)); do
    c=${text:i:1}
    case $c in
      [0-9]) names+=("$c") ;;
      .) names+=(period) ;;
      ,) names+=(comma) ;;
      -) names+=(minus) ;;
      '*') names+=(asterisk) ;;
      /) names+=(slash) ;;
      \\) names+=(backslash) ;;
      +) names+=(plus) ;;
      '#') names+=(numbersign) ;;
      *) echo "cannot type $c" >&2; exit 2 ;;
    esac
  done
  keys "${names[@]}"
}
# What the focused box has selected, as Ctrl+C copies it. xclip puts "nothing" on the clipboard
# first and stays behind to hold it: with its output still the caller's, it would keep the
# caller's $(...) waiting for a copy that never came, for ever, where that must fail. Under Wine,
# Ctrl+C waits half a second, as a user's hand would: Wine, told that another client now owns the
# clipboard, reads what it offers into the Windows clipboard, and a copy made before that import
# has ended is overwritten by it and never reaches X (Wine's clipboard thread takes the change
# for its own). A clipboard owner that does not answer in 5 s fails the read, as a paste would.
copied() {
  printf 'nothing' | xclip -selection clipboard >/dev/null 2>&1
  [ "$TEMPULO_SCENARIO_WINE" = 1 ] && sleep 0.5
  keys ctrl+c
  sleep 0.3
  timeout 5 xclip -o -selection clipboard 2>/dev/null
}
# Under Wine: the window as Windows screen readers read it, through UI Automation, by the client
# TEMPULO_UIA_TREE names (tests/uia_tree.cpp): a line for each element, its kind, name, full
# description, value and whether it has the keyboard, "?" where UI Automation gives no answer.
# The client runs in the program's language: Wine takes the user's locale for the whole session
# from the last program started, and the program's decimal separator would follow it.
uia_tree() {
  env -u LC_ALL -u LC_MESSAGES -u LC_NUMERIC -u LANGUAGE LANG="$lang" \
    "$here/wine.sh" "$TEMPULO_UIA_TREE" "$1" 2>&1 | tr -d '\r' | sed 's/^ *//'
}
# Each "kind<TAB>name" given must be an element of the window's tree.
uia_reads() {
  local title=$1 tree element missing=()
  shift
  [ "$TEMPULO_SCENARIO_WINE" = 1 ] || return 0
  [ -n "${TEMPULO_UIA_TREE:-}" ] || { check 1 "TEMPULO_UIA_TREE names the UI Automation client"; return; }
  tree=$(uia_tree "$title" | cut -f1,2)
  for element in "$@"; do
    grep -qxF -- "$element" <<<"$tree" || missing+=("${element/$'\t'/ }")
  done
  [ ${#missing[@]} = 0 ]
  check $? "UI Automation reads the $title window's names and kinds${missing[*]:+ (missing: ${missing[*]}; read: ${tree//$'\n'/ | })}"
}
# What NVDA and Narrator say as a window opens: its control with the focus, by name, full
# description and value, and that it has the keyboard. Each must be as given wherever UI
# Automation answers; UIA_UNANSWERED names what Wine's does not answer (docs/testing.md), and
# an answer there, or none elsewhere, fails too, so that the list stays true.
UIA_UNANSWERED=" value "
uia_focus() {
  local title=$1 kind=$2 name=$3 description=$4 value=$5 line wrong=() field got want i
  [ "$TEMPULO_SCENARIO_WINE" = 1 ] || return 0
  line=$(uia_tree "$title" | awk -F'\t' -v kind="$kind" -v name="$name" \
    '$1 == kind && $2 == name { print; exit }')
  if [ -z "$line" ]; then
    wrong+=("no $kind named $name")
  else
    # One field a line: read -a would take two tabs around an empty answer for one.
    local -a read_back
    mapfile -t read_back < <(tr '\t' '\n' <<<"$line")
    local -a fields=(description value focus) wanted=("$description" "$value" yes)
    for i in 0 1 2; do
      field=${fields[$i]} got=${read_back[$((i + 2))]:-} want=${wanted[$i]}
      if [[ $UIA_UNANSWERED == *" $field "* ]]; then
        [ "$got" = "?" ] || wrong+=("$field now answered ($got): check it")
      elif [ "$got" != "$want" ]; then
        wrong+=("$field ${got:-empty}, not $want")
      fi
    done
  fi
  [ ${#wrong[@]} = 0 ]
  check $? "UI Automation presents the $title window's $name $kind${wrong[*]:+ (${wrong[*]})}"
}
# Types the operator, answers the prompt with the operand, and checks the result shown.
operate() {
  local operator=$1 title=$2 operand=${3//./$point} expected=${4//./$point}
  type_text "$operator"
  wait_active "$title" || fail_now "$operator opens the $title prompt"
  keys ctrl+a
  type_text "$operand"
  keys Return
  wait_active "$title result" || fail_now "OK on $operand shows the $title result"
  local shown
  shown=$(copied)
  [ "$shown" = "$expected" ]
  check $? "$operator $operand: $title result shows $expected, selected (copied: $shown)"
}

wait_active "Bpm Tempulo 2004" || fail_now "the main window shows and has the keyboard"
check 0 "the main window shows and has the keyboard"
uia_reads "Bpm Tempulo 2004" $'text\tCalculation' $'text\tKey press count' $'status bar\t0'
keys space space space Return
wait_active "Calculated Results" || fail_now "Enter after three taps opens the results"
check 0 "Enter after three taps opens the results"
uia_reads "Calculated Results" $'edit\tOne bar length' $'edit\tOne beat length' \
  $'edit\tBeats per minute' $'text\tThe results'
keys ctrl+a
tempo=$(copied)
[[ $tempo =~ ^[0-9]+([.,][0-9]+)?$ ]]
check $? "the tempo box holds a number ($tempo)"
uia_focus "Calculated Results" edit "Beats per minute" \
  'Tempo in beats per minute. Type * / \ + - # or . to calculate with it.' "$tempo"

# The chain: every operation kind, each on the value the window before it shows.
operate '*' Multiplication 0 0
uia_reads "Multiplication result" $'edit\tCalculated result'
uia_focus "Multiplication result" edit "Calculated result" \
  'The new value. Type * / \ + - # or . to go on calculating with it; Escape or Enter closes the window.' 0
operate + Addition/subtraction 120 120
operate '*' Multiplication 2 240
operate / Division 7 34.2857142857143
operate "\\" "Rounded division" 2 17
operate '#' Semitone 12 8.5
operate . "Decimal rounding" 0 8
operate - Addition/subtraction -2.5 5.5
keys Return
wait_gone "Addition/subtraction result" && wait_active "Calculated Results"
check $? "Enter closes the result; the results window has the keyboard again"

# Cancel in a chain: no result window, back in the results, on the tempo box's number.
operate '*' Multiplication 0 0
type_text +
wait_active Addition/subtraction || fail_now "+ in the result opens the prompt"
uia_reads Addition/subtraction $'text\tEnter the addition/subtraction (+/-) value.' \
  $'button\tOK' $'button\t'"$cancel"
uia_focus Addition/subtraction edit 'Enter the addition/subtraction (+/-) value.' "" 1
keys Escape
wait_active "Calculated Results" && ! xdotool search --onlyvisible --name "result\$" >/dev/null 2>&1
check $? "Cancel leaves no result window, the results window has the keyboard"
operate '*' Multiplication 1 "$tempo"
keys Escape
wait_active "Calculated Results"
check $? "Escape closes the result"

# The message in a chain: no result window, back in the results, on the tempo box's number.
operate '*' Multiplication 0 0
type_text /
wait_active Division || fail_now "/ in the result opens the prompt"
keys ctrl+a 0 Return
wait_active "Calculation Error" || fail_now "a division by zero shows the message"
check 0 "a division by zero shows the message"
uia_reads "Calculation Error" $'text\tInvalid calculation' $'button\tOK'
if [ "$TEMPULO_SCENARIO_WINE" = 1 ]; then
  # Qt's message box copies its text on Windows.
  [[ $(copied) == *"Invalid calculation"* ]]
  check $? "the message says Invalid calculation"
fi
keys Return
wait_active "Calculated Results" && ! xdotool search --onlyvisible --name "result\$" >/dev/null 2>&1
check $? "OK on the message leaves no result window, the results window has the keyboard"
operate '*' Multiplication 1 "$tempo"
keys Escape
wait_active "Calculated Results" || fail_now "Escape closes the result"

keys Escape
wait_active "Bpm Tempulo 2004"
check $? "Escape closes the results; the main window has the keyboard"

# Help, from the menu at the left end of the menu bar: Instructions, About, then Qt's notice.
main=$(xdotool search --onlyvisible --name "^Bpm Tempulo 2004$" | head -n 1)
downs=()
for item in Instructions About "About Qt"; do
  downs+=(Down)
  xdotool mousemove --window "$main" 20 8 click 1
  sleep 0.7
  keys "${downs[@]}" Return
  wait_active "$item"
  check $? "Help, $item opens the $item window"
  case $item in
    Instructions) uia_reads Instructions $'text\tTap the space bar to mark the beat resolution and' ;;
    About) uia_reads About $'text\tAuthor: Tempulo contributors' $'text\tOS: Win 95/98/ME/NT/2000/XP' ;;
  esac
  keys Escape
  wait_gone "$item" && wait_active "Bpm Tempulo 2004"
  check $? "Escape closes $item"
done

# A busy machine: the program is kept from running while two keys go down half a second apart,
# and then gets both at once. Each tap counts from when its key went down, so the beat is the
# time between the keys: half a second and what xdotool took beyond its sleeps (its run less the
# four quarter seconds it sleeps bounds that), within the step of the time of day the taps are
# held in (1/128 s at most) and the X server's millisecond. Timed as the program handles them,
# the two taps would be a few ms apart.
kill -STOP "$TEMPULO_PROGRAM_PID"
typing=$(date +%s%N)
xdotool key --delay 500 space space &
typist=$!
sleep 0.6
kill -CONT "$TEMPULO_PROGRAM_PID"
wait "$typist"
typed=$(( ($(date +%s%N) - typing) / 1000000 ))
keys Return
wait_active "Calculated Results" || fail_now "Enter after two held taps opens the results"
keys ctrl+a
held=$(copied)
awk -v tempo="${held/,/.}" -v typed="$typed" 'BEGIN {
  beat = 60 / tempo; slack = 1 / 128 + 0.001
  exit !(beat >= 0.5 - slack && beat <= 0.5 + (typed - 1000) / 1000 + slack) }' 2>/dev/null
check $? "two keys half a second apart, held back together, give about 120 BPM ($held; xdotool took $typed ms)"
keys Escape
wait_active "Bpm Tempulo 2004"
check $? "Escape closes the results"

kill -0 "$TEMPULO_PROGRAM_PID" 2>/dev/null
check $? "the program still runs"
[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "Desktop scenario passed"
