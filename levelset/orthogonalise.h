// Reorthogonalisation: one explicit step of psi_t + S(phi) n . grad psi = 0,
// n the unit normal of the reference level set phi.  Repeated steps make psi
// constant along the normals of phi, so that the level lines of the two
// fields cross at right angles.  psi is differenced upwind along S n, phi
// centrally.
#ifndef GRIDMEX_LEVELSET_ORTHOGONALISE_H
#define GRIDMEX_LEVELSET_ORTHOGONALISE_H

#include "levelset/differences.h"
#include "levelset/normal.h"
#include "common/parallel.h"

namespace levelset {

// Parts of a normal component; a NaN has both parts 0, so a cell where phi
// is flat keeps its value.
inline double above(double v) { return v > 0 ? v : 0.0; }
inline double below(double v) { return v < 0 ? v : 0.0; }

inline void orthogonaliseColumns(const double *psi, const double *phi, double *out, Index M, Index N, double ih,
                                 double dt, Index qBegin, Index qEnd) {
    const double half = ih * 0.5;
    for (Index q = qBegin; q < qEnd; ++q) {
        const double *c = psi + M * q;
        const double *p = phi + M * q;
        double *o = out + M * q;
        const UpwindY dy = upwindY(psi, M, N, q);
        const CentralY gy = centralY(phi, M, N, q, ih);
        eachRow(M, [&](auto row, Index r) {
            const Upwind x = upwindX(row, c, r, ih);
            const Upwind y = dy.at(r, ih);
            const Normal n = unitNormal(centralX(row, p, r, ih, half), gy.at(r));
            const double S = sign(p[r]);
            const double nx = n.x * S, ny = n.y * S;
            const double flux = ((above(nx) * x.bwd + below(nx) * x.fwd) + above(ny) * y.bwd) + below(ny) * y.fwd;
            o[r] = c[r] - dt * flux;
        });
    }
}

// One step over the whole M x N grid, over threads by columns.
inline void orthogonalise(const double *psi, const double *phi, double *out, Index M, Index N, double ih, double dt) {
    grid::parallelBlocks(
        N, M, [&](Index qBegin, Index qEnd) { orthogonaliseColumns(psi, phi, out, M, N, ih, dt, qBegin, qEnd); });
}

}  // namespace levelset

#endif
