# What both MinGW-w64 cross toolchains share (posix thread model); TAV_MINGW names the target.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TAV_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAV_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TAV_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TAV_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Test programs run through Wine; the wrapper sets the prefix, the display and the loader.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/wine-run)
# Workstations load the program and the engine library from the share at every start: the
# release binaries carry no symbols, half the bytes to fetch.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-s")
