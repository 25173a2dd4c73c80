# Release notes: CHANGELOG.md is written for people, and the Debian package's changelog is made
# from its entry for the version being built, so the two cannot disagree. The text is walked with
# string(FIND) rather than as a CMake list, so semicolons and brackets in it stay plain text.
include_guard(GLOBAL)

# Takes from the variable TEXT_VAR its part up to the first SEPARATOR (all of it when there is
# none) into PART_VAR, and leaves the rest after the separator in TEXT_VAR.
macro(_tempulo_take text_var separator part_var)
  string(FIND "${${text_var}}" "${separator}" _tempulo_at)
  if(_tempulo_at EQUAL -1)
    set(${part_var} "${${text_var}}")
    set(${text_var} "")
  else()
    string(SUBSTRING "${${text_var}}" 0 ${_tempulo_at} ${part_var})
    math(EXPR _tempulo_at "${_tempulo_at} + 1")
    string(SUBSTRING "${${text_var}}" ${_tempulo_at} -1 ${text_var})
  endif()
endmacro()

# Word-wraps TEXT to lines of at most WIDTH characters, prefixes included: FIRST before the first
# line, REST before the others. A word longer than a line stands on a line of its own.
function(tempulo_wrap out_var text width first rest)
  string(REGEX REPLACE "[ \t\n]+" " " text "${text}")
  string(STRIP "${text}" text)
  set(result "")
  set(line "${first}")
  set(line_has_words FALSE)
  while(NOT text STREQUAL "")
    _tempulo_take(text " " word)
    string(LENGTH "${line} ${word}" length)
    if(line_has_words AND length GREATER width)
      string(APPEND result "${line}\n")
      set(line "${rest}${word}")
    elseif(line_has_words)
      string(APPEND line " ${word}")
    else()
      string(APPEND line "${word}")
    endif()
    set(line_has_words TRUE)
  endwhile()
  set(${out_var} "${result}${line}" PARENT_SCOPE)
endfunction()

# Reads the entry for VERSION from CHANGELOG, a heading "## [VERSION] - YYYY-MM-DD" followed by
# "- " items (continued on indented lines) up to the next "## " heading. Sets DATE_VAR to the
# date and CHANGES_VAR to the items, one a line, without their "- " and without Markdown's code
# quotes. Stops the configure when the entry is missing or holds anything else.
function(tempulo_changelog_entry changelog version date_var changes_var)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${changelog}")
  file(READ "${changelog}" text)
  string(REPLACE "\r" "" text "${text}")
  string(REPLACE "." "\\." version_pattern "${version}")
  set(date_pattern "[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]")
  set(in_entry FALSE)
  set(date "")
  set(changes "")
  set(item "")
  while(NOT text STREQUAL "")
    _tempulo_take(text "\n" line)

    if(NOT in_entry)
      if(line MATCHES "^## \\[${version_pattern}\\] - (${date_pattern})$")
        set(date "${CMAKE_MATCH_1}")
        set(in_entry TRUE)
      endif()
    elseif(line MATCHES "^## ")
      break()
    elseif(line MATCHES "^- (.*)$")
      if(NOT item STREQUAL "")
        string(APPEND changes "${item}\n")
      endif()
      set(item "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^[ \t]+([^ \t].*)$" AND NOT item STREQUAL "")
      string(APPEND item " ${CMAKE_MATCH_1}")
    elseif(NOT line MATCHES "^[ \t]*$")
      message(FATAL_ERROR "${changelog}: the entry for ${version} holds a line that is neither "
        "a \"- \" item nor its indented continuation:\n  ${line}")
    endif()
  endwhile()

  if(date STREQUAL "")
    message(FATAL_ERROR "${changelog} has no entry for version ${version}, the project's "
      "version. Add a heading \"## [${version}] - YYYY-MM-DD\" with the release's changes as "
      "\"- \" items before building; the package's changelog is made from it.")
  endif()
  if(NOT item STREQUAL "")
    string(APPEND changes "${item}\n")
  endif()
  if(changes STREQUAL "")
    message(FATAL_ERROR "${changelog}: the entry for ${version} lists no changes.")
  endif()
  string(REPLACE "`" "" changes "${changes}")
  set(${date_var} "${date}" PARENT_SCOPE)
  set(${changes_var} "${changes}" PARENT_SCOPE)
endfunction()

# The Debian release this machine runs, as the scripts learn it (tempulo_debian_release in
# scripts/lib.sh): NUMBER_VAR gets its number (e.g. 13) and CODENAME_VAR its code name (e.g.
# trixie). Both are empty on any other system, and on Debian's testing and unstable, which have
# no number.
function(tempulo_debian_release number_var codename_var)
  execute_process(
    COMMAND bash -c "source \"$1\" && tempulo_debian_release" lib "${PROJECT_SOURCE_DIR}/scripts/lib.sh"
    OUTPUT_VARIABLE release OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  set(number "")
  set(codename "")
  if(release MATCHES "^([0-9]+)\t(.*)$")
    set(number "${CMAKE_MATCH_1}")
    set(codename "${CMAKE_MATCH_2}")
  endif()
  set(${number_var} "${number}" PARENT_SCOPE)
  set(${codename_var} "${codename}" PARENT_SCOPE)
endfunction()

# Writes OUTPUT as a Debian changelog with the one entry for VERSION, for DISTRIBUTION: the CHANGES
# lines as items wrapped to 80 columns, signed by MAINTAINER on DATE (YYYY-MM-DD, midnight UTC, so
# the same sources always give the same file). Leaves an unchanged file untouched.
function(tempulo_debian_changelog output package version distribution date changes maintainer)
  # RFC 2822, as Debian's changelog wants it (date -R writes it in English whatever the locale).
  execute_process(COMMAND date -u -R -d "${date} 00:00:00 UTC"
    OUTPUT_VARIABLE stamp OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

  set(text "${package} (${version}) ${distribution}; urgency=medium\n\n")
  while(NOT changes STREQUAL "")
    _tempulo_take(changes "\n" item)
    tempulo_wrap(item "${item}" 80 "  * " "    ")
    string(APPEND text "${item}\n")
  endwhile()
  string(APPEND text "\n -- ${maintainer}  ${stamp}\n")

  set(old "")
  if(EXISTS "${output}")
    file(READ "${output}" old)
  endif()
  if(NOT old STREQUAL text)
    file(WRITE "${output}" "${text}")
  endif()
endfunction()
