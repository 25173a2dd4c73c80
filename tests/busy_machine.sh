#!/usr/bin/env bash
# Runs a command on a busy machine: every core kept busy, for at most SECONDS, by loops at the
# normal priority, as a compiler or a browser keeps a musician's machine busy: the screen reader
# and the program share the cores with them. The loops start before the command and end with
# it, or at SECONDS, whichever comes first; the command's exit status is this script's.
#   busy_machine.sh SECONDS -- COMMAND [ARGS...]
set -uo pipefail
usage="usage: busy_machine.sh SECONDS -- COMMAND [ARGS...]"
seconds=${1:?$usage}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]] || [ "${2:-}" != -- ] || [ $# -lt 3 ]; then
  echo "$usage" >&2
  exit 2
fi
shift 2

loops=()
# shellcheck disable=SC2317  # run by the EXIT trap
stop_loops() {
  [ ${#loops[@]} -gt 0 ] && kill "${loops[@]}" 2>/dev/null
  wait "${loops[@]}" 2>/dev/null
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
