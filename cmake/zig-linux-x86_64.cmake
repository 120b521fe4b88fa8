# The Linux x86-64 plug-ins of the release, for every distribution MATLAB
# supports: compiled by the pinned Zig 0.11 (`zig c++`) against glibc 2.28's
# symbol versions, with Zig's libc++ linked in statically (the plug-ins'
# version script keeps its symbols local), so that a file needs no
# libstdc++ or libgcc_s, whatever older one MATLAB has loaded, and runs on
# glibc 2.28 and later.  scripts/zig installs the compiler and passes it:
#   cmake --preset linux-x86_64 -DGRIDMEX_ZIG=build-zig/zig/zig
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(GRIDMEX_LINUX_TRIPLE x86_64-linux-gnu.2.28)
# MATLAB finds libmx.so and libmex.so itself: the files carry no search path.
set(CMAKE_SKIP_RPATH ON CACHE BOOL "The release files carry no search path" FORCE)

find_program(GRIDMEX_ZIG zig REQUIRED)
find_program(CMAKE_AR llvm-ar REQUIRED)
find_program(CMAKE_RANLIB llvm-ranlib REQUIRED)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES GRIDMEX_ZIG)

# An explicit target makes Zig compile for the baseline x86-64 processor,
# not the build machine's: the kernels choose their AVX2 paths at run time.
set(CMAKE_C_COMPILER ${GRIDMEX_ZIG} cc -target ${GRIDMEX_LINUX_TRIPLE})
set(CMAKE_CXX_COMPILER ${GRIDMEX_ZIG} c++ -target ${GRIDMEX_LINUX_TRIPLE})
# `zig c++` turns -O3 into its release mode and hands clang -O2; the clang
# front end gets -O3 as every other build compiles.
set(CMAKE_C_FLAGS_RELEASE_INIT "-Xclang -O3")
set(CMAKE_CXX_FLAGS_RELEASE_INIT "-Xclang -O3")
# Without the debug information of Zig's libc++ a file shrinks about tenfold.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-s")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-s")
