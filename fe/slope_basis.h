// The gradient-weighted basis of an image or a volume: the columns of a basis
// matrix, one row per visited pixel or voxel, multiplied by the grid's own
// finite-difference derivative along each axis at that pixel or voxel.
//
// Grid point (r, c, k), 0-based, of a grid of any element type is stored at
// offset r + M c + M N k.  The visited points form a tensor grid: along each
// axis a sequence of indices (every s-th index, or a list), numbered with the
// first axis fastest.  Visited point i reads row i of the basis and fills
// row i of each block of F result columns: block 0 the first-axis
// derivative, block 1 the second, block 2 the third.  Result rows beyond the visited points are left alone.
#ifndef GRIDMEX_SLOPE_BASIS_H
#define GRIDMEX_SLOPE_BASIS_H

#include "common/compiler.h"
#include "common/grid.h"
#include "common/parallel.h"

#include <cstdint>
#include <limits>

namespace fe {

using grid::Index;

// Visited indices 0, s, 2s, ... below the extent of an axis.
struct StepAxis {
    Index step;
    Index count;
    Index at(Index a) const { return a * step; }
};

inline Index stepCount(Index extent, Index step) { return extent > 0 ? (extent - 1) / step + 1 : 0; }

// Visited indices read from a list of 0-based int32 indices.
struct ListAxis {
    const std::int32_t *index;
    Index count;
    Index at(Index a) const { return index[a]; }
};

// Number of visited points, saturated at the largest Index so that lists
// too long to multiply still compare as larger than any basis.
template <int D, typename Axis>
Index visitedCount(const Axis *axis) {
    Index n = 1;
    for (int q = 0; q < D; ++q) {
        if (axis[q].count == 0) return 0;
        if (compiler::mulOverflows(n, axis[q].count, &n)) n = std::numeric_limits<Index>::max();
    }
    return n;
}

// The difference rule along one axis at index `at` of an axis whose last
// index is `last` (at least 1), always between direct neighbours: forward at
// index 0 (tested first), backward at the last index, centred otherwise.
// The rule is held as the offsets of the two samples it subtracts and the
// factor it applies; a one-sided difference is multiplied by 1.0, which is
// exact, so p[hi] - p[lo] and (p[hi] - p[lo]) * factor agree to the bit.
struct AxisRule {
    Index hi, lo;
    double factor;
};

inline AxisRule axisRule(Index at, Index last, Index stride) {
    if (at == 0) return {stride, 0, 1.0};
    if (at == last) return {0, -stride, 1.0};
    return {stride, -stride, 0.5};
}

template <typename T>
inline double axisSlope(const T *p, const AxisRule &rule) {
    return (grid::toDouble(p[rule.hi]) - grid::toDouble(p[rule.lo])) * rule.factor;
}

// Visited points per block: their derivatives are kept on the stack, and the
// result is then written column by column, so that a tall result with many
// columns is filled in storage order instead of one row at a time.
constexpr Index kSlopeBlock = 256;

// Derivatives of the n visited points that follow the one at list positions
// pos (first axis fastest); pos moves on past them.  Runs along the first
// axis share the rules of the other axes.
template <int D, typename T, typename Axis>
void blockSlopes(const T *f, const Index *extent, const Index *stride, const Axis *axis, Index *pos, Index n,
                 double (*slope)[kSlopeBlock]) {
    for (Index i = 0; i < n;) {
        Index base = 0;
        AxisRule rule[D];
        for (int q = 1; q < D; ++q) {
            const Index at = axis[q].at(pos[q]);
            base += at * stride[q];
            rule[q] = axisRule(at, extent[q] - 1, stride[q]);
        }
        const Index run = axis[0].count - pos[0] < n - i ? axis[0].count - pos[0] : n - i;
        for (Index a = 0; a < run; ++a) {
            const Index r = axis[0].at(pos[0] + a);
            const T *p = f + base + r;
            slope[0][i + a] = axisSlope(p, axisRule(r, extent[0] - 1, 1));
            for (int q = 1; q < D; ++q) slope[q][i + a] = axisSlope(p, rule[q]);
        }
        i += run;
        pos[0] += run;
        for (int q = 0; q < D && pos[q] == axis[q].count; ++q) {
            pos[q] = 0;
            if (q + 1 < D) ++pos[q + 1];
        }
    }
}

// Visited points [begin, end).  f is the grid with extent[q] >= 2 samples
// along every axis; basis and out have R rows (at least the visited count)
// and F and D F columns.
template <int D, typename T, typename Axis>
void slopeBasisRange(const T *f, const Index *extent, const Axis *axis, const double *basis, Index R, Index F,
                     double *out, Index begin, Index end) {
    if (begin >= end) return;
    Index stride[D];
    stride[0] = 1;
    for (int q = 1; q < D; ++q) stride[q] = stride[q - 1] * extent[q - 1];
    Index pos[D];
    Index rest = begin;
    for (int q = 0; q < D; ++q) {
        pos[q] = rest % axis[q].count;
        rest /= axis[q].count;
    }

    double slope[D][kSlopeBlock];
    for (Index b0 = begin; b0 < end; b0 += kSlopeBlock) {
        const Index n = end - b0 < kSlopeBlock ? end - b0 : kSlopeBlock;
        blockSlopes<D>(f, extent, stride, axis, pos, n, slope);
        for (int q = 0; q < D; ++q) {
            const double *d = slope[q];
            for (Index j = 0; j < F; ++j) {
                const double *b = basis + R * j + b0;
                double *o = out + R * (q * F + j) + b0;
                for (Index i = 0; i < n; ++i) o[i] = d[i] * b[i];
            }
        }
    }
}

// All visited points, over threads.
template <int D, typename T, typename Axis>
void slopeBasis(const T *f, const Index *extent, const Axis *axis, const double *basis, Index R, Index F, double *out) {
    grid::parallelBlocks(visitedCount<D>(axis), D * (F + 1), [&](Index begin, Index end) {
        slopeBasisRange<D>(f, extent, axis, basis, R, F, out, begin, end);
    });
}

}  // namespace fe

#endif
