// Local cubic spline sampling of an M x N column-major image of any element
// type: at each point, the tensor product over the 4 x 4 pixel neighbourhood
// (rows m-1..m+2, columns l-1..l+2, with (m, l) = (floor(x), floor(y))) of
// the natural cubic spline weights along each axis, evaluated in the expanded
// form with 15-digit constants.  Values, and the two partial derivatives.
#ifndef GRIDMEX_PIXEL_CUBIC_H
#define GRIDMEX_PIXEL_CUBIC_H

#include "common/avx2.h"
#include "pixel/bilinear.h"  // kSentinel, shared with bilinear sampling
#include "common/cubic_weights.h"
#include "common/grid.h"
#include "common/parallel.h"

namespace pixel {

using grid::Index;

// Weighted sum of the four rows of one neighbourhood column.
template <typename T>
inline double columnSum(const T *c, const double w[4]) {
    using grid::toDouble;
    return w[0] * toDouble(c[0]) + w[1] * toDouble(c[1]) + w[2] * toDouble(c[2]) + w[3] * toDouble(c[3]);
}

// out[k] for the points k in [begin, end).  A point is inside when
// 2 <= m <= M-3 and 2 <= l <= N-3 (the neighbourhood never reaches the last
// row or column); any other point, NaN included, gets -13.
template <typename T>
inline void cubicSampleRange(const double *X, const double *Y, Index begin, Index end, const T *I, Index M, Index N,
                             double *out) {
    for (Index k = begin; k < end; ++k) {
        const double x = X[k], y = Y[k];
        const Index m = grid::floorCell(x);
        const Index l = grid::floorCell(y);
        if (m < 2 || m > M - 3 || l < 2 || l > N - 3) {
            out[k] = kSentinel;
            continue;
        }
        double ws[4], wt[4];
        cubic::expandedWeights(x - static_cast<double>(m), ws);
        cubic::expandedWeights(y - static_cast<double>(l), wt);
        const T *p = I + (m - 2) + M * (l - 2);
        out[k] = wt[0] * columnSum(p, ws) + wt[1] * columnSum(p + M, ws) + wt[2] * columnSum(p + 2 * M, ws) +
                 wt[3] * columnSum(p + 3 * M, ws);
    }
}

// gx[k] (along rows) and gy[k] (along columns) for the points k in
// [begin, end).  A point is inside when 2 <= m <= M-4 and 2 <= l <= N-4;
// any other point, NaN included, gets 0 in both outputs.
template <typename T>
inline void cubicSlopeRange(const double *X, const double *Y, Index begin, Index end, const T *I, Index M, Index N,
                            double *gx, double *gy) {
    for (Index k = begin; k < end; ++k) {
        const double x = X[k], y = Y[k];
        const Index m = grid::floorCell(x);
        const Index l = grid::floorCell(y);
        if (m < 2 || m > M - 4 || l < 2 || l > N - 4) {
            gx[k] = 0.0;
            gy[k] = 0.0;
            continue;
        }
        const double s = x - static_cast<double>(m), t = y - static_cast<double>(l);
        double ws[4], ds[4], wt[4], dt[4];
        cubic::expandedWeights(s, ws);
        cubic::expandedSlopes(s, ds);
        cubic::expandedWeights(t, wt);
        cubic::expandedSlopes(t, dt);
        const T *p = I + (m - 2) + M * (l - 2);
        double value[4], slope[4];
        for (int j = 0; j < 4; ++j) {
            value[j] = columnSum(p + j * M, ws);
            slope[j] = columnSum(p + j * M, ds);
        }
        gx[k] = wt[0] * slope[0] + wt[1] * slope[1] + wt[2] * slope[2] + wt[3] * slope[3];
        gy[k] = dt[0] * value[0] + dt[1] * value[1] + dt[2] * value[2] + dt[3] * value[3];
    }
}

#ifdef GRIDMEX_AVX2
// The same kernels four points at a time, one point per lane.  Each of the
// four neighbourhood columns of the four points comes in four contiguous
// loads of four rows, transposed so that each vector holds one row of the
// four points.  Every lane performs the scalar kernel's operations in the
// same order, without fused multiply-adds, so the results are bit-identical.
namespace avx2 {

// cubic::expandedWeights at four fractions s: w[n] lane q is weight n of
// point q.
GRIDMEX_AVX2_TARGET inline void expandedWeights(__m256d s, __m256d w[4]) {
    using namespace cubic::expanded;
    const __m256d s2 = _mm256_mul_pd(s, s), s3 = _mm256_mul_pd(s2, s);
    const __m256d fourFifths = _mm256_set1_pd(kFourFifths), fifth = _mm256_set1_pd(kFifth),
                  third = _mm256_set1_pd(kThird);
    w[0] = _mm256_sub_pd(
        _mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(-kSevenFifteenths), s), _mm256_mul_pd(fourFifths, s2)),
        _mm256_mul_pd(third, s3));
    w[1] = _mm256_add_pd(_mm256_sub_pd(_mm256_sub_pd(_mm256_set1_pd(1.0), _mm256_mul_pd(fifth, s)),
                                       _mm256_mul_pd(_mm256_set1_pd(kNineFifths), s2)),
                         s3);
    w[2] = _mm256_sub_pd(_mm256_add_pd(_mm256_mul_pd(fourFifths, s), _mm256_mul_pd(_mm256_set1_pd(kSixFifths), s2)),
                         s3);
    w[3] = _mm256_add_pd(_mm256_sub_pd(_mm256_mul_pd(_mm256_set1_pd(-kTwoFifteenths), s), _mm256_mul_pd(fifth, s2)),
                         _mm256_mul_pd(third, s3));
}

// cubic::expandedSlopes at four fractions s.
GRIDMEX_AVX2_TARGET inline void expandedSlopes(__m256d s, __m256d d[4]) {
    using namespace cubic::expanded;
    const __m256d s2 = _mm256_mul_pd(s, s), three = _mm256_set1_pd(3.0);
    d[0] = _mm256_sub_pd(
        _mm256_add_pd(_mm256_set1_pd(-kSevenFifteenths), _mm256_mul_pd(_mm256_set1_pd(kEightFifths), s)), s2);
    d[1] = _mm256_add_pd(_mm256_sub_pd(_mm256_set1_pd(-kFifth), _mm256_mul_pd(_mm256_set1_pd(kEighteenFifths), s)),
                         _mm256_mul_pd(three, s2));
    d[2] = _mm256_sub_pd(_mm256_add_pd(_mm256_set1_pd(kFourFifths), _mm256_mul_pd(_mm256_set1_pd(kTwelveFifths), s)),
                         _mm256_mul_pd(three, s2));
    d[3] = _mm256_add_pd(_mm256_sub_pd(_mm256_set1_pd(-kTwoFifteenths), _mm256_mul_pd(_mm256_set1_pd(kTwoFifths), s)),
                         s2);
}

// The neighbourhood cells of the points k..k+3 inside rows 2..lastRow and
// columns 2..lastColumn: the offsets of their first pixels (m-2) + M (l-2),
// the fractions s and t in the cell, and the admitted lanes (all ones).
// Lanes not admitted take the cell (2, 2), whose neighbourhood is the first
// 4 x 4 pixels.
GRIDMEX_AVX2_TARGET inline __m256d cubicCells(const double *X, const double *Y, Index k, Index M, Index lastRow,
                                              Index lastColumn, std::int64_t first[4], __m256d &s, __m256d &t) {
    __m256d x[2], cell[2];
    const __m256d inside = grid::floorCells<2>({X, Y}, k, 2.0, {lastRow, lastColumn}, x, cell);
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(first), grid::safeOffsets<2>(cell, inside, 2.0, 2.0, {M}));
    s = _mm256_sub_pd(x[0], cell[0]);
    t = _mm256_sub_pd(x[1], cell[1]);
    return inside;
}

// Rows 0..3 of neighbourhood column j of the four points: row[a] lane q is
// pixel (a, j) of point q's neighbourhood.
template <typename T>
GRIDMEX_AVX2_TARGET inline void columnRows(const T *I, const std::int64_t first[4], Index offset, __m256d row[4]) {
    const __m256d column[4] = {grid::loadLanes(I + first[0] + offset), grid::loadLanes(I + first[1] + offset),
                               grid::loadLanes(I + first[2] + offset), grid::loadLanes(I + first[3] + offset)};
    grid::transpose(column, row);
}

// columnSum, lanes are points: w[0] c[0] + w[1] c[1] + w[2] c[2] + w[3] c[3].
GRIDMEX_AVX2_TARGET inline __m256d columnSum(const __m256d c[4], const __m256d w[4]) {
    return _mm256_add_pd(
        _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(w[0], c[0]), _mm256_mul_pd(w[1], c[1])), _mm256_mul_pd(w[2], c[2])),
        _mm256_mul_pd(w[3], c[3]));
}

// out[k] for k in [begin, end), four points per step; the last few points go
// through the scalar kernel.  Needs M, N >= 4 and M N < 2^52.
template <typename T>
GRIDMEX_AVX2_TARGET inline void cubicSampleRange(const double *X, const double *Y, Index begin, Index end, const T *I,
                                                 Index M, Index N, double *out) {
    Index k = begin;
    for (; k + 4 <= end; k += 4) {
        alignas(32) std::int64_t first[4];
        __m256d s, t, ws[4], wt[4], row[4], columns[4];
        const __m256d inside = cubicCells(X, Y, k, M, M - 3, N - 3, first, s, t);
        expandedWeights(s, ws);
        expandedWeights(t, wt);
        for (int j = 0; j < 4; ++j) {
            columnRows(I, first, j * M, row);
            columns[j] = columnSum(row, ws);
        }
        _mm256_storeu_pd(out + k, _mm256_blendv_pd(_mm256_set1_pd(kSentinel), columnSum(columns, wt), inside));
    }
    pixel::cubicSampleRange(X, Y, k, end, I, M, N, out);
}

// gx[k] and gy[k] for k in [begin, end), four points per step; the last few
// points go through the scalar kernel.  Needs M, N >= 4 and M N < 2^52.
template <typename T>
GRIDMEX_AVX2_TARGET inline void cubicSlopeRange(const double *X, const double *Y, Index begin, Index end, const T *I,
                                                Index M, Index N, double *gx, double *gy) {
    Index k = begin;
    for (; k + 4 <= end; k += 4) {
        alignas(32) std::int64_t first[4];
        __m256d s, t, ws[4], ds[4], wt[4], dt[4], row[4], value[4], slope[4];
        const __m256d inside = cubicCells(X, Y, k, M, M - 4, N - 4, first, s, t);
        expandedWeights(s, ws);
        expandedSlopes(s, ds);
        expandedWeights(t, wt);
        expandedSlopes(t, dt);
        for (int j = 0; j < 4; ++j) {
            columnRows(I, first, j * M, row);
            value[j] = columnSum(row, ws);
            slope[j] = columnSum(row, ds);
        }
        _mm256_storeu_pd(gx + k, _mm256_and_pd(columnSum(slope, wt), inside));
        _mm256_storeu_pd(gy + k, _mm256_and_pd(columnSum(value, dt), inside));
    }
    pixel::cubicSlopeRange(X, Y, k, end, I, M, N, gx, gy);
}

}  // namespace avx2
#endif

// Whether the four-point kernels serve an image of M x N pixels here.
// Smaller images admit no point at all.
inline bool cubicVectorKernel(Index M, Index N) { return grid::vectorServes(M >= 4 && N >= 4, M * N); }

// Sixteen pixels per point: threads pay off at fewer points than for the
// bilinear kernels.
constexpr Index kCubicCost = 4;

template <typename T>
void cubicSample(const double *X, const double *Y, Index count, const T *I, Index M, Index N, double *out) {
    const auto range = GRIDMEX_LANES(cubicVectorKernel(M, N), cubicSampleRange<T>);
    grid::parallelBlocks(count, kCubicCost, [&](Index begin, Index end) { range(X, Y, begin, end, I, M, N, out); });
}

template <typename T>
void cubicSlope(const double *X, const double *Y, Index count, const T *I, Index M, Index N, double *gx, double *gy) {
    const auto range = GRIDMEX_LANES(cubicVectorKernel(M, N), cubicSlopeRange<T>);
    grid::parallelBlocks(count, 2 * kCubicCost,
                         [&](Index begin, Index end) { range(X, Y, begin, end, I, M, N, gx, gy); });
}

}  // namespace pixel

#endif
