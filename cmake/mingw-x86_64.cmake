# Cross toolchain: 64-bit Windows (the Windows tests where this computer cannot run 32-bit programs) with MinGW-w64, posix thread model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAV_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAV_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAV_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TAV_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TAV_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Test programs run through 64-bit Wine; the wrapper sets the prefix and display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/wine-run)
