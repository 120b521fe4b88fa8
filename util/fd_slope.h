// Finite-difference derivative of an M x N column-major array of any element
// type down each of its columns, on a unit grid: one-sided differences at the
// first and last row, central differences in between.
#ifndef GRIDMEX_FD_SLOPE_H
#define GRIDMEX_FD_SLOPE_H

#include "common/grid.h"
#include "common/parallel.h"

namespace util {

using grid::Index;

// Columns [begin, end) of d from those of a; M >= 2.
template <typename T>
void fdSlopeRange(const T *__restrict a, Index M, Index begin, Index end, double *__restrict d) {
    using grid::toDouble;
    for (Index c = begin; c < end; ++c) {
        const T *s = a + c * M;
        double *o = d + c * M;
        o[0] = toDouble(s[1]) - toDouble(s[0]);
        for (Index r = 1; r < M - 1; ++r) o[r] = 0.5 * (toDouble(s[r + 1]) - toDouble(s[r - 1]));
        o[M - 1] = toDouble(s[M - 1]) - toDouble(s[M - 2]);
    }
}

// All N columns, over threads; M >= 2 whenever N > 0.
template <typename T>
void fdSlope(const T *a, Index M, Index N, double *d) {
    grid::parallelBlocks(N, M, [&](Index begin, Index end) { fdSlopeRange(a, M, begin, end, d); });
}

}  // namespace util

#endif
