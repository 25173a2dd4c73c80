# shellcheck shell=bash disable=SC2034  # the package lists are read by the scripts that source this
# Shared by the scripts: installs what the build needs, configures and builds, and says how Wine
# runs the Windows program. Sourced, not run: sourcing it defines the lists and functions below
# and does nothing else; a script asks for what it needs (tempulo_root, tempulo_report_failures,
# tempulo_source_date_epoch).

# The tree this file belongs to.
tempulo_root() {
  (cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
}

# The Debian release this machine runs, from its os-release: its number and code name, between
# them a tab ("13<TAB>trixie"). Debian's testing and unstable have a code name and no number
# ("<TAB>forky"); any other system has neither. The scripts and the build
# (cmake/TempuloRelease.cmake) all learn the release here.
tempulo_debian_release() {
  (
    . /etc/os-release 2>/dev/null || exit 0
    [ "${ID:-}" = debian ] || exit 0
    number=${VERSION_ID:-}
    [[ $number =~ ^[0-9]+$ ]] || number=
    printf '%s\t%s\n' "$number" "${VERSION_CODENAME:-}"
  )
}

# Debian packages the build, the tests and the screenshots need.
TEMPULO_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libgtest-dev
  qt6-qpa-plugins fonts-liberation2 fonts-dejavu-core
)
# Further packages the tests that scripts/test runs call, by test. A test that calls a program
# finds it here, in the list of the script that runs it (scripts/windows has its own).
TEMPULO_TEST_PACKAGES=(
  # desktop_entry_valid, metainfo_valid, install_tree: the launcher's and AppStream's validators.
  desktop-file-utils appstream file
  # deb_package, homepage_none, homepage_set: packing, lintian, the manual page, the changelog.
  dpkg-dev lintian man-db
  # desktop_en, desktop_de, atspi_en, atspi_de, orca, orca_busy: a virtual screen with a window manager,
  # keys typed through XTest, numbers read through the clipboard, the screen on a failure, the
  # session and accessibility buses with AT-SPI's Python client, English and German with Qt's
  # translations; Orca itself, its log written through script(1).
  xvfb xauth openbox xdotool xclip imagemagick dbus at-spi2-core python3-pyatspi locales
  qt6-translations-l10n orca bsdutils
  # wayland: the compositor, Qt's Wayland platform, the clipboard read.
  sway qt6-wayland wl-clipboard
)
# The linters scripts/lint runs.
TEMPULO_LINT_PACKAGES=(clang-tidy cppcheck shellcheck python3)
# The fuzz targets build with clang and its libFuzzer and sanitizer runtimes.
TEMPULO_FUZZ_PACKAGES=(clang libclang-rt-dev)

tempulo_missing_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  echo "${missing[@]}"
}

# Installs the named packages that are not yet installed, through sudo when not root.
tempulo_install() {
  if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    echo "This script installs with apt-get (Debian or Ubuntu). Please install: $*" >&2
    echo "Then build with: cmake --preset default && cmake --build --preset default" >&2
    exit 1
  fi
  local missing
  missing=$(tempulo_missing_packages "$@")
  [ -z "$missing" ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "Missing packages and no sudo to install them as root: $missing" >&2
      exit 1
    fi
    sudo=(sudo)
  fi
  echo "Installing: $missing"
  export DEBIAN_FRONTEND=noninteractive
  # apt's and dpkg's progress go to a log, shown when they fail.
  local log
  log=$(mktemp)
  # shellcheck disable=SC2086
  if ! { "${sudo[@]}" apt-get update -qq &&
         "${sudo[@]}" apt-get install -y -qq --no-install-recommends $missing; } >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    rm -f "$log"
    echo "Installing the packages failed (apt-get install $missing)" >&2
    exit 1
  fi
  rm -f "$log"
}

# Says how long the step just ended took (since the last call, or the script's start).
tempulo_step_took() {
  local now=$SECONDS
  local took=$((now - ${tempulo_step_start:-0}))
  printf '%s: %s took %d min %02d s\n' "${0##*/}" "$1" $((took / 60)) $((took % 60))
  tempulo_step_start=$now
}

# Configures (first time only) and builds the given preset incrementally.
tempulo_build() {
  local preset=$1
  cd "$(tempulo_root)" || exit 1
  local dir
  dir=$(tempulo_build_dir "$preset")
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake --preset "$preset" >/dev/null || exit 1
  fi
  cmake --build --preset "$preset" || exit 1
}

tempulo_build_dir() {
  case $1 in
    default) echo "$(tempulo_root)/build" ;;
    *) echo "$(tempulo_root)/build-$1" ;;
  esac
}

# A Wine of Tempulo's own, apart from any the user has (or, given a folder, one there): 64-bit,
# quiet, and without the .NET and browser engines Wine would otherwise offer to download. The
# scripts, the tests they run and the `windows` test preset all run Wine under this.
# shellcheck disable=SC2120  # the folder is for the installer test; the rest use the default
tempulo_wine_env() {
  export WINEPREFIX=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/tempulo/wine64}
  export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

# Packages carry file times from the source, not from the clock: the time of the last commit,
# unless the caller set SOURCE_DATE_EPOCH. A tree without git (git archive, a release tarball)
# takes the newest time of its files, which git archive sets to the commit's. What builds and
# tests write into the tree is no source and does not count: the build folders, Python's caches
# (__pycache__/, which an import of a test's or a script's module writes) and hidden files.
# Exported, for the builds and packers the script runs.
tempulo_source_date_epoch() {
  local root
  root=$(tempulo_root)
  if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) || SOURCE_DATE_EPOCH=
    if [ -z "$SOURCE_DATE_EPOCH" ]; then
      SOURCE_DATE_EPOCH=$(find "$root" -mindepth 1 \( -name '.*' -o -name 'build' -o -name 'build-*' \
          -o -name '__pycache__' \) -prune -o -type f -printf '%T@\n' 2>/dev/null |
        sort -n | tail -n 1 | cut -d. -f1)
      echo "No git commit to date the packages by: they carry $(date -u -d "@${SOURCE_DATE_EPOCH:-0}" \
'+%Y-%m-%d %H:%M:%S UTC'), the newest file time in $root (set SOURCE_DATE_EPOCH to choose)" >&2
    fi
  fi
  export SOURCE_DATE_EPOCH
}

# For a script that stops on a failed command (set -e): says which command failed and where,
# rather than ending without a word.
tempulo_report_failures() {
  set -o errtrace
  trap 'echo "${0##*/}: failed (exit $?) at line $LINENO: $BASH_COMMAND" >&2' ERR
}

# Our source folders: every folder at the top of the tree that holds C++ (build folders and
# hidden ones aside). The linters check these, so a new folder is checked from its first file.
tempulo_source_dirs() {
  find "$(tempulo_root)" -mindepth 1 -maxdepth 1 -type d ! -name '.*' ! -name build ! -name 'build-*' \
    -exec sh -c 'find "$1" -type f \( -name "*.cpp" -o -name "*.h" \) | grep -q .' sh {} \; \
    -printf '%f\n' | sort
}
