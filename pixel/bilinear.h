// Bilinear sampling of an M x N column-major image of any element type at a
// list of points, with one of three border rules.  Pixel (i, j), 1-based,
// sits at (i, j) and is stored at offset (i-1) + M(j-1).
#ifndef GRIDMEX_BILINEAR_H
#define GRIDMEX_BILINEAR_H

#include "common/grid.h"
#include "common/parallel.h"

#include "common/avx2.h"

#include <limits>

namespace pixel {

using grid::Index;

enum class Border {
    Sentinel,  // cells 2..M-1 only; any other point gets -13
    Clamp,     // points beyond a border take a fixed value of the edge cells
    Hold       // cells 1..M-1; beyond the border the edge cell is extrapolated
};

constexpr double kSentinel = -13.0;

// Cell l and local coordinate u along one axis of extent M.  Returns false
// when the point lies outside the range of the Sentinel rule.
template <Border B>
inline bool axisCell(double x, Index M, Index &l, double &u) {
    std::int32_t cell = grid::floorCell(x);
    if constexpr (B == Border::Sentinel) {
        if (cell <= 1 || cell >= M) return false;
        l = cell;
        u = 2.0 * (x - static_cast<double>(l) - 0.5);
        return true;
    } else {
        // A coordinate beyond the 32-bit range belongs to the border on its
        // own side (NaN is handled by the caller).
        if (cell == grid::kNoCell && x > 0) cell = std::numeric_limits<std::int32_t>::max();
        l = cell;
        if constexpr (B == Border::Clamp) {
            bool fixed = false;
            if (l <= 1) {
                l = 2;
                u = 0.0;
                fixed = true;
            }
            if (l >= M) {
                l = M - 2;
                u = 1.0;
                fixed = true;
            }
            if (!fixed) u = 2.0 * (x - static_cast<double>(l) - 0.5);
        } else {
            if (l <= 0) l = 1;
            if (l >= M) l = M - 2;
            u = 2.0 * (x - static_cast<double>(l) - 0.5);
        }
        return true;
    }
}

// out[k] for the points k in [begin, end).  Clamp and Hold need M, N >= 3
// and give NaN at a NaN coordinate.
template <Border B, typename T>
void bilinSampleRange(const double *X, const double *Y, Index begin, Index end, const T *I, Index M, Index N,
                      double *out) {
    for (Index k = begin; k < end; ++k) {
        double x = X[k];
        double y = Y[k];
        if constexpr (B != Border::Sentinel) {
            if (x != x || y != y) {
                out[k] = std::numeric_limits<double>::quiet_NaN();
                continue;
            }
        }
        Index l, h;
        double u, v;
        if (!axisCell<B>(x, M, l, u) || !axisCell<B>(y, N, h, v)) {
            out[k] = kSentinel;
            continue;
        }
        Index o = (l - 1) + M * (h - 1);
        out[k] = 0.25 *
                 ((1 - u) * (1 - v) * grid::toDouble(I[o]) + (1 + u) * (1 - v) * grid::toDouble(I[o + 1]) +
                  (1 - u) * (1 + v) * grid::toDouble(I[o + M]) + (1 + u) * (1 + v) * grid::toDouble(I[o + M + 1]));
    }
}

#ifdef GRIDMEX_AVX2
// The same kernel four points at a time with AVX2.
namespace avx2 {

// Cell (as a double) and local coordinate of four coordinates along an axis
// of extent M, by the border rule; `inside` is all ones where the Sentinel
// rule admits the lane.  Lanes that read nothing (outside, NaN) get the safe
// cell 2, which every image of at least 3 x 3 pixels holds.
template <Border B>
GRIDMEX_AVX2_TARGET inline void axisCells(__m256d x, __m256d M, __m256d &l, __m256d &u, __m256d &inside) {
    const __m256d one = _mm256_set1_pd(1.0), two = _mm256_set1_pd(2.0), half = _mm256_set1_pd(0.5);
    __m256d f = grid::floorLanes(x);
    if constexpr (B == Border::Sentinel) {
        inside = grid::cellsIn(f, 2.0, _mm256_cvtsd_f64(M) - 1.0);
        l = _mm256_blendv_pd(two, f, inside);
        u = _mm256_mul_pd(two, _mm256_sub_pd(_mm256_sub_pd(x, l), half));
    } else {
        // The 32-bit cell index saturates on the side of the coordinate.
        f = _mm256_min_pd(_mm256_max_pd(f, _mm256_set1_pd(-2147483648.0)), _mm256_set1_pd(2147483647.0));
        const __m256d nan = _mm256_cmp_pd(x, x, _CMP_UNORD_Q);
        f = _mm256_blendv_pd(f, two, nan);
        inside = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
        if constexpr (B == Border::Clamp) {
            const __m256d low = _mm256_cmp_pd(f, one, _CMP_LE_OQ);
            l = _mm256_blendv_pd(f, two, low);
            const __m256d high = _mm256_cmp_pd(l, M, _CMP_GE_OQ);
            l = _mm256_blendv_pd(l, _mm256_sub_pd(M, two), high);
            u = _mm256_mul_pd(two, _mm256_sub_pd(_mm256_sub_pd(x, l), half));
            u = _mm256_blendv_pd(u, _mm256_setzero_pd(), low);
            u = _mm256_blendv_pd(u, one, high);
        } else {
            l = _mm256_blendv_pd(f, one, _mm256_cmp_pd(f, _mm256_setzero_pd(), _CMP_LE_OQ));
            l = _mm256_blendv_pd(l, _mm256_sub_pd(M, two), _mm256_cmp_pd(l, M, _CMP_GE_OQ));
            u = _mm256_mul_pd(two, _mm256_sub_pd(_mm256_sub_pd(x, l), half));
        }
    }
}

// out[k] for k in [begin, end), four points per step; the last few points
// go through the scalar kernel.  Needs M, N >= 3 and M N < 2^52.  Every lane
// performs the scalar kernel's operations in the same order, without fused
// multiply-adds, so the results are bit-identical.
template <Border B, typename T>
GRIDMEX_AVX2_TARGET void bilinSampleRange(const double *X, const double *Y, Index begin, Index end, const T *I, Index M,
                                          Index N, double *out) {
    const __m256d Md = _mm256_set1_pd(static_cast<double>(M)), Nd = _mm256_set1_pd(static_cast<double>(N));
    const __m256d one = _mm256_set1_pd(1.0), quarter = _mm256_set1_pd(0.25);
    Index k = begin;
    for (; k + 4 <= end; k += 4) {
        const __m256d x = _mm256_loadu_pd(X + k), y = _mm256_loadu_pd(Y + k);
        __m256d cell[2], u, inRows, v, inCols;
        axisCells<B>(x, Md, cell[0], u, inRows);
        axisCells<B>(y, Nd, cell[1], v, inCols);
        const __m256d inside = _mm256_and_pd(inRows, inCols);
        const __m256i o = grid::safeOffsets<2>(cell, inside, 2.0, 1.0, {M});
        __m256d i00, i10, i01, i11;
        grid::rowPairs(I, o, i00, i10);
        grid::rowPairs(I + M, o, i01, i11);
        const __m256d um = _mm256_sub_pd(one, u), up = _mm256_add_pd(one, u);
        const __m256d vm = _mm256_sub_pd(one, v), vp = _mm256_add_pd(one, v);
        __m256d s = _mm256_mul_pd(_mm256_mul_pd(um, vm), i00);
        s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_mul_pd(up, vm), i10));
        s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_mul_pd(um, vp), i01));
        s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_mul_pd(up, vp), i11));
        __m256d value = _mm256_mul_pd(quarter, s);
        if constexpr (B == Border::Sentinel) {
            value = _mm256_blendv_pd(_mm256_set1_pd(kSentinel), value, inside);
        } else {
            const __m256d nan = _mm256_or_pd(_mm256_cmp_pd(x, x, _CMP_UNORD_Q), _mm256_cmp_pd(y, y, _CMP_UNORD_Q));
            value = _mm256_blendv_pd(value, _mm256_set1_pd(std::numeric_limits<double>::quiet_NaN()), nan);
        }
        _mm256_storeu_pd(out + k, value);
    }
    pixel::bilinSampleRange<B, T>(X, Y, k, end, I, M, N, out);
}

}  // namespace avx2

#endif

// Whether the four-point kernel serves an image of M x N pixels here.
inline bool vectorKernel(Index M, Index N) { return grid::vectorServes(M >= 3 && N >= 3, M * N); }

// out[k] for all count points (X[k], Y[k]), over threads.
template <Border B, typename T>
void bilinSample(const double *X, const double *Y, Index count, const T *I, Index M, Index N, double *out) {
    const auto range = GRIDMEX_LANES(vectorKernel(M, N), bilinSampleRange<B, T>);
    grid::parallelBlocks(count, 1, [&](Index begin, Index end) { range(X, Y, begin, end, I, M, N, out); });
}

}  // namespace pixel

#endif
