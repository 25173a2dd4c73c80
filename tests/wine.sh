#!/usr/bin/env bash
# Runs a Windows program under Tempulo's Wine (scripts/lib.sh), unless the caller chose a Wine of
# its own: the emulator through which the windows build runs its tests.
#   wine.sh PROGRAM.exe [ARGS...]
# shellcheck source=scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
[ -n "${WINEPREFIX:-}" ] || tempulo_wine_env
exec wine "$@"
