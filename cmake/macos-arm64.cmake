# The macOS build for Apple silicon (NAME.mexmaca64), cross-compiled with Zig
# and ld64.lld: see zig-macos.cmake.
set(GRIDMEX_MACOS_ARCH arm64)
include(${CMAKE_CURRENT_LIST_DIR}/zig-macos.cmake)
