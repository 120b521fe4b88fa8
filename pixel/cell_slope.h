// Image gradient at a list of points, taken at the pixel of each point's
// cell: (l, h) = (floor(x), floor(y)), so the gradient is constant over each
// cell [l, l+1) x [h, h+1).  Central differences inside the image, one-sided
// differences on its first and last row and column.  An optional pixel mask
// switches to one-sided differences, or to 0, where neighbours lie outside
// it.  Pixel (i, j), 1-based, of the M x N column-major image is stored at
// offset (i-1) + M(j-1).
#ifndef GRIDMEX_CELL_SLOPE_H
#define GRIDMEX_CELL_SLOPE_H

#include "grid.h"
#include "parallel.h"

namespace pixel {

using grid::Index;

// Mask rule of the plain gradient: every pixel counts as inside.
struct NoMask {
    bool operator()(Index) const { return true; }
};

// Mask rule read from M x N mask elements of type T: non-zero is inside.
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
template <typename Inside>
inline double axisSlope(const double *I, Index o, Index p, Index n, Index step, Inside inside) {
    if (n < 2) return 0.0;
    if (p == 1) return I[o + step] - I[o];
    if (p == n) return I[o] - I[o - step];
    if (!inside(o)) return 0.0;
    if (!inside(o + step)) return I[o] - I[o - step];
    if (!inside(o - step)) return I[o + step] - I[o];
    return 0.5 * (I[o + step] - I[o - step]);
}

// gx[k], gy[k] for the points k in [begin, end).  A point whose pixel lies
// outside the image in either axis gets 0 in both outputs.
template <typename Inside>
void cellSlopeRange(const double *X, const double *Y, Index begin, Index end, const double *I, Index M,
                    Index N, Inside inside, double *gx, double *gy) {
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

// gx[k], gy[k] for all count points (X[k], Y[k]), over threads.
template <typename Inside>
void cellSlope(const double *X, const double *Y, Index count, const double *I, Index M, Index N,
               Inside inside, double *gx, double *gy) {
    grid::parallelBlocks(count, 1, [&](Index begin, Index end) {
        cellSlopeRange(X, Y, begin, end, I, M, N, inside, gx, gy);
    });
}

}  // namespace pixel

#endif
