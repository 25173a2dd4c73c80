# The Windows packages, packed on Linux by `cmake --build --preset windows --target packages`:
# tempulo-VERSION-win64.zip, the portable program, and tempulo-VERSION-win64-setup.exe, the
# installer (resources/windows/installer.nsi, Debian's nsis). Both hold the installed tree; both
# are the same bytes for the same source whenever they are packed (cmake/TempuloWindowsPack.cmake).

# The notices of what tempulo.exe holds besides our code, made from the linker's map of it each
# time it is linked (cmake/third_party_notices.py).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(TEMPULO_ATTRIBUTION_SCANNER qtattributionsscanner
  PATHS /usr/lib/qt6/libexec NO_DEFAULT_PATH REQUIRED
  DOC "Qt's reader of its attribution files (Debian's qt6-documentation-tools)")
get_target_property(qt_core_location Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(TEMPULO_WINDOWS_QT_DIR "${qt_core_location}/../.." ABSOLUTE)
if(NOT EXISTS "${TEMPULO_WINDOWS_QT_DIR}/share/tempulo/origin")
  message(FATAL_ERROR "The Qt for Windows in ${TEMPULO_WINDOWS_QT_DIR} has no record of its "
    "source and licences (share/tempulo/); build it with scripts/windows")
endif()
set(notices ${PROJECT_BINARY_DIR}/notices)
target_link_options(tempulo PRIVATE "LINKER:-Map=${PROJECT_BINARY_DIR}/tempulo.map")
add_custom_command(TARGET tempulo POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${notices}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/third_party_notices.py
    --map ${PROJECT_BINARY_DIR}/tempulo.map --qt ${TEMPULO_WINDOWS_QT_DIR}
    --scanner ${TEMPULO_ATTRIBUTION_SCANNER} --out ${notices}
  COMMENT "Writing the notices of what tempulo.exe holds"
  VERBATIM)
install(FILES ${notices}/THIRD-PARTY-NOTICES.txt DESTINATION .)
install(DIRECTORY ${notices}/licenses/ DESTINATION licenses)

find_program(TEMPULO_MAKENSIS makensis REQUIRED DOC "NSIS's compiler (Debian's nsis)")
add_custom_target(packages
  COMMAND ${CMAKE_COMMAND}
    -DBUILD_DIR=${PROJECT_BINARY_DIR}
    -DNAME=tempulo-${PROJECT_VERSION}-win64
    -DVERSION=${PROJECT_VERSION}
    -DTITLE=${TEMPULO_TITLE}
    "-DPUBLISHER=Tempulo contributors"
    -DCOPYRIGHT=${TEMPULO_COPYRIGHT}
    -DHOMEPAGE=${PROJECT_HOMEPAGE_URL}
    -DICON=${PROJECT_SOURCE_DIR}/resources/icons/tempulo.ico
    -DNSI=${PROJECT_SOURCE_DIR}/resources/windows/installer.nsi
    -DMAKENSIS=${TEMPULO_MAKENSIS}
    -DPYTHON=${Python3_EXECUTABLE}
    -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
    -P ${PROJECT_SOURCE_DIR}/cmake/TempuloWindowsPack.cmake
  DEPENDS tempulo
  COMMENT "Packing the portable program and the installer"
  VERBATIM)
