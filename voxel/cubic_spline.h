// Local cubic spline of an M x N x P column-major volume: at each point the
// tensor product of the one-dimensional natural spline weights over the
// 4 x 4 x 4 voxels (i-1..i+2, j-1..j+2, k-1..k+2) around the cell (i, j, k)
// = floor of the coordinates, and its analytic gradient.
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

#include "cubic_weights.h"
#include "grid.h"
#include "parallel.h"

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
inline double nestedSum(const double *v, Index M, Index MN, const double f[4], const double g[4],
                        const double h[4]) {
    double value = 0.0;
    for (int a = 0; a < 4; ++a) {
        double columns = 0.0;
        for (int b = 0; b < 4; ++b) {
            double slices = 0.0;
            for (int c = 0; c < 4; ++c) slices += h[c] * v[a + M * b + MN * c];
            columns += g[b] * slices;
        }
        value += f[a] * columns;
    }
    return value;
}

// out[p] for the points p in [begin, end).
inline void cubicSampleRange(const double *X, const double *Y, const double *Z, Index begin, Index end,
                             const double *V, Index M, Index N, Index P, double *out) {
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
inline void cubicSlopeRange(const double *X, const double *Y, const double *Z, Index begin, Index end,
                            const double *V, Index M, Index N, Index P, double *gi, double *gj, double *gk) {
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
        const double *v = V + first;
        double sumI = 0.0, sumJ = 0.0, sumK = 0.0;
        for (int a = 0; a < 4; ++a) {
            double columnsI = 0.0, columnsJ = 0.0, columnsK = 0.0;
            for (int b = 0; b < 4; ++b) {
                double slices = 0.0, slicesK = 0.0;
                for (int c = 0; c < 4; ++c) {
                    const double voxel = v[a + M * b + MN * c];
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

// The sampled values for all count points, over threads.
inline void cubicSample(const double *X, const double *Y, const double *Z, Index count, const double *V,
                        Index M, Index N, Index P, double *out) {
    grid::parallelBlocks(count, kCubicCost, [&](Index begin, Index end) {
        cubicSampleRange(X, Y, Z, begin, end, V, M, N, P, out);
    });
}

// The three derivatives for all count points, over threads.
inline void cubicSlope(const double *X, const double *Y, const double *Z, Index count, const double *V,
                       Index M, Index N, Index P, double *gi, double *gj, double *gk) {
    grid::parallelBlocks(count, 2 * kCubicCost, [&](Index begin, Index end) {
        cubicSlopeRange(X, Y, Z, begin, end, V, M, N, P, gi, gj, gk);
    });
}

}  // namespace voxel

#endif
