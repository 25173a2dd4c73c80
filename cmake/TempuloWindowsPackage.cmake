# The Windows packages, packed on Linux: tempulo-VERSION-win64.zip, the portable program, and
# tempulo-VERSION-win64-setup.exe, an NSIS installer (Debian's nsis) with a Start-menu entry, an
# uninstaller Windows lists under installed apps, and the program's identity in its properties.
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Tempulo)
set(CPACK_PACKAGE_VENDOR "Tempulo contributors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${TEMPULO_SUMMARY}")
set(CPACK_PACKAGE_FILE_NAME "tempulo-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tempulo)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tempulo)
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES OFF)  # the program is linked stripped

set(CPACK_NSIS_PACKAGE_NAME "${TEMPULO_TITLE}")
set(CPACK_NSIS_DISPLAY_NAME "${TEMPULO_TITLE}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_PACKAGE_EXECUTABLES tempulo "${TEMPULO_TITLE}")
set(CPACK_NSIS_INSTALLED_ICON_NAME tempulo.exe)
set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/resources/icons/tempulo.ico")
set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/resources/icons/tempulo.ico")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
if(PROJECT_HOMEPAGE_URL)
  set(CPACK_NSIS_URL_INFO_ABOUT "${PROJECT_HOMEPAGE_URL}")
endif()
# A 64-bit installer for the 64-bit program, and its own version resource.
set(CPACK_NSIS_DEFINES "
  Target amd64-unicode
  VIProductVersion \"${PROJECT_VERSION}.0\"
  VIFileVersion \"${PROJECT_VERSION}.0\"
  VIAddVersionKey \"ProductName\" \"${TEMPULO_TITLE}\"
  VIAddVersionKey \"ProductVersion\" \"${PROJECT_VERSION}\"
  VIAddVersionKey \"FileVersion\" \"${PROJECT_VERSION}\"
  VIAddVersionKey \"FileDescription\" \"${TEMPULO_TITLE} setup\"
  VIAddVersionKey \"CompanyName\" \"${CPACK_PACKAGE_VENDOR}\"
  VIAddVersionKey \"LegalCopyright\" \"${TEMPULO_COPYRIGHT}\"")

# The installer's file name differs from the zip's.
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_BINARY_DIR}/TempuloCPackOptions.cmake")
file(WRITE "${CPACK_PROJECT_CONFIG_FILE}" "
if(CPACK_GENERATOR STREQUAL \"NSIS\")
  set(CPACK_PACKAGE_FILE_NAME \"${CPACK_PACKAGE_FILE_NAME}-setup\")
endif()
")
# Values written into the CPack configuration as they stand, quotes and all.
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
