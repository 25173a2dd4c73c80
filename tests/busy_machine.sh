#!/usr/bin/env bash
# Runs a command on a busy machine: every core kept busy, for at most SECONDS, by loops at the
# normal priority, as a compiler or a browser keeps a musician's machine busy: the screen reader
# and the program share the cores with them. The loops start before the command and end with
# it, or at SECONDS, whichever comes first; the command's exit status is this script's.
#
# One busy run at a time on the machine, whoever starts it: two at once would make every core
# twice as busy, a machine starved rather than busy (Orca 43 then answers the program's keys too
# late, and takes a word move for a character's). They wait for each other on a lock in /dev/shm,
# which the roots of scripts/clean-root share with the machine, as CI runs two roots at once.
#   busy_machine.sh SECONDS -- COMMAND [ARGS...]
set -uo pipefail
usage="usage: busy_machine.sh SECONDS -- COMMAND [ARGS...]"
seconds=${1:?$usage}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]] || [ "${2:-}" != -- ] || [ $# -lt 3 ]; then
  echo "$usage" >&2
  exit 2
fi
shift 2

if [ -d /dev/shm ] && exec {lock}>>"/dev/shm/tempulo-busy-machine-$(id -u).lock"; then
  flock "$lock"
fi

loops=()
# shellcheck disable=SC2317  # run by the EXIT trap
stop_loops() {
  [ ${#loops[@]} -gt 0 ] && kill "${loops[@]}" 2>/dev/null
  wait "${loops[@]}" 2>/dev/null
  loops=()
}
trap stop_loops EXIT
for _ in $(seq "$(nproc)"); do
  timeout "$seconds" bash -c 'while :; do :; done' &
  loops+=($!)
done
"$@"
status=$?
stop_loops
exit "$status"
