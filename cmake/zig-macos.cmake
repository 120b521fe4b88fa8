# Cross-compiles the macOS build on Linux: Zig 0.11's clang (`zig c++`, with
# the macOS headers and the libc++ sources that Zig bundles) compiles, and
# LLVM's ld64.lld links (Zig's own linker makes no bundles and takes no
# exported-symbols list).  Included by macos-arm64.cmake and
# macos-x86_64.cmake, which set GRIDMEX_MACOS_ARCH; the link rules are in
# zig-macos-rules.cmake.  scripts/build-macos installs the pinned Zig and
# passes it as GRIDMEX_ZIG:
#   cmake --preset macos-arm64 -DGRIDMEX_ZIG=build-zig/zig/zig
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR ${GRIDMEX_MACOS_ARCH})
# Darwin 20 is macOS 11, the oldest system the files are made for.
set(CMAKE_SYSTEM_VERSION 20.1)
set(GRIDMEX_MACOS_MIN 11.0)

if(GRIDMEX_MACOS_ARCH STREQUAL "arm64")
  set(GRIDMEX_MACOS_TRIPLE aarch64-macos.${GRIDMEX_MACOS_MIN})
elseif(GRIDMEX_MACOS_ARCH STREQUAL "x86_64")
  set(GRIDMEX_MACOS_TRIPLE x86_64-macos.${GRIDMEX_MACOS_MIN})
else()
  message(FATAL_ERROR "GRIDMEX_MACOS_ARCH is '${GRIDMEX_MACOS_ARCH}', not arm64 or x86_64")
endif()

find_program(GRIDMEX_ZIG zig REQUIRED)
find_program(CMAKE_LINKER NAMES ld64.lld ld64.lld-14 REQUIRED)
find_program(CMAKE_AR llvm-ar REQUIRED)
find_program(CMAKE_RANLIB llvm-ranlib REQUIRED)
# CMake's checks build static libraries only: nothing but the link rules of
# zig-macos-rules.cmake links for macOS.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES GRIDMEX_ZIG CMAKE_LINKER)

# The minimum system is part of Zig's target (`zig c++` takes no
# -mmacosx-version-min).
set(CMAKE_C_COMPILER ${GRIDMEX_ZIG} cc -target ${GRIDMEX_MACOS_TRIPLE})
set(CMAKE_CXX_COMPILER ${GRIDMEX_ZIG} c++ -target ${GRIDMEX_MACOS_TRIPLE})
# `zig c++` turns -O3 into its release mode and hands clang -O2; the clang
# front end gets -O3 as every other build compiles.
set(CMAKE_C_FLAGS_RELEASE_INIT "-Xclang -O3")
set(CMAKE_CXX_FLAGS_RELEASE_INIT "-Xclang -O3")
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/zig-macos-rules.cmake)

# The plug-ins start their threads through the C++ standard library, as on
# every system: libc++ (linked in) calls pthread_create of libSystem, which
# scripts/build-macos checks in every bundle that splits calls.
# Files are made with the search path they are installed with (the
# plug-ins find the host libraries beside them): nothing on this machine
# could rewrite a Mach-O file's search path at install.
set(CMAKE_BUILD_WITH_INSTALL_RPATH ON)
