// Gradient of an M x N x P column-major volume at the voxel whose cell holds
// each point (the floor of its coordinates): central differences inside,
// one-sided differences on the faces, no interpolation.  Cells 1..M, 1..N,
// 1..P are admitted (x in [1, M+1), ...); any other point, and a point with
// a NaN or infinite coordinate, gets (0, 0, 0) and reads nothing.
#ifndef GRIDMEX_CELL_SLOPE_H
#define GRIDMEX_CELL_SLOPE_H

#include "grid.h"
#include "parallel.h"

namespace voxel {

using grid::Index;

// Derivative along one axis at voxel v, which is number `at` (1-based) of
// `extent` voxels spaced `step` apart: forward on the first, backward on the
// last, central between.  An axis of a single voxel has no neighbour to
// difference with, so its derivative is 0.
inline double axisSlope(const double *v, Index step, Index at, Index extent) {
    if (extent == 1) return 0.0;
    if (at == 1) return v[step] - v[0];
    if (at == extent) return v[0] - v[-step];
    return 0.5 * (v[step] - v[-step]);
}

// gi[p], gj[p], gk[p] for the points p in [begin, end).
inline void cellSlopeRange(const double *X, const double *Y, const double *Z, Index begin, Index end,
                           const double *V, Index M, Index N, Index P, double *gi, double *gj, double *gk) {
    const Index MN = M * N;
    for (Index p = begin; p < end; ++p) {
        const Index i = grid::floorCell(X[p]), j = grid::floorCell(Y[p]), k = grid::floorCell(Z[p]);
        if (i < 1 || j < 1 || k < 1 || i > M || j > N || k > P) {
            gi[p] = gj[p] = gk[p] = 0.0;
            continue;
        }
        const double *v = V + ((i - 1) + M * ((j - 1) + N * (k - 1)));
        gi[p] = axisSlope(v, 1, i, M);
        gj[p] = axisSlope(v, M, j, N);
        gk[p] = axisSlope(v, MN, k, P);
    }
}

// The three derivatives for all count points, over threads.
inline void cellSlope(const double *X, const double *Y, const double *Z, Index count, const double *V, Index M,
                      Index N, Index P, double *gi, double *gj, double *gk) {
    grid::parallelBlocks(count, 1, [&](Index begin, Index end) {
        cellSlopeRange(X, Y, Z, begin, end, V, M, N, P, gi, gj, gk);
    });
}

}  // namespace voxel

#endif
