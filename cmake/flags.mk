# The compiler flags that decide results, for every way of building the
# plug-ins: the CMake build (cmake/Flags.cmake), build_plugins.m and the
# Octave package's Makefile all read this file.  Plain "NAME := value"
# lines, so that make can include it as it stands.

# Language level of every source.
GRIDMEX_CXX_STANDARD := 17

# GCC and clang.  No contraction into fused multiply-adds: the documented
# operation order fixes the last bit of every result.  Square roots of the
# kernels take sums of squares, which never set errno, and nothing reads the
# floating-point exception flags: without these two promises the compiler
# may not evaluate both sides of a selection, and loops stay scalar.
# Neither option changes a result.
GRIDMEX_GNU_FLAGS := -ffp-contract=off -fno-math-errno -fno-trapping-math

# Microsoft's compiler: strict floating-point semantics, which also keep
# multiplies and adds apart.
GRIDMEX_MSVC_FLAGS := /fp:strict
