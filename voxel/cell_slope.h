// Gradient of an M x N x P column-major volume of any element type at the
// voxel whose cell holds each point (the floor of its coordinates): central
// differences inside, one-sided differences on the faces, no interpolation.
// Cells 1..M, 1..N, 1..P are admitted (x in [1, M+1), ...); any other point,
// and a point with a NaN or infinite coordinate, gets (0, 0, 0) and reads
// nothing.
#ifndef GRIDMEX_VOXEL_CELL_SLOPE_H
#define GRIDMEX_VOXEL_CELL_SLOPE_H

#include "common/grid.h"
#include "common/parallel.h"

#include "common/avx2.h"

namespace voxel {

using grid::Index;

// Derivative along one axis at voxel v, which is number `at` (1-based) of
// `extent` voxels spaced `step` apart: forward on the first, backward on the
// last, central between.  An axis of a single voxel has no neighbour to
// difference with, so its derivative is 0.
template <typename T>
inline double axisSlope(const T *v, Index step, Index at, Index extent) {
    using grid::toDouble;
    if (extent == 1) return 0.0;
    if (at == 1) return toDouble(v[step]) - toDouble(v[0]);
    if (at == extent) return toDouble(v[0]) - toDouble(v[-step]);
    return 0.5 * (toDouble(v[step]) - toDouble(v[-step]));
}

// gi[p], gj[p], gk[p] for the points p in [begin, end).
template <typename T>
void cellSlopeRange(const double *X, const double *Y, const double *Z, Index begin, Index end, const T *V, Index M,
                    Index N, Index P, double *gi, double *gj, double *gk) {
    const Index MN = M * N;
    for (Index p = begin; p < end; ++p) {
        const Index i = grid::floorCell(X[p]), j = grid::floorCell(Y[p]), k = grid::floorCell(Z[p]);
        if (i < 1 || j < 1 || k < 1 || i > M || j > N || k > P) {
            gi[p] = gj[p] = gk[p] = 0.0;
            continue;
        }
        const T *v = V + ((i - 1) + M * ((j - 1) + N * (k - 1)));
        gi[p] = axisSlope(v, 1, i, M);
        gj[p] = axisSlope(v, M, j, N);
        gk[p] = axisSlope(v, MN, k, P);
    }
}

#ifdef GRIDMEX_AVX2
// The same kernel four points at a time with AVX2.
namespace avx2 {

// axisSlope for four voxels at offsets q and positions `at` (1-based, as
// doubles) along an axis of `extent` voxels spaced `step` apart.  Every
// lane at position 1 to extent reads what the scalar kernel reads.
template <typename T>
GRIDMEX_AVX2_TARGET inline __m256d axisSlopes(const T *V, __m256i q, __m256d at, Index extent, Index step) {
    if (extent == 1) return _mm256_setzero_pd();
    const __m256d first = _mm256_cmp_pd(at, _mm256_set1_pd(1.0), _CMP_EQ_OQ);
    const __m256d last = _mm256_andnot_pd(first,
                                          _mm256_cmp_pd(at, _mm256_set1_pd(static_cast<double>(extent)), _CMP_EQ_OQ));
    const __m256i s = _mm256_set1_epi64x(step);
    const __m256d hi = _mm256_blendv_pd(_mm256_castsi256_pd(_mm256_add_epi64(q, s)), _mm256_castsi256_pd(q), last);
    const __m256d lo = _mm256_blendv_pd(_mm256_castsi256_pd(_mm256_sub_epi64(q, s)), _mm256_castsi256_pd(q), first);
    const __m256d d = grid::differenceLanes(V, _mm256_castpd_si256(hi), _mm256_castpd_si256(lo));
    return _mm256_blendv_pd(_mm256_mul_pd(_mm256_set1_pd(0.5), d), d, _mm256_or_pd(first, last));
}

// gi[p], gj[p], gk[p] for p in [begin, end), four points per step; the last
// few points go through the scalar kernel.  Needs M, N, P >= 1 and
// M N P < 2^52.  Points outside the volume read around the first voxel and
// get 0.
template <typename T>
GRIDMEX_AVX2_TARGET void cellSlopeRange(const double *X, const double *Y, const double *Z, Index begin, Index end,
                                        const T *V, Index M, Index N, Index P, double *gi, double *gj, double *gk) {
    Index p = begin;
    for (; p + 4 <= end; p += 4) {
        __m256d x[3], cell[3];
        const __m256d use = grid::floorCells<3>({X, Y, Z}, p, 1.0, {M, N, P}, x, cell);
        const __m256i q = grid::safeOffsets<3>(cell, use, 1.0, 1.0, {M, N});
        _mm256_storeu_pd(gi + p, _mm256_and_pd(use, axisSlopes(V, q, cell[0], M, 1)));
        _mm256_storeu_pd(gj + p, _mm256_and_pd(use, axisSlopes(V, q, cell[1], N, M)));
        _mm256_storeu_pd(gk + p, _mm256_and_pd(use, axisSlopes(V, q, cell[2], P, M * N)));
    }
    voxel::cellSlopeRange(X, Y, Z, p, end, V, M, N, P, gi, gj, gk);
}

}  // namespace avx2
#endif

// Whether the four-point kernel serves a volume of M x N x P voxels here.
inline bool cellSlopeVectorKernel(Index M, Index N, Index P) {
    return grid::vectorServes(M >= 1 && N >= 1 && P >= 1, M * N * P);
}

// The three derivatives for all count points, over threads.
template <typename T>
void cellSlope(const double *X, const double *Y, const double *Z, Index count, const T *V, Index M, Index N, Index P,
               double *gi, double *gj, double *gk) {
    const auto range = GRIDMEX_LANES(cellSlopeVectorKernel(M, N, P), cellSlopeRange<T>);
    grid::parallelBlocks(count, 1, [&](Index begin, Index end) { range(X, Y, Z, begin, end, V, M, N, P, gi, gj, gk); });
}

}  // namespace voxel

#endif
