// Redistancing: explicit pseudo-time steps of phi_t + S(phi)(|grad phi| - 1)
// = 0, which bring a level-set function towards a signed distance (gradient
// magnitude 1); the first-order scheme moves the zero level by a fraction of
// a cell.  S is the sharp sign of the field being stepped, taken anew at
// every step, 0 counting as positive.
#ifndef GRIDMEX_LEVELSET_REDISTANCE_H
#define GRIDMEX_LEVELSET_REDISTANCE_H

#include "levelset/differences.h"
#include "levelset/godunov.h"
#include "common/parallel.h"

#include <cstring>
#include <utility>

namespace levelset {

// One step for the columns [qBegin, qEnd): dst = src - dt (G - 1) where src
// is 0 or more, src - dt (1 - G) where it is negative, G the upwind
// magnitude for that sign.
inline void redistanceColumns(const double *src, double *dst, Index M, Index N, double dt, double ih, Index qBegin,
                              Index qEnd) {
    for (Index q = qBegin; q < qEnd; ++q) {
        const double *c = src + M * q;
        double *out = dst + M * q;
        const UpwindY y = upwindY(src, M, N, q);
        eachRow(M, [&](auto row, Index r) {
            const double v = c[r];
            const bool negative = v < 0;
            const double G = upwindMagnitude(upwindX(row, c, r, ih), y.at(r, ih), negative);
            out[r] = v - dt * (negative ? 1 - G : G - 1);
        });
    }
}

// One step from the M x N field src into dst (the two never overlap), over
// threads by columns.
inline void redistanceStep(const double *src, double *dst, Index M, Index N, double dt, double ih) {
    grid::parallelBlocks(N, M,
                         [&](Index qBegin, Index qEnd) { redistanceColumns(src, dst, M, N, dt, ih, qBegin, qEnd); });
}

// Whether the running pseudo-time t = 0, dt, 2 dt, ... of redistance()
// passes T after a number of steps that can finish.  Below 2^53 dt a unit in
// the last place of t is less than 2 dt, so every addition raises t and T is
// passed.  From there on t may stop growing (it does for an infinite T or a
// dt of 0, and the loop would never end); where it still grows, the call
// needs 2^52 steps or more, far beyond any run that can complete.
inline bool redistanceEnds(double dt, double T) { return !(T >= 0x1p53 * dt); }

// Steps of dt = h * 0.5 while the running sum t = 0, dt, 2 dt, ... has not
// passed T: none for a negative T (or NaN), one for T = 0.  a and b are
// scratch of M x N values each, used alternately as source and destination;
// out receives the final field.  Needs redistanceEnds(h * 0.5, T).
inline void redistance(const double *phi0, Index M, Index N, double h, double T, double *a, double *b, double *out) {
    const double dt = h * 0.5;
    const double ih = 1.0 / h;
    const std::size_t bytes = static_cast<std::size_t>(M * N) * sizeof(double);
    std::memcpy(a, phi0, bytes);
    for (double t = 0; t <= T; t = t + dt) {
        redistanceStep(a, b, M, N, dt, ih);
        std::swap(a, b);
    }
    std::memcpy(out, a, bytes);
}

}  // namespace levelset

#endif
