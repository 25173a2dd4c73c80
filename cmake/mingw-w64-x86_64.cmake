# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (packages g++-mingw-w64-x86-64-posix
# and binutils-mingw-w64-x86-64). The -posix compilers carry std::thread and std::mutex, which
# Qt needs. Used for the Qt that scripts/windows builds and for the program itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TEMPULO_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TEMPULO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TEMPULO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TEMPULO_MINGW}-windres)
set(CMAKE_AR ${TEMPULO_MINGW}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${TEMPULO_MINGW}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries, headers and packages come from MinGW's tree and from the roots the build adds (the
# Qt for Windows, through CMAKE_FIND_ROOT_PATH in the `windows` preset); programs from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TEMPULO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and tools built for Windows run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
