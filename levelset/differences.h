// Differences of a field on a regular M x N grid (column-major, rows along x
// with stride 1, columns along y with stride M), every difference multiplied
// by ih = 1/h.  The first and last row and column take one-sided
// differences; inside the grid the upwind pair is the forward and backward
// difference and the central difference spans two cells with ih * 0.5.
//
// The kernels walk one column at a time: the column's y-differences come
// from a few pointers chosen once per column, and the rows are visited as
// the first row, the inner rows (a plain loop the compiler can vectorise)
// and the last row.  Fields need M >= 2 and N >= 2.
#ifndef GRIDMEX_LEVELSET_DIFFERENCES_H
#define GRIDMEX_LEVELSET_DIFFERENCES_H

#include "common/grid.h"

namespace levelset {

using grid::Index;

// Forward and backward difference at one cell along one axis.  At a border
// both hold the same one-sided difference.
struct Upwind {
    double fwd, bwd;
};

// Where a row lies; selects the x-differences at compile time.
struct FirstRow {};
struct InnerRow {};
struct LastRow {};

// Calls cell(position, r) for every row r of a column, in storage order.
template <typename Cell>
inline void eachRow(Index M, Cell &&cell) {
    cell(FirstRow{}, Index{0});
    for (Index r = 1; r < M - 1; ++r) cell(InnerRow{}, r);
    cell(LastRow{}, M - 1);
}

// Upwind pair along x of the column c at row r.
inline Upwind upwindX(FirstRow, const double *c, Index r, double ih) {
    const double d = (c[r + 1] - c[r]) * ih;
    return {d, d};
}
inline Upwind upwindX(InnerRow, const double *c, Index r, double ih) {
    return {(c[r + 1] - c[r]) * ih, (c[r] - c[r - 1]) * ih};
}
inline Upwind upwindX(LastRow, const double *c, Index r, double ih) {
    const double d = (c[r] - c[r - 1]) * ih;
    return {d, d};
}

// Central difference along x of the column c at row r; half = ih * 0.5.
inline double centralX(FirstRow, const double *c, Index r, double ih, double) { return (c[r + 1] - c[r]) * ih; }
inline double centralX(InnerRow, const double *c, Index r, double, double half) { return (c[r + 1] - c[r - 1]) * half; }
inline double centralX(LastRow, const double *c, Index r, double ih, double) { return (c[r] - c[r - 1]) * ih; }

// Upwind pairs along y in column q: each difference is hi[r] - lo[r] of two
// neighbouring columns, the first column's forward difference standing in
// for its backward one and the last column's backward for its forward one.
struct UpwindY {
    const double *fwdHi, *fwdLo, *bwdHi, *bwdLo;
    Upwind at(Index r, double ih) const { return {(fwdHi[r] - fwdLo[r]) * ih, (bwdHi[r] - bwdLo[r]) * ih}; }
};

inline UpwindY upwindY(const double *f, Index M, Index N, Index q) {
    const double *c = f + M * q;
    if (q == 0) return {c + M, c, c + M, c};
    if (q == N - 1) return {c, c - M, c, c - M};
    return {c + M, c, c, c - M};
}

// Central differences along y in column q: one-sided with ih in the first
// and last column, over two columns with ih * 0.5 inside.
struct CentralY {
    const double *hi, *lo;
    double factor;
    double at(Index r) const { return (hi[r] - lo[r]) * factor; }
};

inline CentralY centralY(const double *f, Index M, Index N, Index q, double ih) {
    const double *c = f + M * q;
    if (q == 0) return {c + M, c, ih};
    if (q == N - 1) return {c, c - M, ih};
    return {c + M, c - M, ih * 0.5};
}

}  // namespace levelset

#endif
