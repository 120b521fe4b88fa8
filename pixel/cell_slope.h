// Image gradient at a list of points, taken at the pixel of each point's
// cell: (l, h) = (floor(x), floor(y)), so the gradient is constant over each
// cell [l, l+1) x [h, h+1).  Central differences inside the image, one-sided
// differences on its first and last row and column.  An optional pixel mask
// switches to one-sided differences, or to 0, where neighbours lie outside
// it.  Pixel (i, j), 1-based, of the M x N column-major image (of any element
// type) is stored at offset (i-1) + M(j-1).
#ifndef GRIDMEX_PIXEL_CELL_SLOPE_H
#define GRIDMEX_PIXEL_CELL_SLOPE_H

#include "common/grid.h"
#include "common/parallel.h"

#include "common/avx2.h"

#include <type_traits>

namespace pixel {

using grid::Index;

// Mask rule of the plain gradient: every pixel counts as inside.
struct NoMask {
    bool operator()(Index) const { return true; }
};

// Mask rule read from M x N mask elements of type T: non-zero is inside
// (for floating-point masks, -0 is outside and NaN inside).
template <typename T>
struct PixelMask {
    const T *mask;
    bool operator()(Index o) const { return mask[o] != T(0); }
};

// Derivative along one axis at the pixel of offset o, which is at position
// p (1-based) of n along that axis; `step` is the offset between neighbours.
// The border pixels take one-sided differences without reading the mask.
// Inside, a pixel outside the mask gives 0; a missing next neighbour gives
// the backward difference (also when both neighbours are missing), a
// missing previous one the forward difference.  An axis of a single pixel
// has no neighbour to compare with: its derivative is 0.
template <typename T, typename Inside>
inline double axisSlope(const T *I, Index o, Index p, Index n, Index step, Inside inside) {
    using grid::toDouble;
    if (n < 2) return 0.0;
    if (p == 1) return toDouble(I[o + step]) - toDouble(I[o]);
    if (p == n) return toDouble(I[o]) - toDouble(I[o - step]);
    if (!inside(o)) return 0.0;
    if (!inside(o + step)) return toDouble(I[o]) - toDouble(I[o - step]);
    if (!inside(o - step)) return toDouble(I[o + step]) - toDouble(I[o]);
    return 0.5 * (toDouble(I[o + step]) - toDouble(I[o - step]));
}

// gx[k], gy[k] for the points k in [begin, end).  A point whose pixel lies
// outside the image in either axis gets 0 in both outputs.
template <typename T, typename Inside>
void cellSlopeRange(const double *X, const double *Y, Index begin, Index end, const T *I, Index M, Index N,
                    Inside inside, double *gx, double *gy) {
    for (Index k = begin; k < end; ++k) {
        const Index l = grid::floorCell(X[k]);
        const Index h = grid::floorCell(Y[k]);
        if (l < 1 || l > M || h < 1 || h > N) {
            gx[k] = 0.0;
            gy[k] = 0.0;
            continue;
        }
        const Index o = (l - 1) + M * (h - 1);
        gx[k] = axisSlope(I, o, l, M, 1, inside);
        gy[k] = axisSlope(I, o, h, N, M, inside);
    }
}

#ifdef GRIDMEX_AVX2
// The same kernel four points at a time with AVX2.
namespace avx2 {

// All ones in the lanes whose pixel, at offsets o, lies inside the mask:
// an element is non-zero exactly when its double is (-0 is outside and NaN
// inside, as in the scalar rule).
template <typename T>
GRIDMEX_AVX2_TARGET inline __m256d insideLanes(PixelMask<T> m, __m256i o) {
    return _mm256_cmp_pd(grid::gatherLanes(m.mask, o), _mm256_setzero_pd(), _CMP_NEQ_UQ);
}

GRIDMEX_AVX2_TARGET inline __m256d selectOffsets(__m256i a, __m256i b, __m256d useB) {
    return _mm256_blendv_pd(_mm256_castsi256_pd(a), _mm256_castsi256_pd(b), useB);
}

// axisSlope for four pixels at offsets o and positions p (1-based, as
// doubles) along an axis of n pixels `step` apart; lanes outside `use` give
// 0.  Every lane reads a pixel of its own cell or a neighbour the scalar
// kernel would read, so lanes that give 0 need a valid offset only.
template <typename T, typename Inside>
GRIDMEX_AVX2_TARGET inline __m256d axisSlopes(const T *I, __m256i o, __m256d p, Index n, Index step, __m256d use,
                                              Inside inside) {
    if (n < 2) return _mm256_setzero_pd();
    const __m256d first = _mm256_cmp_pd(p, _mm256_set1_pd(1.0), _CMP_EQ_OQ);
    __m256d forward = first;
    __m256d backward = _mm256_andnot_pd(first, _mm256_cmp_pd(p, _mm256_set1_pd(static_cast<double>(n)), _CMP_EQ_OQ));
    __m256d central = _mm256_andnot_pd(_mm256_or_pd(forward, backward), use);
    const __m256d half = _mm256_set1_pd(0.5);
    // The neighbours on the axis, the pixel itself standing in for a
    // neighbour beyond the border.
    const __m256i up = _mm256_castpd_si256(selectOffsets(_mm256_add_epi64(o, _mm256_set1_epi64x(step)), o, backward));
    const __m256i down = _mm256_castpd_si256(selectOffsets(_mm256_sub_epi64(o, _mm256_set1_epi64x(step)), o, forward));
    if constexpr (std::is_same_v<Inside, NoMask>) {
        const __m256d d = grid::differenceLanes(I, up, down);
        return _mm256_and_pd(use, _mm256_blendv_pd(d, _mm256_mul_pd(half, d), central));
    } else {
        // The image is read before the mask decides, so that reads of both
        // overlap.  The mask is tested at the inner pixels in the scalar
        // kernel's order: the pixel itself, its next, its previous neighbour.
        const __m256d next = grid::gatherLanes(I, up), self = grid::gatherLanes(I, o),
                      prev = grid::gatherLanes(I, down);
        const __m256d in = insideLanes(inside, o), inNext = insideLanes(inside, up), inPrev = insideLanes(inside, down);
        const __m256d zero = _mm256_andnot_pd(in, central);
        central = _mm256_and_pd(central, in);
        backward = _mm256_or_pd(backward, _mm256_andnot_pd(inNext, central));
        central = _mm256_and_pd(central, inNext);
        forward = _mm256_or_pd(forward, _mm256_andnot_pd(inPrev, central));
        central = _mm256_and_pd(central, inPrev);
        __m256d slope = _mm256_mul_pd(half, _mm256_sub_pd(next, prev));
        slope = _mm256_blendv_pd(slope, _mm256_sub_pd(self, prev), backward);
        slope = _mm256_blendv_pd(slope, _mm256_sub_pd(next, self), forward);
        return _mm256_andnot_pd(zero, _mm256_and_pd(use, slope));
    }
}

// gx[k], gy[k] for k in [begin, end), four points per step; the last few
// points go through the scalar kernel.  Needs M, N >= 1 and M N < 2^52.
// Points outside the image take the first pixel as a safe place to read.
template <typename T, typename Inside>
GRIDMEX_AVX2_TARGET void cellSlopeRange(const double *X, const double *Y, Index begin, Index end, const T *I, Index M,
                                        Index N, Inside inside, double *gx, double *gy) {
    Index k = begin;
    for (; k + 4 <= end; k += 4) {
        __m256d x[2], cell[2];
        const __m256d use = grid::floorCells<2>({X, Y}, k, 1.0, {M, N}, x, cell);
        const __m256i o = grid::safeOffsets<2>(cell, use, 1.0, 1.0, {M});
        _mm256_storeu_pd(gx + k, axisSlopes(I, o, cell[0], M, 1, use, inside));
        _mm256_storeu_pd(gy + k, axisSlopes(I, o, cell[1], N, M, use, inside));
    }
    pixel::cellSlopeRange(X, Y, k, end, I, M, N, inside, gx, gy);
}

}  // namespace avx2
#endif

// Whether the four-point kernel serves an image of M x N pixels here.
inline bool cellSlopeVectorKernel(Index M, Index N) { return grid::vectorServes(M >= 1 && N >= 1, M * N); }

// gx[k], gy[k] for all count points (X[k], Y[k]), over threads.
template <typename T, typename Inside>
void cellSlope(const double *X, const double *Y, Index count, const T *I, Index M, Index N, Inside inside, double *gx,
               double *gy) {
    const auto range = GRIDMEX_LANES(cellSlopeVectorKernel(M, N), cellSlopeRange<T, Inside>);
    grid::parallelBlocks(count, 1, [&](Index begin, Index end) { range(X, Y, begin, end, I, M, N, inside, gx, gy); });
}

}  // namespace pixel

#endif
