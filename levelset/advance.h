// Propagation: one explicit step of phi_t + F |grad phi| = 0, which moves
// the zero level of phi along its normal with the speed F given at every
// cell.  The upwind side follows the sign of the speed.
#ifndef GRIDMEX_LEVELSET_ADVANCE_H
#define GRIDMEX_LEVELSET_ADVANCE_H

#include "levelset/differences.h"
#include "levelset/godunov.h"
#include "common/parallel.h"

namespace levelset {

// out = phi - (G F) dt for the columns [qBegin, qEnd), G the upwind
// magnitude for the sign of F (0 counting as positive).
inline void advanceColumns(const double *phi, const double *F, double *out, Index M, Index N, double ih, double dt,
                           Index qBegin, Index qEnd) {
    for (Index q = qBegin; q < qEnd; ++q) {
        const double *c = phi + M * q;
        const double *s = F + M * q;
        double *o = out + M * q;
        const UpwindY y = upwindY(phi, M, N, q);
        eachRow(M, [&](auto row, Index r) {
            const double G = upwindMagnitude(upwindX(row, c, r, ih), y.at(r, ih), s[r] < 0);
            o[r] = c[r] - (G * s[r]) * dt;
        });
    }
}

// One step over the whole M x N grid, over threads by columns.
inline void advance(const double *phi, const double *F, double *out, Index M, Index N, double ih, double dt) {
    grid::parallelBlocks(N, M,
                         [&](Index qBegin, Index qEnd) { advanceColumns(phi, F, out, M, N, ih, dt, qBegin, qEnd); });
}

}  // namespace levelset

#endif
