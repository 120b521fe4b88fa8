/* Every construct that differs between compilers, in one place: GCC and
 * clang on one side, Microsoft's compiler (which MATLAB's mex offers on
 * Windows) on the other.  The rest of the code uses only these names.  The
 * macros serve C too: the own host's mex.h and the interface-version source
 * include this header. */
#ifndef GRIDMEX_COMPILER_H
#define GRIDMEX_COMPILER_H

#if defined(_MSC_VER) && !defined(__clang__)
#define GRIDMEX_MSVC 1
#endif

#ifdef GRIDMEX_MSVC

/* Symbols are exported by the module-definition file. */
#define GRIDMEX_VISIBLE
#define GRIDMEX_NORETURN __declspec(noreturn)
/* Microsoft's compiler checks no format strings of user functions. */
#define GRIDMEX_PRINTF(f, a)
#define GRIDMEX_UNREACHABLE() __assume(0)
#if defined(_M_X64)
/* Microsoft's compiler takes AVX2 intrinsics in any function. */
#define GRIDMEX_AVX2 1
#define GRIDMEX_AVX2_TARGET
#endif

#else

#define GRIDMEX_VISIBLE __attribute__((visibility("default")))
#define GRIDMEX_NORETURN __attribute__((noreturn))
/* __printf__ rather than printf, which MATLAB's mex.h defines as a macro.
 * MinGW-w64's C++ runtime formats with its own, C99-conforming printf. */
#if defined(__MINGW32__)
#define GRIDMEX_PRINTF(f, a) __attribute__((format(gnu_printf, f, a)))
#else
#define GRIDMEX_PRINTF(f, a) __attribute__((format(__printf__, f, a)))
#endif
#define GRIDMEX_UNREACHABLE() __builtin_unreachable()
#if defined(__x86_64__)
/* The build targets plain x86-64; the four-lane kernels are compiled for
 * AVX2 function by function and chosen at run time. */
#define GRIDMEX_AVX2 1
#define GRIDMEX_AVX2_TARGET __attribute__((target("avx2")))
#endif

#endif

#ifdef __cplusplus

#include <cstdint>
#include <limits>

#ifdef GRIDMEX_MSVC
#include <intrin.h>
#include <immintrin.h>
#elif defined(__x86_64__)
#include <cpuid.h>
#endif

namespace compiler {

// Whether the processor runs AVX2 instructions and the system saves the
// AVX registers across thread switches.
inline bool cpuHasAvx2() {
#if defined(GRIDMEX_MSVC) && defined(_M_X64)
    int info[4];
    __cpuid(info, 0);
    if (info[0] < 7) return false;
    __cpuid(info, 1);
    const bool osSaves = (info[2] & (1 << 27)) != 0, avx = (info[2] & (1 << 28)) != 0;
    if (!osSaves || !avx || (_xgetbv(0) & 6) != 6) return false;
    __cpuidex(info, 7, 0);
    return (info[1] & (1 << 5)) != 0;
#elif defined(__x86_64__) && !defined(GRIDMEX_MSVC)
    // The same questions through cpuid.h and xgetbv rather than
    // __builtin_cpu_supports, whose processor model lives in the compiler's
    // runtime library (libgcc, compiler-rt); the macOS plug-ins are linked
    // without compiler-rt.
    unsigned eax, ebx, ecx, edx;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    const bool osSaves = (ecx & (1u << 27)) != 0, avx = (ecx & (1u << 28)) != 0;
    if (!osSaves || !avx) return false;
    unsigned xcr0, xcr0High;
    __asm__("xgetbv" : "=a"(xcr0), "=d"(xcr0High) : "c"(0));
    if ((xcr0 & 6) != 6) return false;
    if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
    return (ebx & (1u << 5)) != 0;
#else
    return false;
#endif
}

// a * b into *product; true, with *product unspecified, when the product
// does not fit.  Written with divisions only, for compilers without an
// overflow-checked multiply.
inline bool mulOverflowsPortable(std::int64_t a, std::int64_t b, std::int64_t *product) {
    constexpr std::int64_t hi = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t lo = std::numeric_limits<std::int64_t>::min();
    bool overflows;
    if (a == 0 || b == 0) {
        overflows = false;
    } else if (a > 0) {
        overflows = b > 0 ? a > hi / b : b < lo / a;
    } else {
        overflows = b > 0 ? a < lo / b : a < hi / b;
    }
    if (!overflows) *product = a * b;
    return overflows;
}

// a * b into *product; true when the product does not fit in 64 bits.
inline bool mulOverflows(std::int64_t a, std::int64_t b, std::int64_t *product) {
#ifdef GRIDMEX_MSVC
    return mulOverflowsPortable(a, b, product);
#else
    return __builtin_mul_overflow(a, b, product);
#endif
}

// The index of the lowest set bit of a non-zero v.
inline int lowestSetBit(unsigned v) {
#ifdef GRIDMEX_MSVC
    unsigned long at;
    _BitScanForward(&at, v);
    return static_cast<int>(at);
#else
    return __builtin_ctz(v);
#endif
}

}  // namespace compiler

#endif

#endif
