#!/usr/bin/env bash
# Configures the project afresh with TEMPULO_HOMEPAGE_URL set to HOMEPAGE (empty: none), packs it
# around the already built PROGRAM and checks what a software centre reads: with a homepage, the
# package's Homepage field, the AppStream link and three screenshots under HOMEPAGE/docs; without
# one, none of them. Either way the AppStream entry and the launcher pass their validators.
#   homepage_test.sh SOURCE_DIR PROGRAM GENERATOR [HOMEPAGE]
set -uo pipefail
usage="usage: homepage_test.sh SOURCE_DIR PROGRAM GENERATOR [HOMEPAGE]"
source_dir=${1:?$usage}
program=${2:?$usage}
generator=${3:?$usage}
homepage=${4:-}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
run() {
  if ! "$@" >"$scratch/step.log" 2>&1; then
    cat "$scratch/step.log" >&2
    fail "$*"
    exit 1
  fi
}

# Only the program is compiled; the rest of the package is made by this configure.
build="$scratch/build"
run cmake -S "$source_dir" -B "$build" -G "$generator" -DTEMPULO_BUILD_TESTS=OFF \
  "-DTEMPULO_HOMEPAGE_URL=$homepage"
run cmake --build "$build" --target tempulo_docs
cp "$program" "$build/" || { fail "cannot copy $program"; exit 1; }
run cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out"
deb=$(find "$scratch/out" -maxdepth 1 -name 'tempulo_*.deb' | head -n 1)
[ -n "$deb" ] || { fail "cpack made no package"; exit 1; }
run dpkg-deb -x "$deb" "$scratch/root"

metainfo=$(find "$scratch/root/usr/share/metainfo" -name '*.metainfo.xml' | head -n 1)
desktop=$(find "$scratch/root/usr/share/applications" -name '*.desktop' | head -n 1)
[ -n "$metainfo" ] || { fail "the package has no AppStream entry"; exit 1; }
bash "$here/appstream_validate.sh" validate "$metainfo" || fail "appstreamcli validate"
bash "$here/appstream_validate.sh" validate-tree "$scratch/root" || fail "appstreamcli validate-tree"
"$here/desktop_entry_test.sh" "$desktop" || fail "the launcher does not validate"

field=$(dpkg-deb -f "$deb" Homepage)
url=$(grep -c '<url type="homepage">' "$metainfo")
images=$(grep -o '<image>[^<]*</image>' "$metainfo")
if [ -z "$homepage" ]; then
  [ -z "$field" ] || fail "Homepage: $field, with no homepage set"
  [ "$url" -eq 0 ] || fail "the AppStream entry links a homepage, with none set"
  if [ -n "$images" ] || grep -q '<screenshots>' "$metainfo"; then
    fail "the AppStream entry lists screenshots, with no homepage set"
  fi
else
  [ "$field" = "$homepage" ] || fail "Homepage: '$field', not $homepage"
  grep -qF "<url type=\"homepage\">$homepage</url>" "$metainfo" ||
    fail "the AppStream entry does not link $homepage"
  base=${homepage%/}/docs/
  if [ "$(grep -c . <<<"$images")" -ne 3 ] || grep -vqF "<image>$base" <<<"$images"; then
    fail "not three screenshots, all under $base: $images"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "homepage '${homepage}': package field, AppStream entry and launcher checked"
