#!/usr/bin/env bash
# The Windows installer as a user meets it, in a Wine of its own: a silent install (setup.exe /S)
# puts the program, Qt's catalogues, a Start-menu entry and an entry under installed apps in
# place; the installed program then passes the desktop scenario; the uninstaller (/S) takes all of it
# away again.
#   windows_installer_test.sh SETUP.exe
set -uo pipefail
setup=$(realpath "${1:?usage: windows_installer_test.sh SETUP.exe}")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

scratch=$(mktemp -d)
source "$here/../scripts/lib.sh"
tempulo_wine_env "$scratch/wine"
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$scratch"
}
trap cleanup EXIT

failures=0
check() {
  if [ "$1" = 0 ]; then echo "ok    $2"; else echo "FAIL  $2"; failures=$((failures + 1)); fi
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tempulo'
folder="$WINEPREFIX/drive_c/Program Files/Tempulo"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Bpm Tempulo 2004/Bpm Tempulo 2004.lnk"

wineboot --init >/dev/null 2>&1
wine "$setup" /S >/dev/null 2>&1
check $? "setup.exe /S finishes"
[ -f "$folder/tempulo.exe" ] && [ -f "$folder/translations/qtbase_de.qm" ] &&
  [ -f "$folder/Uninstall.exe" ]
check $? "the program, Qt's catalogues and the uninstaller are in Program Files\\Tempulo"
[ -f "$shortcut" ]
check $? "the Start menu has Bpm Tempulo 2004"
entry=$(wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r')
grep -q "DisplayName *REG_SZ *Bpm Tempulo 2004" <<<"$entry" &&
  grep -q 'DisplayIcon *REG_SZ *C:\\Program Files\\Tempulo\\tempulo.exe' <<<"$entry" &&
  grep -q 'UninstallString' <<<"$entry"
check $? "installed apps list Bpm Tempulo 2004 with its icon and uninstaller"

bash "$here/desktop_scenario.sh" "$folder/tempulo.exe" en_US.UTF-8
check $? "the installed program passes the desktop scenario"

# The uninstaller copies itself away and returns at once: wait for it to finish.
wine "$folder/Uninstall.exe" /S >/dev/null 2>&1
for _ in $(seq 60); do
  [ -e "$folder" ] || break
  sleep 0.5
done
[ ! -e "$folder" ] && [ ! -e "$shortcut" ]
check $? "the uninstaller removes the program and the Start-menu entry"
! wine reg query "$uninstall_key" >/dev/null 2>&1
check $? "the uninstaller removes the installed-apps entry"

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "Windows installer test passed"
