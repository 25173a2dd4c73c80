# Packs the installed tree into NAME.zip and NAME-setup.exe in BUILD_DIR (run by the `packages`
# target). Every file carries the time SOURCE_DATE_EPOCH gives, or else the time of the last
# commit, and the zip lists its files in name order, so that the same source packs to the same
# bytes whenever and wherever it is packed.
foreach(variable BUILD_DIR NAME VERSION TITLE PUBLISHER ICON NSI MAKENSIS PYTHON SOURCE_DIR)
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
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/cmake/pack_zip.py ${BUILD_DIR}/${NAME}.zip
    ${pack} ${epoch} ${pack}/files.txt
  COMMAND_ERROR_IS_FATAL ANY)

# The installer takes the files in the same order, each by name: a folder's own order is the
# file system's, and differs from folder to folder.
set(commands "")
set(folder "")
foreach(file IN LISTS files)
  string(REPLACE "${NAME}/" "" relative "${file}")
  get_filename_component(directory "${relative}" DIRECTORY)
  if(NOT directory STREQUAL folder OR commands STREQUAL "")
    set(out "$INSTDIR")
    if(directory)
      string(REPLACE "/" "\\" windows_directory "${directory}")
      string(APPEND out "\\${windows_directory}")
    endif()
    string(APPEND commands "SetOutPath \"${out}\"\n")
    set(folder "${directory}")
  endif()
  string(APPEND commands "File \"${pack}/${file}\"\n")
endforeach()
file(WRITE ${pack}/files.nsh "${commands}")

set(defines -DVERSION=${VERSION} -DSTAGE=${stage} -DFILES=${pack}/files.nsh
  -DOUTFILE=${BUILD_DIR}/${NAME}-setup.exe
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
