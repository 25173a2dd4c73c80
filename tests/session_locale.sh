# shellcheck shell=bash
# Sourced by the desktop tests: the desktop's language as a session has it, a locale the C library
# knows. Where the system has none (a new Debian has no locale at all), it is compiled into the
# given folder and found through LOCPATH. Without it Qt falls back to "C" and, since Qt 6.8, says
# so; Wine takes the desktop's language from it.
#   session_locale LANG FOLDER
session_locale() {
  local lang=$1 folder=$2 wanted
  wanted=$(tr '[:upper:]' '[:lower:]' <<<"${lang//-/}")
  locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | tr -d '-' | grep -qx "$wanted" && return 0
  mkdir -p "$folder"
  localedef -i "${lang%%.*}" -f "${lang#*.}" "$folder/$lang" >/dev/null 2>&1 ||
    { echo "cannot compile the locale $lang (localedef, package locales)" >&2; return 1; }
  export LOCPATH=$folder
}
