# Cross-compiles the Linux ARM64 (aarch64) build with Debian's
# g++-aarch64-linux-gnu.  Test programs run under qemu-user:
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(GRIDMEX_ARM64_TRIPLE aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${GRIDMEX_ARM64_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${GRIDMEX_ARM64_TRIPLE}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${GRIDMEX_ARM64_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest starts every test program through qemu-user, which takes the
# target's loader and libraries (libc, libstdc++, libgomp) from the
# cross-compiler's tree; plug-ins and the host library are found by path
# and run path as on an ARM64 machine.  The loader is told to search that
# tree first: on a machine that also has Debian's arm64 libraries through
# multiarch (scripts/wheels aarch64 installs them), it would otherwise mix
# their libc with the cross tree's loader, and a program that starts a
# thread hangs.
find_program(GRIDMEX_QEMU qemu-${CMAKE_SYSTEM_PROCESSOR})
if(GRIDMEX_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${GRIDMEX_QEMU} -L ${CMAKE_FIND_ROOT_PATH} -E
                                    LD_LIBRARY_PATH=${CMAKE_FIND_ROOT_PATH}/lib)
  # What ldd does natively: the target's loader, run with --list, prints the
  # libraries a shared object binds (the install test reads it).
  set(GRIDMEX_LDD ${CMAKE_CROSSCOMPILING_EMULATOR} ${CMAKE_FIND_ROOT_PATH}/lib/ld-linux-aarch64.so.1 --list)
endif()
