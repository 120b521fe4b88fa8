# Linux ARM64 (aarch64) for glibc 2.28 and later, built by the pinned Zig
# (zig-linux.cmake): the ARM64 Python wheel (preset wheel-aarch64,
# scripts/wheels).
set(CMAKE_SYSTEM_PROCESSOR aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/zig-linux.cmake)
