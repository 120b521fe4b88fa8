# Linux builds for every distribution of glibc 2.28 or later, on the
# processor CMAKE_SYSTEM_PROCESSOR that the including toolchain file sets:
# compiled by the pinned Zig 0.11 (`zig c++`) against glibc 2.28's symbol
# versions, with Zig's libc++ linked in statically, so that a file needs no
# libstdc++ or libgcc_s, whatever older one the process has loaded.  The
# release's .mexa64 files (zig-linux-x86_64.cmake) and the Python wheels
# (scripts/wheels, both processors) are built so.
set(CMAKE_SYSTEM_NAME Linux)
set(GRIDMEX_LINUX_TRIPLE ${CMAKE_SYSTEM_PROCESSOR}-linux-gnu.2.28)

find_program(GRIDMEX_ZIG zig REQUIRED)
find_program(CMAKE_AR llvm-ar REQUIRED)
find_program(CMAKE_RANLIB llvm-ranlib REQUIRED)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES GRIDMEX_ZIG)

# An explicit target makes Zig compile for the processor's baseline, not the
# build machine's: the kernels choose their wider vector paths at run time.
set(CMAKE_C_COMPILER ${GRIDMEX_ZIG} cc -target ${GRIDMEX_LINUX_TRIPLE})
set(CMAKE_CXX_COMPILER ${GRIDMEX_ZIG} c++ -target ${GRIDMEX_LINUX_TRIPLE})
# `zig c++` turns -O3 into its release mode and hands clang -O2; the clang
# front end gets -O3 as every other build compiles.
set(CMAKE_C_FLAGS_RELEASE_INIT "-Xclang -O3")
set(CMAKE_CXX_FLAGS_RELEASE_INIT "-Xclang -O3")
# Without the debug information of Zig's libc++ a file shrinks about tenfold.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-s")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-s")
