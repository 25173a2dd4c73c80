#!/usr/bin/env bash
# Installs the build into a scratch root (DESTDIR, prefix /usr) and checks the tree a desktop
# needs: the program, its launcher, its AppStream entry and an icon in every theme size, named by
# the application id; the launcher and the AppStream entry pass their validators in place.
#   install_tree_test.sh BUILD_DIR APP_ID
set -uo pipefail
build=${1:?usage: install_tree_test.sh BUILD_DIR APP_ID}
app_id=${2:?usage: install_tree_test.sh BUILD_DIR APP_ID}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ! DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >"$scratch/install.log" 2>&1; then
  cat "$scratch/install.log" >&2
  fail "cmake --install failed"
  exit 1
fi
usr="$scratch/root/usr"

[ -x "$usr/bin/tempulo" ] || fail "no executable usr/bin/tempulo"
desktop="$usr/share/applications/$app_id.desktop"
metainfo="$usr/share/metainfo/$app_id.metainfo.xml"
[ -f "$desktop" ] || fail "no launcher usr/share/applications/$app_id.desktop"
[ -f "$metainfo" ] || fail "no AppStream entry usr/share/metainfo/$app_id.metainfo.xml"
[ -f "$usr/share/doc/tempulo/copyright" ] || fail "no licence usr/share/doc/tempulo/copyright"
[ -f "$usr/share/icons/hicolor/scalable/apps/$app_id.svg" ] ||
  fail "no scalable icon usr/share/icons/hicolor/scalable/apps/$app_id.svg"

# Every theme size, and each image really that size (PNG: width and height at bytes 16 to 23).
for size in 16 32 48 64 128 256; do
  png="$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  if [ ! -f "$png" ]; then
    fail "no ${size}x${size} icon"
    continue
  fi
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
  if [ "$width" != "$size" ] || [ "$height" != "$size" ]; then
    fail "the ${size}x${size} icon is ${width}x${height}"
  fi
done

# The launcher starts the installed program and names the installed icon.
if [ -f "$desktop" ]; then
  exec_line=$(sed -n 's/^Exec=//p' "$desktop")
  [ -x "$usr/bin/${exec_line%% *}" ] || fail "launcher's Exec=$exec_line is not in usr/bin"
  grep -qx "Icon=$app_id" "$desktop" || fail "launcher's icon is not Icon=$app_id"
  "$here/desktop_entry_test.sh" "$desktop" || fail "the installed launcher does not validate"
fi

# The AppStream entry, with its launcher, checked as installed.
if ! bash "$(dirname "${BASH_SOURCE[0]}")/appstream_validate.sh" validate-tree "$scratch/root"; then
  fail "appstreamcli validate-tree"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "installed tree complete and valid"
