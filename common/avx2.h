// What the four-lane AVX2 kernels share.  The build targets plain x86-64;
// a kernel takes its AVX2 path only when the processor has it (asked once at
// run time), and every lane repeats the scalar kernel's operations in the
// same order, without fused multiply-adds, so results stay bit-identical.
#ifndef GRIDMEX_AVX2_H
#define GRIDMEX_AVX2_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "common/compiler.h"
#include "common/grid.h"

#ifdef GRIDMEX_AVX2
#include <immintrin.h>

namespace grid {

inline bool haveAvx2() {
    static const bool have = compiler::cpuHasAvx2();
    return have;
}

// Exact conversion of non-negative integral doubles below 2^52 to 64-bit
// integers (AVX2 has no such instruction): adding 2^52 puts the integer in
// the low mantissa bits.
GRIDMEX_AVX2_TARGET inline __m256i exactIndex(__m256d v) {
    const __m256d magic = _mm256_set1_pd(4503599627370496.0);
    return _mm256_sub_epi64(_mm256_castpd_si256(_mm256_add_pd(v, magic)), _mm256_castpd_si256(magic));
}

// The reverse for integers below 2^52, such as unsigned 32-bit elements.
GRIDMEX_AVX2_TARGET inline __m256d exactDouble(__m256i v) {
    const __m256d magic = _mm256_set1_pd(4503599627370496.0);
    return _mm256_sub_pd(_mm256_castsi256_pd(_mm256_or_si256(v, _mm256_castpd_si256(magic))), magic);
}

// Floors of four coordinates, and the lanes whose floor f lies in
// [lo, hi] and in the 32-bit range of a cell index (false for NaN).
GRIDMEX_AVX2_TARGET inline __m256d cellsIn(__m256d f, double lo, double hi) {
    return _mm256_and_pd(_mm256_and_pd(_mm256_cmp_pd(f, _mm256_set1_pd(lo), _CMP_GE_OQ),
                                       _mm256_cmp_pd(f, _mm256_set1_pd(hi), _CMP_LE_OQ)),
                         _mm256_cmp_pd(f, _mm256_set1_pd(2147483647.0), _CMP_LE_OQ));
}

GRIDMEX_AVX2_TARGET inline __m256d floorLanes(__m256d x) {
    return _mm256_round_pd(x, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
}

// Element reads of the four-lane kernels.  Doubles are loaded as they are.
// Elements of 4 bytes or fewer (single, the 8-, 16- and 32-bit integers,
// logical as bytes) are loaded in their own width, each load reading exactly
// the elements asked for and no byte beyond, packed side by side in one
// 128-bit register and widened and converted to doubles four at a time, as
// grid::toDouble converts them.  64-bit integers are read and converted one
// lane at a time: AVX2 cannot convert them.
template <typename T>
constexpr bool kNarrow = !std::is_same_v<T, double> && sizeof(T) <= 4;

// The unsigned integer of Bytes bytes at p.
template <std::size_t Bytes>
inline auto word(const void *p) {
    using Word = std::conditional_t<
        Bytes == 8, std::uint64_t,
        std::conditional_t<Bytes == 4, std::uint32_t, std::conditional_t<Bytes == 2, std::uint16_t, std::uint8_t>>>;
    Word w;
    std::memcpy(&w, p, Bytes);
    return w;
}

// Bytes bytes at p (4, 8 or 16) in the low bytes of a register.
template <std::size_t Bytes>
GRIDMEX_AVX2_TARGET inline __m128i loadBytes(const void *p) {
    if constexpr (Bytes == 16) {
        return _mm_loadu_si128(static_cast<const __m128i *>(p));
    } else if constexpr (Bytes == 8) {
        return _mm_loadl_epi64(static_cast<const __m128i *>(p));
    } else {
        static_assert(Bytes == 4, "4, 8 or 16 bytes");
        return _mm_cvtsi32_si128(static_cast<int>(word<4>(p)));
    }
}

// The words of Bytes bytes (1, 2 or 4) at p[0..3], side by side from the
// lowest byte of a register.
template <std::size_t Bytes>
GRIDMEX_AVX2_TARGET inline __m128i packedWords(const void *const p[4]) {
    __m128i v = _mm_cvtsi32_si128(static_cast<int>(word<Bytes>(p[0])));
    if constexpr (Bytes == 4) {
        v = _mm_insert_epi32(v, static_cast<int>(word<4>(p[1])), 1);
        v = _mm_insert_epi32(v, static_cast<int>(word<4>(p[2])), 2);
        return _mm_insert_epi32(v, static_cast<int>(word<4>(p[3])), 3);
    } else if constexpr (Bytes == 2) {
        v = _mm_insert_epi16(v, word<2>(p[1]), 1);
        v = _mm_insert_epi16(v, word<2>(p[2]), 2);
        return _mm_insert_epi16(v, word<2>(p[3]), 3);
    } else {
        static_assert(Bytes == 1, "1, 2 or 4 bytes");
        v = _mm_insert_epi8(v, word<1>(p[1]), 1);
        v = _mm_insert_epi8(v, word<1>(p[2]), 2);
        return _mm_insert_epi8(v, word<1>(p[3]), 3);
    }
}

// The four 8- or 16-bit integers of type T packed from the lowest byte of
// v, as 32-bit integers.
template <typename T>
GRIDMEX_AVX2_TARGET inline __m128i int32Lanes(__m128i v) {
    static_assert(std::is_integral_v<T> && sizeof(T) <= 2, "8- or 16-bit integers");
    if constexpr (sizeof(T) == 2) {
        return std::is_signed_v<T> ? _mm_cvtepi16_epi32(v) : _mm_cvtepu16_epi32(v);
    } else {
        return std::is_signed_v<T> ? _mm_cvtepi8_epi32(v) : _mm_cvtepu8_epi32(v);
    }
}

// The four elements of type T packed from the lowest byte of v, as doubles.
template <typename T>
GRIDMEX_AVX2_TARGET inline __m256d widened(__m128i v) {
    static_assert(kNarrow<T>, "elements of 4 bytes or fewer");
    if constexpr (std::is_same_v<T, float>) {
        return _mm256_cvtps_pd(_mm_castsi128_ps(v));
    } else if constexpr (std::is_same_v<T, std::uint32_t>) {
        return exactDouble(_mm256_cvtepu32_epi64(v));
    } else if constexpr (sizeof(T) == 4) {
        return _mm256_cvtepi32_pd(v);
    } else {
        return _mm256_cvtepi32_pd(int32Lanes<T>(v));
    }
}

// The four elements p[0..3] as doubles; reads those four elements only.
template <typename T>
GRIDMEX_AVX2_TARGET inline __m256d loadLanes(const T *p) {
    if constexpr (std::is_same_v<T, double>) {
        return _mm256_loadu_pd(p);
    } else if constexpr (kNarrow<T>) {
        return widened<T>(loadBytes<4 * sizeof(T)>(p));
    } else {
        return _mm256_setr_pd(toDouble(p[0]), toDouble(p[1]), toDouble(p[2]), toDouble(p[3]));
    }
}

// The four elements base[o] as doubles.  Doubles come as four loads: on AMD
// processors a gather of four doubles costs more than the loads it stands
// for (the trilinear kernel ran 1.7x faster on coherent points this way),
// and so do gathers of narrower elements.
template <typename T>
GRIDMEX_AVX2_TARGET inline __m256d gatherLanes(const T *base, __m256i o) {
    alignas(32) std::int64_t at[4];
    _mm256_store_si256(reinterpret_cast<__m256i *>(at), o);
    if constexpr (std::is_same_v<T, double>) {
        return _mm256_setr_pd(base[at[0]], base[at[1]], base[at[2]], base[at[3]]);
    } else if constexpr (kNarrow<T>) {
        const void *const p[4] = {base + at[0], base + at[1], base + at[2], base + at[3]};
        return widened<T>(packedWords<sizeof(T)>(p));
    } else {
        return _mm256_setr_pd(toDouble(base[at[0]]), toDouble(base[at[1]]), toDouble(base[at[2]]),
                              toDouble(base[at[3]]));
    }
}

// The four differences base[a] - base[b] of two elements, as their doubles
// give them.  8- and 16-bit integers are subtracted as 32-bit integers and
// converted once: the difference is exact either way.
template <typename T>
GRIDMEX_AVX2_TARGET inline __m256d differenceLanes(const T *base, __m256i a, __m256i b) {
    if constexpr (std::is_integral_v<T> && sizeof(T) <= 2) {
        alignas(32) std::int64_t at[4], bt[4];
        _mm256_store_si256(reinterpret_cast<__m256i *>(at), a);
        _mm256_store_si256(reinterpret_cast<__m256i *>(bt), b);
        const void *const pa[4] = {base + at[0], base + at[1], base + at[2], base + at[3]};
        const void *const pb[4] = {base + bt[0], base + bt[1], base + bt[2], base + bt[3]};
        return _mm256_cvtepi32_pd(
            _mm_sub_epi32(int32Lanes<T>(packedWords<sizeof(T)>(pa)), int32Lanes<T>(packedWords<sizeof(T)>(pb))));
    } else {
        return _mm256_sub_pd(gatherLanes(base, a), gatherLanes(base, b));
    }
}

// The elements base[o] and base[o + 1] of four lanes, as first and second:
// the two neighbours of a cell along the first axis, each pair read with one
// load.  Doubles: one 16-byte load per lane, then two inserts and two
// unpacks for the four lanes.  Narrower elements: the four pairs side by side
// in one register (two for 4-byte elements), the firsts and the seconds
// parted by one shuffle.
template <typename T>
GRIDMEX_AVX2_TARGET inline void rowPairs(const T *base, __m256i o, __m256d &first, __m256d &second) {
    alignas(32) std::int64_t at[4];
    _mm256_store_si256(reinterpret_cast<__m256i *>(at), o);
    if constexpr (std::is_same_v<T, double>) {
        const __m256d lanes02 = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(base + at[0])),
                                                     _mm_loadu_pd(base + at[2]), 1);
        const __m256d lanes13 = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(base + at[1])),
                                                     _mm_loadu_pd(base + at[3]), 1);
        first = _mm256_unpacklo_pd(lanes02, lanes13);
        second = _mm256_unpackhi_pd(lanes02, lanes13);
    } else if constexpr (kNarrow<T> && sizeof(T) == 4) {
        const __m128 lanes01 = _mm_castsi128_ps(
            _mm_insert_epi64(loadBytes<8>(base + at[0]), static_cast<long long>(word<8>(base + at[1])), 1));
        const __m128 lanes23 = _mm_castsi128_ps(
            _mm_insert_epi64(loadBytes<8>(base + at[2]), static_cast<long long>(word<8>(base + at[3])), 1));
        first = widened<T>(_mm_castps_si128(_mm_shuffle_ps(lanes01, lanes23, _MM_SHUFFLE(2, 0, 2, 0))));
        second = widened<T>(_mm_castps_si128(_mm_shuffle_ps(lanes01, lanes23, _MM_SHUFFLE(3, 1, 3, 1))));
    } else if constexpr (kNarrow<T>) {
        const void *const p[4] = {base + at[0], base + at[1], base + at[2], base + at[3]};
        // Bytes of the firsts, then of the seconds (-1 clears a byte).
        const __m128i parted = sizeof(T) == 1 ? _mm_setr_epi8(0, 2, 4, 6, 1, 3, 5, 7, -1, -1, -1, -1, -1, -1, -1, -1)
                                              : _mm_setr_epi8(0, 1, 4, 5, 8, 9, 12, 13, 2, 3, 6, 7, 10, 11, 14, 15);
        const __m128i v = _mm_shuffle_epi8(packedWords<2 * sizeof(T)>(p), parted);
        first = widened<T>(v);
        second = widened<T>(_mm_srli_si128(v, 4 * sizeof(T)));
    } else {
        first = gatherLanes(base, o);
        second = gatherLanes(base + 1, o);
    }
}

// out[q] lane a = in[a] lane q.
GRIDMEX_AVX2_TARGET inline void transpose(const __m256d in[4], __m256d out[4]) {
    const __m256d lo01 = _mm256_unpacklo_pd(in[0], in[1]), hi01 = _mm256_unpackhi_pd(in[0], in[1]);
    const __m256d lo23 = _mm256_unpacklo_pd(in[2], in[3]), hi23 = _mm256_unpackhi_pd(in[2], in[3]);
    out[0] = _mm256_permute2f128_pd(lo01, lo23, 0x20);
    out[1] = _mm256_permute2f128_pd(hi01, hi23, 0x20);
    out[2] = _mm256_permute2f128_pd(lo01, lo23, 0x31);
    out[3] = _mm256_permute2f128_pd(hi01, hi23, 0x31);
}

// The opening of a four-lane kernel, in two steps (D = 2 or 3 axes).  First:
// sets x[a] to the coordinates at[a][k..k+3] of four points along axis a and
// c[a] to their floors; returns the lanes whose every floor c[a] lies in
// [lo, hi[a]] (by cellsIn, so never a NaN lane).
template <int D>
GRIDMEX_AVX2_TARGET inline __m256d floorCells(const double *const (&at)[D], Index k, double lo, const Index (&hi)[D],
                                              __m256d x[D], __m256d c[D]) {
    static_assert(D == 2 || D == 3, "two or three dimensions");
    for (int a = 0; a < D; ++a) x[a] = _mm256_loadu_pd(at[a] + k);
    for (int a = 0; a < D; ++a) c[a] = floorLanes(x[a]);
    const __m256d inside = _mm256_and_pd(cellsIn(c[0], lo, static_cast<double>(hi[0])),
                                         cellsIn(c[1], lo, static_cast<double>(hi[1])));
    if constexpr (D == 3) return _mm256_and_pd(inside, cellsIn(c[2], lo, static_cast<double>(hi[2])));
    return inside;
}

// Then: moves the cells c[a] of the lanes outside `inside` to the cell `safe`
// on every axis, and returns their exact offsets, with (M, N) = extent:
// (c[0] - origin) + M (c[1] - origin) in 2-D,
// (c[0] - origin) + M ((c[1] - origin) + N (c[2] - origin)) in 3-D.
template <int D>
GRIDMEX_AVX2_TARGET inline __m256i safeOffsets(__m256d c[D], __m256d inside, double safe, double origin,
                                               const Index (&extent)[D - 1]) {
    static_assert(D == 2 || D == 3, "two or three dimensions");
    const __m256d o = _mm256_set1_pd(origin), M = _mm256_set1_pd(static_cast<double>(extent[0]));
    for (int a = 0; a < D; ++a) c[a] = _mm256_blendv_pd(_mm256_set1_pd(safe), c[a], inside);
    __m256d rest = _mm256_sub_pd(c[1], o);
    if constexpr (D == 3) {
        const __m256d N = _mm256_set1_pd(static_cast<double>(extent[1]));
        rest = _mm256_add_pd(rest, _mm256_mul_pd(N, _mm256_sub_pd(c[2], o)));
    }
    return exactIndex(_mm256_add_pd(_mm256_sub_pd(c[0], o), _mm256_mul_pd(M, rest)));
}

}  // namespace grid

// The range kernel for a block: avx2::kernel where `four` holds, the scalar
// kernel otherwise (both take the same arguments).
#define GRIDMEX_LANES(four, ...) ((four) ? &avx2::__VA_ARGS__ : &__VA_ARGS__)

#else

// Only the scalar kernel exists (the conditional gives the template-id the
// context it needs to name one function).
#define GRIDMEX_LANES(four, ...) ((four) ? &__VA_ARGS__ : &__VA_ARGS__)

#endif

namespace grid {

// Whether a four-lane kernel serves a grid of `samples` values: the
// processor has AVX2, the grid is large enough for the kernel's safe cell
// (`largeEnough`), and every offset is exact as a double.
inline bool vectorServes(bool largeEnough, std::int64_t samples) {
#ifdef GRIDMEX_AVX2
    return haveAvx2() && largeEnough && samples < (std::int64_t{1} << 52);
#else
    (void)largeEnough;
    (void)samples;
    return false;
#endif
}

}  // namespace grid

#endif
