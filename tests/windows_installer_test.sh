#!/usr/bin/env bash
# The Windows installer as users meet it, in a Wine of its own, each step silent (/S) and checked
# on the files, the Start menu and the registry, which it prints before and after:
#   - a fresh install for the user, without administrator rights, with the notices complete for
#     what the program's link map says went into tempulo.exe; the installed program then passes
#     the desktop scenario;
#   - the same version installed again, replacing it in place;
#   - an install while Tempulo runs, which stops and changes nothing;
#   - an uninstall that leaves no file, shortcut or registry key;
#   - an older build (the same program packed as 0.0.9) installed into a folder of the user's
#     choice, then upgraded, which keeps that folder;
#   - an install for all users (/ALLUSERS) into Program Files, and its uninstall.
#   windows_installer_test.sh BUILD_DIR      (after the `packages` target)
set -uo pipefail
build=$(realpath "${1:?usage: windows_installer_test.sh BUILD_DIR}")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=scripts/lib.sh
source "$here/../scripts/lib.sh"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=tempulo-$version-win64
setup=$build/$name-setup.exe
[ -f "$setup" ] || { echo "no $setup: build the packages target first" >&2; exit 1; }

scratch=$(mktemp -d)
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
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tempulo'
drive=$WINEPREFIX/drive_c
wineboot --init >/dev/null 2>&1
user=$(wine cmd /c echo %USERNAME% 2>/dev/null | tr -d '\r')
user_folder="$drive/users/$user/AppData/Local/Programs/Tempulo"
user_menu="$drive/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
all_folder="$drive/Program Files/Tempulo"
all_menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs"

# reg answers 1 for a key that is not there; any other failure is Wine's, and is asked again.
entry() {
  local out status
  for _ in 1 2 3; do
    out=$(wine reg query "$1\\$key" 2>/dev/null)
    status=$?
    [ "$status" -le 1 ] && break
    echo "      reg query $1 failed ($status), asked again" >&2
    sleep 1
  done
  tr -d '\r' <<<"$out" | grep REG_
}
value() { entry "$1" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
# What an install left: files of Tempulo's, shortcuts, installed-apps entries.
state() {
  echo "      files: $(cd "$drive" && find . -ipath '*tempulo*' -type f | sort | sed 's|^\./||' |
    grep -v -e '/licenses/' -e '/translations/' | tr '\n' ' ')"
  echo "      shortcuts: $(cd "$drive" && find . -name 'Bpm Tempulo 2004*.lnk' | sed 's|^\./||' | tr '\n' ' ')"
  local hive
  for hive in HKCU HKLM; do
    if entry "$hive" >/dev/null; then
      echo "      $hive\\$key:"
      entry "$hive" | sed 's/^ */        /'
    fi
  done
}
install() {
  wine "$@" >/dev/null 2>&1
}
# The uninstaller hands over to a copy of itself and returns at once: wait for its work.
uninstall() {
  local command=$1 folder=$2
  eval "wine ${command//\\/\\\\}" >/dev/null 2>&1
  for _ in $(seq 60); do
    [ -e "$folder" ] || break
    sleep 0.5
  done
}
# find stops at the first file left: a pipe into grep -q would count the SIGPIPE that ends find as
# a failed search under pipefail, and so as nothing left. A drive that cannot be searched fails.
nothing_left() {
  local left
  left=$(cd "$drive" && find . \( -ipath '*tempulo*' -o -name 'Bpm Tempulo 2004*' \) -print -quit) ||
    return 1
  [ -z "$left" ] && ! entry HKCU >/dev/null && ! entry HKLM >/dev/null
}

# The notices name every part the link kept something of, with its licence text beside them.
check_notices() {
  local folder=$1 map=$build/tempulo.map notices=$1/THIRD-PARTY-NOTICES.txt
  [ -f "$folder/LICENSE.txt" ] && [ -f "$notices" ]
  check $? "LICENSE.txt and THIRD-PARTY-NOTICES.txt are installed"
  # Inputs the link kept a section of (size above 0) after "Linker script and memory map".
  local kept
  kept=$(sed -n '/^Linker script and memory map/,$p' "$map" |
    grep -oE '0x[0-9a-f]+ +0x[0-9a-f]*[1-9a-f][0-9a-f]* +[^ ]+' | awk '{print $3}' | sort -u)
  local part pattern wanted
  while IFS=';' read -r part pattern wanted; do
    grep -qE "$pattern" <<<"$kept" || continue
    grep -qF -- "$wanted" "$notices"
    check $? "linked: $part; noticed as \"$wanted\""
  done <<'PARTS'
Qt Core, Gui and Widgets;libQt6(Core|Gui|Widgets)\.a;Licence: GNU Lesser General Public License version 3
HarfBuzz (bundled);libQt6BundledHarfbuzz\.a;HarfBuzz
FreeType (bundled);libQt6BundledFreetype\.a;Portions of this software are copyright
libpng (bundled);libQt6BundledLibpng\.a;LibPNG
PCRE2 (bundled);libQt6BundledPcre2\.a;PCRE2
zlib (bundled);libQt6BundledZLIB\.a;zlib
double-conversion, in Qt Core;libQt6Core\.a\((bignum|double-to-string|strtod);Decimal-Binary Conversion Routines
libstdc++ and libgcc;libstdc\+\+\.a|libgcc;gcc-mingw-w64
MinGW-w64 runtime and winpthreads;libwinpthread\.a|crt2\.o|libmingwex\.a;mingw-w64-x86-64-dev
PARTS
  local missing=0 text
  while read -r text; do
    [ -f "$folder/$text" ] || { echo "      missing: $text"; missing=1; }
  done < <(grep -oE 'licenses\\[^ ,)]+' "$notices" | sed 's|\\|/|g' | tr -d '\r' | sort -u)
  check $missing "every licence text the notices name is installed"
}

echo "Before anything is installed:"
state

# For the user, without administrator rights.
install "$setup" /S
check $? "setup.exe /S installs for the user"
state
[ -f "$user_folder/tempulo.exe" ] && [ -f "$user_folder/translations/qtbase_de.qm" ] &&
  [ -f "$user_folder/Uninstall.exe" ] && [ ! -e "$all_folder" ]
check $? "the program is in the user's AppData\\Local\\Programs\\Tempulo, nothing in Program Files"
[ -f "$user_menu/Bpm Tempulo 2004.lnk" ] && [ ! -e "$user_menu/Bpm Tempulo 2004" ] &&
  [ ! -e "$user_menu/Tempulo" ]
check $? "the user's Start menu has the shortcut Bpm Tempulo 2004, in no folder, and no uninstall"
[ "$(value HKCU DisplayName)" = "Bpm Tempulo 2004" ] &&
  [ "$(value HKCU DisplayVersion)" = "$version" ] &&
  [ "$(value HKCU Publisher)" = "Tempulo contributors" ] &&
  [[ $(value HKCU DisplayIcon) == *'\tempulo.exe' ]] &&
  [[ $(( $(value HKCU EstimatedSize) )) -gt 1000 ]] && ! entry HKLM >/dev/null
check $? "installed apps list it for the user: name, version, publisher, icon and size"
check_notices "$user_folder"

bash "$here/desktop_scenario.sh" "$user_folder/tempulo.exe" en_US.UTF-8 | sed 's/^/      /'
check "${PIPESTATUS[0]}" "the installed program passes the desktop scenario"

# The same version again: replaced in place.
install "$setup" /S
check $? "installing the same version again succeeds"
[ -f "$user_folder/tempulo.exe" ] && [ "$(value HKCU InstallLocation)" = \
  "C:\\users\\$user\\AppData\\Local\\Programs\\Tempulo" ] &&
  [ "$(cd "$drive" && find . -name 'Bpm Tempulo 2004*.lnk' | wc -l)" = 1 ]
check $? "it is replaced where it was, with one shortcut and one entry"

# While Tempulo runs (on a screen, as a user has it), nothing is replaced: a silent install stops
# with exit code 5 and leaves the program as it was.
TEMPULO_TEST_SETUP=$setup TEMPULO_TEST_PROGRAM=$user_folder/tempulo.exe \
  bash "$here/desktop_session.sh" --wine "$user_folder/tempulo.exe" en_US.UTF-8 -- bash -c '
    for _ in $(seq 150); do
      xdotool search --onlyvisible --name "^Bpm Tempulo 2004\$" >/dev/null 2>&1 && break
      sleep 0.1
    done
    before=$(sha256sum "$TEMPULO_TEST_PROGRAM")
    wine "$TEMPULO_TEST_SETUP" /S >/dev/null 2>&1
    status=$?
    echo "      exit code $status"
    [ "$status" = 5 ] && [ "$before" = "$(sha256sum "$TEMPULO_TEST_PROGRAM")" ]'
check $? "installing while Tempulo runs stops and leaves it as it was"
wineserver -w
install "$setup" /S
check $? "once Tempulo is closed, installing succeeds"

# Uninstalling, as installed apps do it.
uninstall "$(value HKCU QuietUninstallString)" "$user_folder"
state
nothing_left
check $? "uninstalling leaves no file, shortcut or registry key"

# An older build in a folder of the user's choice, then the upgrade, which keeps that folder.
makensis -V1 -NOCD -DVERSION=0.0.9 "-DSTAGE=$build/pack/$name" "-DFILES=$build/pack/files.nsh" \
  "-DOUTFILE=$scratch/old-setup.exe" \
  "-DICON=$here/../resources/icons/tempulo.ico" "-DTITLE=Bpm Tempulo 2004" \
  "-DPUBLISHER=Tempulo contributors" "$here/../resources/windows/installer.nsi" >/dev/null
check $? "the same program packs as version 0.0.9"
install "$scratch/old-setup.exe" /S '/D=C:\Apps\Tempo'
[ "$(value HKCU DisplayVersion)" = 0.0.9 ] && [ -f "$drive/Apps/Tempo/tempulo.exe" ]
check $? "version 0.0.9 installs into C:\\Apps\\Tempo"
install "$setup" /S
state
[ "$(value HKCU DisplayVersion)" = "$version" ] && [ "$(value HKCU InstallLocation)" = 'C:\Apps\Tempo' ] &&
  [ -f "$drive/Apps/Tempo/tempulo.exe" ] && [ ! -e "$user_folder" ]
check $? "the upgrade to $version keeps C:\\Apps\\Tempo"
uninstall "$(value HKCU QuietUninstallString)" "$drive/Apps/Tempo"
nothing_left
check $? "uninstalling the upgrade leaves nothing"

# For all users, as administrator.
install "$setup" /S /ALLUSERS
check $? "setup.exe /S /ALLUSERS installs for all users"
state
[ -f "$all_folder/tempulo.exe" ] && [ -f "$all_menu/Bpm Tempulo 2004.lnk" ] &&
  [ "$(value HKLM DisplayName)" = "Bpm Tempulo 2004" ] && ! entry HKCU >/dev/null &&
  [ ! -e "$user_folder" ]
check $? "the program is in Program Files, the shortcut in everyone's Start menu, the entry in HKLM"
uninstall "$(value HKLM QuietUninstallString)" "$all_folder"
state
nothing_left
check $? "uninstalling for all users leaves no file, shortcut or registry key"

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "Windows installer test passed"
