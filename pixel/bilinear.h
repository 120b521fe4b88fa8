// Bilinear sampling of an M x N column-major image at a list of points, with
// one of three border rules.  Pixel (i, j), 1-based, sits at (i, j) and is
// stored at offset (i-1) + M(j-1).
#ifndef GRIDMEX_BILINEAR_H
#define GRIDMEX_BILINEAR_H

#include "grid.h"
#include "parallel.h"

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
template <Border B>
void bilinSampleRange(const double *X, const double *Y, Index begin, Index end, const double *I, Index M,
                      Index N, double *out) {
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
        out[k] = 0.25 * ((1 - u) * (1 - v) * I[o] + (1 + u) * (1 - v) * I[o + 1] +
                         (1 - u) * (1 + v) * I[o + M] + (1 + u) * (1 + v) * I[o + M + 1]);
    }
}

// out[k] for all count points (X[k], Y[k]), over threads.
template <Border B>
void bilinSample(const double *X, const double *Y, Index count, const double *I, Index M, Index N,
                 double *out) {
    grid::parallelBlocks(count, 1, [&](Index begin, Index end) {
        bilinSampleRange<B>(X, Y, begin, end, I, M, N, out);
    });
}

}  // namespace pixel

#endif
