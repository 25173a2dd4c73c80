#!/usr/bin/env bash
# Builds the Debian package with cpack into a scratch folder and checks it as a user would get it:
# its name and version (PACKAGE_VERSION, as the build names it for the release it is built on:
# VERSION~debNNu1 on Debian NN, VERSION elsewhere), its dependencies on the
# Qt 6 runtime by this release's package names, lintian's verdict, the manual page
# and the changelog, no placeholder addresses, that the unpacked program finds every shared
# library it needs, and that it starts and keeps running (offscreen platform).
#   package_test.sh BUILD_DIR VERSION PACKAGE_VERSION APP_ID
set -uo pipefail
usage="usage: package_test.sh BUILD_DIR VERSION PACKAGE_VERSION APP_ID"
build=${1:?$usage}
version=${2:?$usage}
package_version=${3:?$usage}
app_id=${4:?$usage}

scratch=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The package, built from the current build tree, and nothing left in the build tree.
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  fail "cpack failed"
  exit 1
fi
[[ $package_version == "$version" || $package_version =~ ^"$version"~deb[0-9]+u1$ ]] ||
  fail "package version $package_version is neither $version nor $version~debNNu1"
deb="$scratch/out/tempulo_${package_version}_$(dpkg --print-architecture).deb"
if [ ! -f "$deb" ]; then
  cat "$scratch/cpack.log" >&2
  ls "$scratch/out" >&2
  fail "no package $(basename "$deb")"
  exit 1
fi

[ "$(dpkg-deb -f "$deb" Package)" = tempulo ] || fail "package name is not tempulo"
[ "$(dpkg-deb -f "$deb" Version)" = "$package_version" ] ||
  fail "package version is not $package_version"
[ "$(dpkg-deb -f "$deb" Section)" = sound ] || fail "package section is not sound"

# Depends names the packages that hold the Qt 6 libraries the program links, by this release's
# names (libqt6core6 in Debian 12, libqt6core6t64 in 13), and the platform plugins it loads.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
packages=(qt6-qpa-plugins)
for library in Widgets Gui Core; do
  owner=$(dpkg -S "*/libQt6$library.so.6" 2>/dev/null | head -n 1)
  [ -n "$owner" ] || fail "no installed package holds libQt6$library.so.6"
  packages+=("${owner%%:*}")
done
for package in "${packages[@]}"; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends does not name $package"
done
for package in fonts-liberation2 qt6-translations-l10n qt6-wayland; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$(dpkg-deb -f "$deb" Recommends)" ||
    fail "Recommends does not name $package"
done

# lintian at its default profile: no error and no warning.
if ! lintian --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1 ||
    grep -Eq "^[EW]: " "$scratch/lintian.log"; then
  cat "$scratch/lintian.log" >&2
  fail "lintian reports errors or warnings"
fi

dpkg-deb -x "$deb" "$scratch/root" || { fail "dpkg-deb -x failed"; exit 1; }
man_page=usr/share/man/man1/tempulo.1.gz
changelog=usr/share/doc/tempulo/changelog.gz
for file in "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml" \
    "usr/share/icons/hicolor/16x16/apps/$app_id.png" "usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    usr/share/doc/tempulo/copyright "$man_page" "$changelog"; do
  [ -f "$scratch/root/$file" ] || fail "the package has no $file"
done

# The manual page renders without a groff warning and names this version.
if [ -f "$scratch/root/$man_page" ]; then
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$scratch/root/$man_page" \
    >"$scratch/man.txt" 2>"$scratch/man.err"
  if [ -s "$scratch/man.err" ]; then
    cat "$scratch/man.err" >&2
    fail "man --warnings reports problems in $man_page"
  fi
  grep -q "Tempulo $version" "$scratch/man.txt" ||
    fail "the manual page does not name version $version"
fi

# The changelog parses as Debian's and its latest entry is this version.
if [ -f "$scratch/root/$changelog" ]; then
  gzip -dc "$scratch/root/$changelog" >"$scratch/changelog"
  logged=$(dpkg-parsechangelog -l "$scratch/changelog" -S Version 2>&1)
  [ "$logged" = "$package_version" ] ||
    fail "the changelog's latest entry is '$logged', not $package_version"
fi

# No placeholder domain in any installed file, compressed or not.
while IFS= read -r -d '' file; do
  # Not grep -q: an early exit would break the pipe into gzip, and pipefail would hide the match.
  if gzip -dcf "$file" | grep -E 'example\.(invalid|com|org|net)' >/dev/null; then
    fail "${file#"$scratch/root/"} holds a placeholder address"
  fi
done < <(find "$scratch/root" -type f -print0)
program="$scratch/root/usr/bin/tempulo"
[ -x "$program" ] || { fail "no usr/bin/tempulo in the package"; exit 1; }

# Every shared library found, none through a search path left pointing into the build tree.
libraries=$(ldd "$program" 2>&1)
if grep -q "not found" <<<"$libraries"; then
  grep "not found" <<<"$libraries" >&2
  fail "ldd: libraries not found"
fi
if readelf -d "$program" | grep -E "R(UN)?PATH" | grep -qF "$build"; then
  readelf -d "$program" | grep -E "R(UN)?PATH" >&2
  fail "the packaged program searches the build tree for libraries"
fi

# Starts, shows its window and is still running two seconds later.
QT_QPA_PLATFORM=offscreen "$program" >"$scratch/run.log" 2>&1 &
pid=$!
sleep 2
if kill -0 "$pid" 2>/dev/null; then
  kill "$pid"
  wait "$pid" 2>/dev/null
  pid=""
else
  wait "$pid"
  echo "exit status $?; output:" >&2
  cat "$scratch/run.log" >&2
  pid=""
  fail "the packaged program did not keep running"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "package $(basename "$deb"): contents, dependencies, lintian, manual page, changelog," \
  "libraries and start-up checked"
