// Finite-difference derivative of an M x N column-major array down each of
// its columns, on a unit grid: one-sided differences at the first and last
// row, central differences in between.
#ifndef GRIDMEX_FD_SLOPE_H
#define GRIDMEX_FD_SLOPE_H

#include "grid.h"
#include "parallel.h"

namespace util {

using grid::Index;

// Columns [begin, end) of d from those of a; M >= 2.
inline void fdSlopeRange(const double *__restrict a, Index M, Index begin, Index end,
                         double *__restrict d) {
    for (Index c = begin; c < end; ++c) {
        const double *s = a + c * M;
        double *o = d + c * M;
        o[0] = s[1] - s[0];
        for (Index r = 1; r < M - 1; ++r) o[r] = 0.5 * (s[r + 1] - s[r - 1]);
        o[M - 1] = s[M - 1] - s[M - 2];
    }
}

// All N columns, over threads; M >= 2 whenever N > 0.
inline void fdSlope(const double *a, Index M, Index N, double *d) {
    grid::parallelBlocks(N, M, [&](Index begin, Index end) { fdSlopeRange(a, M, begin, end, d); });
}

}  // namespace util

#endif
