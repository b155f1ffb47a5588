# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the -posix
# compilers of g++-mingw-w64-x86-64). The programs are linked statically,
# libgcc and libstdc++ included, so they run without any DLL beside them;
# with BUILD_SHARED_LIBS, Orvask's DLLs are linked the same way, and need
# nothing but each other.
# Where Wine is installed, tests and test discovery run through it.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)

# Libraries, headers and packages come from the target's tree only.
set(CMAKE_FIND_ROOT_PATH /usr/${_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Runs a Windows program under Wine: quiet, in one prefix made once and kept
# warm (see wine-run).
find_program(ORVASK_WINE wine)
if(ORVASK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
endif()
