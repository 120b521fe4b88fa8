// Local cubic spline of an M x N x P column-major volume of any element type:
// at each point the tensor product of the one-dimensional natural spline
// weights over the 4 x 4 x 4 voxels (i-1..i+2, j-1..j+2, k-1..k+2) around the
// cell (i, j, k) = floor of the coordinates, and its analytic gradient.
//
// Every sum keeps the order that fixes the last bit: slices innermost, then
// columns, then rows, each starting from 0.  (Reading the neighbourhood in
// storage order instead, with sixteen slice sums kept apart, measured slower:
// the same cache lines are touched either way.)
//
// A point is admitted when its neighbourhood lies in the volume:
// 2 <= i <= M-2, 2 <= j <= N-2, 2 <= k <= P-2.  Any other point, and a point
// with a NaN or infinite coordinate, gets 0 and reads nothing.
#ifndef GRIDMEX_CUBIC_SPLINE_H
#define GRIDMEX_CUBIC_SPLINE_H

#include "common/avx2.h"
#include "common/cubic_weights.h"
#include "common/grid.h"
#include "common/parallel.h"

namespace voxel {

using grid::Index;

// Items of work per point for the thread split: 64 voxel reads and more.
constexpr Index kCubicCost = 16;

// The neighbourhood of the point (x, y, z): the offset of its first voxel
// (i-1, j-1, k-1) and the fractions in the cell.  False when it leaves the
// volume.
inline bool cubicCell(double x, double y, double z, Index M, Index N, Index P, Index &first, double t[3]) {
    const Index i = grid::floorCell(x), j = grid::floorCell(y), k = grid::floorCell(z);
    if (i < 2 || j < 2 || k < 2 || i > M - 2 || j > N - 2 || k > P - 2) return false;
    first = (i - 2) + M * ((j - 2) + N * (k - 2));
    t[0] = x - static_cast<double>(i);
    t[1] = y - static_cast<double>(j);
    t[2] = z - static_cast<double>(k);
    return true;
}

// sum over rows a of f[a] (sum over columns b of g[b] (sum over slices c of
// h[c] V(a, b, c))), for the neighbourhood whose first voxel is v.
template <typename T>
inline double nestedSum(const T *v, Index M, Index MN, const double f[4], const double g[4], const double h[4]) {
    double value = 0.0;
    for (int a = 0; a < 4; ++a) {
        double columns = 0.0;
        for (int b = 0; b < 4; ++b) {
            double slices = 0.0;
            for (int c = 0; c < 4; ++c) slices += h[c] * grid::toDouble(v[a + M * b + MN * c]);
            columns += g[b] * slices;
        }
        value += f[a] * columns;
    }
    return value;
}

// out[p] for the points p in [begin, end).
template <typename T>
void cubicSampleRange(const double *X, const double *Y, const double *Z, Index begin, Index end, const T *V, Index M,
                      Index N, Index P, double *out) {
    const Index MN = M * N;
    for (Index p = begin; p < end; ++p) {
        Index first;
        double t[3];
        if (!cubicCell(X[p], Y[p], Z[p], M, N, P, first, t)) {
            out[p] = 0.0;
            continue;
        }
        double wx[4], wy[4], wz[4];
        cubic::nestedWeights(t[0], wx);
        cubic::nestedWeights(t[1], wy);
        cubic::nestedWeights(t[2], wz);
        out[p] = nestedSum(V + first, M, MN, wx, wy, wz);
    }
}

// gi[p], gj[p], gk[p] for the points p in [begin, end): in each, the weights
// of one direction are replaced by their derivatives.
template <typename T>
void cubicSlopeRange(const double *X, const double *Y, const double *Z, Index begin, Index end, const T *V, Index M,
                     Index N, Index P, double *gi, double *gj, double *gk) {
    const Index MN = M * N;
    for (Index p = begin; p < end; ++p) {
        Index first;
        double t[3];
        if (!cubicCell(X[p], Y[p], Z[p], M, N, P, first, t)) {
            gi[p] = gj[p] = gk[p] = 0.0;
            continue;
        }
        double wx[4], wy[4], wz[4], dx[4], dy[4], dz[4];
        cubic::nestedWeights(t[0], wx);
        cubic::nestedWeights(t[1], wy);
        cubic::nestedWeights(t[2], wz);
        cubic::nestedSlopes(t[0], dx);
        cubic::nestedSlopes(t[1], dy);
        cubic::nestedSlopes(t[2], dz);
        // The three nested sums of one pass over the neighbourhood; the
        // first two share their slice sums with value weights.
        const T *v = V + first;
        double sumI = 0.0, sumJ = 0.0, sumK = 0.0;
        for (int a = 0; a < 4; ++a) {
            double columnsI = 0.0, columnsJ = 0.0, columnsK = 0.0;
            for (int b = 0; b < 4; ++b) {
                double slices = 0.0, slicesK = 0.0;
                for (int c = 0; c < 4; ++c) {
                    const double voxel = grid::toDouble(v[a + M * b + MN * c]);
                    slices += wz[c] * voxel;
                    slicesK += dz[c] * voxel;
                }
                columnsI += wy[b] * slices;
                columnsJ += dy[b] * slices;
                columnsK += wy[b] * slicesK;
            }
            sumI += dx[a] * columnsI;
            sumJ += wx[a] * columnsJ;
            sumK += wx[a] * columnsK;
        }
        gi[p] = sumI;
        gj[p] = sumJ;
        gk[p] = sumK;
    }
}

#ifdef GRIDMEX_AVX2
// The same kernels four points at a time.  The weights, the offsets and the
// last sum over rows have one point per lane; the inner sums have one row a
// per lane, so the 64 voxels of a point come in 16 contiguous loads of four
// rows instead of 64 gathered elements.  Every lane performs the scalar
// kernel's operations in the same order, without fused multiply-adds, so the
// results are bit-identical.
namespace avx2 {

// The four brackets of cubic::nestedWeights at four fractions t, with 0.2 t.
GRIDMEX_AVX2_TARGET inline void brackets(__m256d t, __m256d &a, __m256d r[4]) {
    const __m256d fiveT = _mm256_mul_pd(_mm256_set1_pd(5.0), t);
    const __m256d fiveThirdsT = _mm256_div_pd(fiveT, _mm256_set1_pd(3.0));
    a = _mm256_mul_pd(_mm256_set1_pd(0.2), t);
    r[0] = _mm256_sub_pd(_mm256_mul_pd(_mm256_sub_pd(_mm256_set1_pd(4.0), fiveThirdsT), t), _mm256_set1_pd(7.0 / 3.0));
    r[1] = _mm256_sub_pd(_mm256_mul_pd(_mm256_sub_pd(fiveT, _mm256_set1_pd(9.0)), t), _mm256_set1_pd(1.0));
    r[2] = _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(_mm256_set1_pd(6.0), fiveT), t), _mm256_set1_pd(4.0));
    r[3] = _mm256_sub_pd(_mm256_mul_pd(_mm256_sub_pd(fiveThirdsT, _mm256_set1_pd(1.0)), t), _mm256_set1_pd(2.0 / 3.0));
}

// cubic::nestedWeights at four fractions t: w[n] lane q is weight n of point q.
GRIDMEX_AVX2_TARGET inline void nestedWeights(__m256d t, __m256d w[4]) {
    __m256d a, r[4];
    brackets(t, a, r);
    w[0] = _mm256_mul_pd(a, r[0]);
    w[1] = _mm256_add_pd(_mm256_mul_pd(a, r[1]), _mm256_set1_pd(1.0));
    w[2] = _mm256_mul_pd(a, r[2]);
    w[3] = _mm256_mul_pd(a, r[3]);
}

// cubic::nestedWeights and cubic::nestedSlopes at four fractions t.
GRIDMEX_AVX2_TARGET inline void nestedWeightsAndSlopes(__m256d t, __m256d w[4], __m256d d[4]) {
    __m256d a, r[4];
    brackets(t, a, r);
    const __m256d fifth = _mm256_set1_pd(0.2), tenT = _mm256_mul_pd(_mm256_set1_pd(10.0), t);
    const __m256d tenThirdsT = _mm256_div_pd(tenT, _mm256_set1_pd(3.0));
    w[0] = _mm256_mul_pd(a, r[0]);
    w[1] = _mm256_add_pd(_mm256_mul_pd(a, r[1]), _mm256_set1_pd(1.0));
    w[2] = _mm256_mul_pd(a, r[2]);
    w[3] = _mm256_mul_pd(a, r[3]);
    d[0] = _mm256_add_pd(_mm256_mul_pd(fifth, r[0]), _mm256_mul_pd(a, _mm256_sub_pd(_mm256_set1_pd(4.0), tenThirdsT)));
    d[1] = _mm256_add_pd(_mm256_mul_pd(fifth, r[1]), _mm256_mul_pd(a, _mm256_sub_pd(tenT, _mm256_set1_pd(9.0))));
    d[2] = _mm256_add_pd(_mm256_mul_pd(fifth, r[2]), _mm256_mul_pd(a, _mm256_sub_pd(_mm256_set1_pd(6.0), tenT)));
    d[3] = _mm256_add_pd(_mm256_mul_pd(fifth, r[3]), _mm256_mul_pd(a, _mm256_sub_pd(tenThirdsT, _mm256_set1_pd(1.0))));
}

// The neighbourhoods of the points p..p+3: the offsets of their first voxels,
// the fractions t[axis] in the cell, and the admitted lanes (all ones).
// Lanes not admitted take the cell (2, 2, 2), whose neighbourhood is the
// first 4 x 4 x 4 voxels.
GRIDMEX_AVX2_TARGET inline __m256d cubicCells(const double *X, const double *Y, const double *Z, Index p, Index M,
                                              Index N, Index P, std::int64_t first[4], __m256d t[3]) {
    __m256d x[3], cell[3];
    const __m256d inside = grid::floorCells<3>({X, Y, Z}, p, 2.0, {M - 2, N - 2, P - 2}, x, cell);
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(first), grid::safeOffsets<3>(cell, inside, 2.0, 2.0, {M, N}));
    for (int a = 0; a < 3; ++a) t[a] = _mm256_sub_pd(x[a], cell[a]);
    return inside;
}

// For the neighbourhood whose first voxel is v: lane a holds
// sum over columns b of g[4 b] (sum over slices c of h[4 c] V(a, b, c)).
// These inner sums start from their first term rather than from 0: that
// only leaves a -0 where the scalar kernel has +0, and the sum over rows,
// which does start from 0, turns either into +0.
template <typename T>
GRIDMEX_AVX2_TARGET inline __m256d columnSums(const T *v, Index M, Index MN, const double *g, const double *h) {
    const __m256d h0 = _mm256_broadcast_sd(h), h1 = _mm256_broadcast_sd(h + 4), h2 = _mm256_broadcast_sd(h + 8),
                  h3 = _mm256_broadcast_sd(h + 12);
    __m256d columns = _mm256_setzero_pd();
    for (int b = 0; b < 4; ++b) {
        const T *r = v + M * b;
        __m256d slices = _mm256_mul_pd(h0, grid::loadLanes(r));
        slices = _mm256_add_pd(slices, _mm256_mul_pd(h1, grid::loadLanes(r + MN)));
        slices = _mm256_add_pd(slices, _mm256_mul_pd(h2, grid::loadLanes(r + 2 * MN)));
        slices = _mm256_add_pd(slices, _mm256_mul_pd(h3, grid::loadLanes(r + 3 * MN)));
        const __m256d term = _mm256_mul_pd(_mm256_broadcast_sd(g + 4 * b), slices);
        columns = b == 0 ? term : _mm256_add_pd(columns, term);
    }
    return columns;
}

// sum over rows a of f[a] rows[a], lanes are points.
GRIDMEX_AVX2_TARGET inline __m256d rowSum(const __m256d f[4], const __m256d rows[4]) {
    __m256d sum = _mm256_setzero_pd();
    for (int a = 0; a < 4; ++a) sum = _mm256_add_pd(sum, _mm256_mul_pd(f[a], rows[a]));
    return sum;
}

// out[p] for p in [begin, end), four points per step; the last few points go
// through the scalar kernel.  Needs M, N, P >= 4 and M N P < 2^52.
template <typename T>
GRIDMEX_AVX2_TARGET void cubicSampleRange(const double *X, const double *Y, const double *Z, Index begin, Index end,
                                          const T *V, Index M, Index N, Index P, double *out) {
    const Index MN = M * N;
    Index p = begin;
    for (; p + 4 <= end; p += 4) {
        alignas(32) std::int64_t first[4];
        alignas(32) double wy[16], wz[16];
        __m256d t[3], wx[4], w[4], columns[4], rows[4];
        const __m256d inside = cubicCells(X, Y, Z, p, M, N, P, first, t);
        nestedWeights(t[0], wx);
        nestedWeights(t[1], w);
        for (int b = 0; b < 4; ++b) _mm256_store_pd(wy + 4 * b, w[b]);
        nestedWeights(t[2], w);
        for (int c = 0; c < 4; ++c) _mm256_store_pd(wz + 4 * c, w[c]);
        for (int q = 0; q < 4; ++q) columns[q] = columnSums(V + first[q], M, MN, wy + q, wz + q);
        grid::transpose(columns, rows);
        _mm256_storeu_pd(out + p, _mm256_and_pd(rowSum(wx, rows), inside));
    }
    voxel::cubicSampleRange(X, Y, Z, p, end, V, M, N, P, out);
}

// gi[p], gj[p], gk[p] for p in [begin, end), four points per step; the last
// few points go through the scalar kernel.  Needs M, N, P >= 4 and
// M N P < 2^52.
template <typename T>
GRIDMEX_AVX2_TARGET void cubicSlopeRange(const double *X, const double *Y, const double *Z, Index begin, Index end,
                                         const T *V, Index M, Index N, Index P, double *gi, double *gj, double *gk) {
    const Index MN = M * N;
    Index p = begin;
    for (; p + 4 <= end; p += 4) {
        alignas(32) std::int64_t first[4];
        alignas(32) double wy[16], dy[16], wz[16], dz[16];
        __m256d t[3], wx[4], dx[4], w[4], d[4];
        const __m256d inside = cubicCells(X, Y, Z, p, M, N, P, first, t);
        nestedWeightsAndSlopes(t[0], wx, dx);
        nestedWeightsAndSlopes(t[1], w, d);
        for (int b = 0; b < 4; ++b) _mm256_store_pd(wy + 4 * b, w[b]), _mm256_store_pd(dy + 4 * b, d[b]);
        nestedWeightsAndSlopes(t[2], w, d);
        for (int c = 0; c < 4; ++c) _mm256_store_pd(wz + 4 * c, w[c]), _mm256_store_pd(dz + 4 * c, d[c]);
        // Per point, lanes are rows: the three column sums of the scalar
        // kernel's single pass, the first two sharing their slice sums.  As
        // in columnSums, the inner sums start from their first term.
        __m256d columnsI[4], columnsJ[4], columnsK[4];
        for (int q = 0; q < 4; ++q) {
            const T *v = V + first[q];
            __m256d cI = _mm256_setzero_pd(), cJ = cI, cK = cI;
            for (int b = 0; b < 4; ++b) {
                __m256d slices = _mm256_setzero_pd(), slicesK = slices;
                for (int c = 0; c < 4; ++c) {
                    const __m256d voxel = grid::loadLanes(v + M * b + MN * c);
                    const __m256d tw = _mm256_mul_pd(_mm256_broadcast_sd(wz + 4 * c + q), voxel);
                    const __m256d td = _mm256_mul_pd(_mm256_broadcast_sd(dz + 4 * c + q), voxel);
                    slices = c == 0 ? tw : _mm256_add_pd(slices, tw);
                    slicesK = c == 0 ? td : _mm256_add_pd(slicesK, td);
                }
                const __m256d gw = _mm256_broadcast_sd(wy + 4 * b + q), gd = _mm256_broadcast_sd(dy + 4 * b + q);
                const __m256d tI = _mm256_mul_pd(gw, slices), tJ = _mm256_mul_pd(gd, slices),
                              tK = _mm256_mul_pd(gw, slicesK);
                cI = b == 0 ? tI : _mm256_add_pd(cI, tI);
                cJ = b == 0 ? tJ : _mm256_add_pd(cJ, tJ);
                cK = b == 0 ? tK : _mm256_add_pd(cK, tK);
            }
            columnsI[q] = cI;
            columnsJ[q] = cJ;
            columnsK[q] = cK;
        }
        __m256d rows[4];
        grid::transpose(columnsI, rows);
        _mm256_storeu_pd(gi + p, _mm256_and_pd(rowSum(dx, rows), inside));
        grid::transpose(columnsJ, rows);
        _mm256_storeu_pd(gj + p, _mm256_and_pd(rowSum(wx, rows), inside));
        grid::transpose(columnsK, rows);
        _mm256_storeu_pd(gk + p, _mm256_and_pd(rowSum(wx, rows), inside));
    }
    voxel::cubicSlopeRange(X, Y, Z, p, end, V, M, N, P, gi, gj, gk);
}

}  // namespace avx2
#endif

// Whether the four-point kernels serve a volume of M x N x P voxels here.
// Smaller volumes admit no point at all.
inline bool cubicVectorKernel(Index M, Index N, Index P) {
    return grid::vectorServes(M >= 4 && N >= 4 && P >= 4, M * N * P);
}

// The sampled values for all count points, over threads.
template <typename T>
void cubicSample(const double *X, const double *Y, const double *Z, Index count, const T *V, Index M, Index N, Index P,
                 double *out) {
    const auto range = GRIDMEX_LANES(cubicVectorKernel(M, N, P), cubicSampleRange<T>);
    grid::parallelBlocks(count, kCubicCost,
                         [&](Index begin, Index end) { range(X, Y, Z, begin, end, V, M, N, P, out); });
}

// The three derivatives for all count points, over threads.
template <typename T>
void cubicSlope(const double *X, const double *Y, const double *Z, Index count, const T *V, Index M, Index N, Index P,
                double *gi, double *gj, double *gk) {
    const auto range = GRIDMEX_LANES(cubicVectorKernel(M, N, P), cubicSlopeRange<T>);
    grid::parallelBlocks(count, 2 * kCubicCost,
                         [&](Index begin, Index end) { range(X, Y, Z, begin, end, V, M, N, P, gi, gj, gk); });
}

}  // namespace voxel

#endif
