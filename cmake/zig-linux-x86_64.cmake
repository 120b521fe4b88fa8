# Linux x86-64 for glibc 2.28 and later, built by the pinned Zig
# (zig-linux.cmake): the release's .mexa64 files (preset linux-x86_64, which
# keeps every search path out: MATLAB finds libmx.so and libmex.so itself)
# and the x86-64 Python wheel (preset wheel-x86_64).  scripts/zig installs
# the compiler and passes it:
#   cmake --preset linux-x86_64 -DGRIDMEX_ZIG=build-zig/zig/zig
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/zig-linux.cmake)
