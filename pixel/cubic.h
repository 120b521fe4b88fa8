// Local cubic spline sampling of an M x N column-major image: at each point,
// the tensor product over the 4 x 4 pixel neighbourhood (rows m-1..m+2,
// columns l-1..l+2, with (m, l) = (floor(x), floor(y))) of the natural cubic
// spline weights along each axis, evaluated in the expanded form with
// 15-digit constants.  Values, and the two partial derivatives.
#ifndef GRIDMEX_PIXEL_CUBIC_H
#define GRIDMEX_PIXEL_CUBIC_H

#include "bilinear.h"  // kSentinel, shared with bilinear sampling
#include "cubic_weights.h"
#include "grid.h"
#include "parallel.h"

namespace pixel {

using grid::Index;

// Weighted sum of the four rows of one neighbourhood column.
inline double columnSum(const double *c, const double w[4]) {
    return w[0] * c[0] + w[1] * c[1] + w[2] * c[2] + w[3] * c[3];
}

// out[k] for the points k in [begin, end).  A point is inside when
// 2 <= m <= M-3 and 2 <= l <= N-3 (the neighbourhood never reaches the last
// row or column); any other point, NaN included, gets -13.
inline void cubicSampleRange(const double *X, const double *Y, Index begin, Index end, const double *I,
                             Index M, Index N, double *out) {
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
        const double *p = I + (m - 2) + M * (l - 2);
        out[k] = wt[0] * columnSum(p, ws) + wt[1] * columnSum(p + M, ws) + wt[2] * columnSum(p + 2 * M, ws) +
                 wt[3] * columnSum(p + 3 * M, ws);
    }
}

// gx[k] (along rows) and gy[k] (along columns) for the points k in
// [begin, end).  A point is inside when 2 <= m <= M-4 and 2 <= l <= N-4;
// any other point, NaN included, gets 0 in both outputs.
inline void cubicSlopeRange(const double *X, const double *Y, Index begin, Index end, const double *I,
                            Index M, Index N, double *gx, double *gy) {
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
        const double *p = I + (m - 2) + M * (l - 2);
        double value[4], slope[4];
        for (int j = 0; j < 4; ++j) {
            value[j] = columnSum(p + j * M, ws);
            slope[j] = columnSum(p + j * M, ds);
        }
        gx[k] = wt[0] * slope[0] + wt[1] * slope[1] + wt[2] * slope[2] + wt[3] * slope[3];
        gy[k] = dt[0] * value[0] + dt[1] * value[1] + dt[2] * value[2] + dt[3] * value[3];
    }
}

// Sixteen pixels per point: threads pay off at fewer points than for the
// bilinear kernels.
constexpr Index kCubicCost = 4;

inline void cubicSample(const double *X, const double *Y, Index count, const double *I, Index M, Index N,
                        double *out) {
    grid::parallelBlocks(count, kCubicCost, [&](Index begin, Index end) {
        cubicSampleRange(X, Y, begin, end, I, M, N, out);
    });
}

inline void cubicSlope(const double *X, const double *Y, Index count, const double *I, Index M, Index N,
                       double *gx, double *gy) {
    grid::parallelBlocks(count, 2 * kCubicCost, [&](Index begin, Index end) {
        cubicSlopeRange(X, Y, begin, end, I, M, N, gx, gy);
    });
}

}  // namespace pixel

#endif
