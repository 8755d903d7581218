# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix); CTest
# runs the Windows executables under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRUNAVIA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRUNAVIA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRUNAVIA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${BRUNAVIA_MINGW}-windres)

# Libraries and headers come from the target's sysroot only; programs (wine, python3) from the
# host.
set(CMAKE_FIND_ROOT_PATH /usr/${BRUNAVIA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(BRUNAVIA_WINE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${BRUNAVIA_WINE})
