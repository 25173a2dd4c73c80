#!/usr/bin/env bash
# Validates a .desktop launcher with desktop-file-validate. That tool exits 0 on some errors
# ("will be fatal in the future") and on hints, so any message at all fails the test.
#   desktop_entry_test.sh FILE.desktop
set -uo pipefail
file=${1:?usage: desktop_entry_test.sh FILE.desktop}

[ -f "$file" ] || { echo "FAIL: no launcher at $file" >&2; exit 1; }
output=$(desktop-file-validate "$file" 2>&1)
status=$?
if [ "$status" -ne 0 ] || [ -n "$output" ]; then
  echo "FAIL: desktop-file-validate (exit $status) on $file:" >&2
  echo "$output" >&2
  exit 1
fi
echo "desktop-file-validate: $file is clean"
