# The macOS build for Intel processors (NAME.mexmaci64), cross-compiled with
# Zig and ld64.lld: see zig-macos.cmake.
set(GRIDMEX_MACOS_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/zig-macos.cmake)
