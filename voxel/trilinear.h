// Trilinear sampling of an M x N x P column-major volume at a list of points.
// Voxel (i, j, k), 1-based, sits at (i, j, k) and is stored at offset
// (i-1) + M(j-1) + MN(k-1).  Only cells 2..M-1, 2..N-1, 2..P-1 are admitted
// (x in [2, M), y in [2, N), z in [2, P)); any other point, and a point with
// a NaN or infinite coordinate, gets 0 and reads nothing.
#ifndef GRIDMEX_TRILINEAR_H
#define GRIDMEX_TRILINEAR_H

#include "grid.h"
#include "parallel.h"

namespace voxel {

using grid::Index;

// out[p] for the points p in [begin, end).
inline void trilinSampleRange(const double *X, const double *Y, const double *Z, Index begin, Index end,
                              const double *V, Index M, Index N, Index P, double *out) {
    const Index MN = M * N;
    for (Index p = begin; p < end; ++p) {
        const double x = X[p], y = Y[p], z = Z[p];
        const Index i = grid::floorCell(x), j = grid::floorCell(y), k = grid::floorCell(z);
        if (i < 2 || j < 2 || k < 2 || i > M - 1 || j > N - 1 || k > P - 1) {
            out[p] = 0.0;
            continue;
        }
        const double *c = V + ((i - 1) + M * ((j - 1) + N * (k - 1)));
        // Local coordinates in [-1, 1); the corner factors are those of the
        // 8-node hexahedron, each term ((0.125 V) fx) fy fz.
        const double xi = 2.0 * ((x - static_cast<double>(i)) - 0.5);
        const double eta = 2.0 * ((y - static_cast<double>(j)) - 0.5);
        const double zeta = 2.0 * ((z - static_cast<double>(k)) - 0.5);
        const double xl = 1.0 - xi, xu = 1.0 + xi;
        const double yl = 1.0 - eta, yu = 1.0 + eta;
        const double zl = 1.0 - zeta, zu = 1.0 + zeta;
        out[p] = 0.125 * c[0] * xl * yl * zl + 0.125 * c[1] * xu * yl * zl + 0.125 * c[M] * xl * yu * zl +
                 0.125 * c[M + 1] * xu * yu * zl + 0.125 * c[MN] * xl * yl * zu +
                 0.125 * c[MN + 1] * xu * yl * zu + 0.125 * c[MN + M] * xl * yu * zu +
                 0.125 * c[MN + M + 1] * xu * yu * zu;
    }
}

// out[p] for all count points (X[p], Y[p], Z[p]), over threads.
inline void trilinSample(const double *X, const double *Y, const double *Z, Index count, const double *V,
                         Index M, Index N, Index P, double *out) {
    grid::parallelBlocks(count, 1, [&](Index begin, Index end) {
        trilinSampleRange(X, Y, Z, begin, end, V, M, N, P, out);
    });
}

}  // namespace voxel

#endif
