// Extension: one explicit step of u_t + S(phi) n . grad u = 0, n the unit
// normal of the level set phi.  Repeated steps carry the values of u outward
// from the zero level of phi along its normals.  Both fields are differenced
// centrally, without upwinding.  Where phi is flat the normal is not a
// number, and so is the result.
#ifndef GRIDMEX_LEVELSET_EXTEND_H
#define GRIDMEX_LEVELSET_EXTEND_H

#include "levelset/differences.h"
#include "levelset/normal.h"
#include "common/parallel.h"

namespace levelset {

inline void extendColumns(const double *u, const double *phi, double *out, Index M, Index N, double ih, double dt,
                          Index qBegin, Index qEnd) {
    const double half = ih * 0.5;
    for (Index q = qBegin; q < qEnd; ++q) {
        const double *c = u + M * q;
        const double *p = phi + M * q;
        double *o = out + M * q;
        const CentralY fy = centralY(u, M, N, q, ih);
        const CentralY gy = centralY(phi, M, N, q, ih);
        eachRow(M, [&](auto row, Index r) {
            const double fx = centralX(row, c, r, ih, half);
            const Normal n = unitNormal(centralX(row, p, r, ih, half), gy.at(r));
            o[r] = c[r] - ((n.x * fx + n.y * fy.at(r)) * sign(p[r])) * dt;
        });
    }
}

// One step over the whole M x N grid, over threads by columns.
inline void extend(const double *u, const double *phi, double *out, Index M, Index N, double ih, double dt) {
    grid::parallelBlocks(N, M,
                         [&](Index qBegin, Index qEnd) { extendColumns(u, phi, out, M, N, ih, dt, qBegin, qEnd); });
}

}  // namespace levelset

#endif
