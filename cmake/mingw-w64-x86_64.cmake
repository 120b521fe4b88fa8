# Cross-compiles the Windows (x86-64) build with MinGW-w64, the GCC that
# MATLAB supports as a MEX compiler on Windows (Debian's
# g++-mingw-w64-x86-64-posix).  Test programs run under Wine:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(GRIDMEX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GRIDMEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GRIDMEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GRIDMEX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GRIDMEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest starts every test program through Wine, in a prefix of this build
# folder's own.
find_program(GRIDMEX_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(GRIDMEX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR sh ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${GRIDMEX_WINE}
      ${CMAKE_BINARY_DIR}/wine-prefix ${CMAKE_BINARY_DIR}/own)
endif()
