# Packs the installed tree into NAME.zip and NAME-setup.exe in BUILD_DIR (run by the `packages`
# target). Every file carries the time SOURCE_DATE_EPOCH gives, or else the time of the last
# commit, and the zip lists its files in name order, so that the same source packs to the same
# bytes whenever and wherever it is packed.
foreach(variable BUILD_DIR NAME VERSION TITLE PUBLISHER ICON NSI MAKENSIS SOURCE_DIR)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "TempuloWindowsPack.cmake needs -D${variable}=...")
  endif()
endforeach()

set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(epoch STREQUAL "")
  execute_process(COMMAND git -C ${SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
  if(failed OR epoch STREQUAL "")
    message(FATAL_ERROR "Set SOURCE_DATE_EPOCH: outside a git checkout there is no commit time")
  endif()
endif()

# The same time as the zip's entries take it.
set(ENV{SOURCE_DATE_EPOCH} ${epoch})
string(TIMESTAMP mtime "%Y-%m-%d %H:%M:%S UTC" UTC)

set(pack ${BUILD_DIR}/pack)
set(stage ${pack}/${NAME})
file(REMOVE_RECURSE ${pack})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${stage}
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND find ${stage} -exec touch -h -d @${epoch} {} +
  COMMAND_ERROR_IS_FATAL ANY)

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${pack} ${stage}/*)
list(SORT files)
list(JOIN files "\n" listed)
file(WRITE ${pack}/files.txt "${listed}\n")
file(REMOVE ${BUILD_DIR}/${NAME}.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${BUILD_DIR}/${NAME}.zip --format=zip
    "--mtime=${mtime}" --files-from=files.txt
  WORKING_DIRECTORY ${pack} COMMAND_ERROR_IS_FATAL ANY)

set(defines -DVERSION=${VERSION} -DSTAGE=${stage} -DOUTFILE=${BUILD_DIR}/${NAME}-setup.exe
  -DICON=${ICON} -DTITLE=${TITLE} -DPUBLISHER=${PUBLISHER})
if(COPYRIGHT)
  list(APPEND defines -DCOPYRIGHT=${COPYRIGHT})
endif()
if(HOMEPAGE)
  list(APPEND defines -DHOMEPAGE=${HOMEPAGE})
endif()
execute_process(COMMAND ${MAKENSIS} -V2 -NOCD ${defines} ${NSI}
  OUTPUT_FILE ${pack}/makensis.log ERROR_FILE ${pack}/makensis.log RESULT_VARIABLE failed)
if(failed)
  file(READ ${pack}/makensis.log log)
  message(FATAL_ERROR "makensis failed:\n${log}")
endif()
message(STATUS "Packed ${BUILD_DIR}/${NAME}.zip and ${BUILD_DIR}/${NAME}-setup.exe")
