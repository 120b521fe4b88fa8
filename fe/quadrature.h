// Integration points of one element laid over a pixel or voxel grid: for
// each candidate point (as a rule a pixel or voxel centre) the local
// coordinates found by Newton inversion of the element mapping, and weight 1
// when they lie strictly inside the reference element.  A point outside gets
// local coordinates 0 and weight 0.
//
// Newton starts at the local origin.  A Jacobian determinant that is not
// positive (clockwise or degenerate node order, or NaN) stops the point at
// the sentinel coordinate 2, which every inside test rejects.  The
// iteration stops once the squared step is no larger than 1e-12, or after a
// fixed number of steps; the last iterate then goes to the inside test.
#ifndef GRIDMEX_FE_QUADRATURE_H
#define GRIDMEX_FE_QUADRATURE_H

#include "fe/elements.h"
#include "common/parallel.h"

#include <algorithm>

namespace fe {

using Index = std::int64_t;

constexpr double kStepTolerance = 1e-12;  // on the squared Newton step
constexpr int kMaxSteps2 = 1000;
constexpr int kMaxSteps3 = 100000;
constexpr double kNoJacobian = 2.0;  // local coordinate left by a non-positive determinant

// Rough cost of one point relative to one sampled pixel, for the thread split.
constexpr Index kPointCost2 = 32;
constexpr Index kPointCost3 = 128;

// Points [begin, end) of a 2-D element with nodes (xn[i], yn[i]).
template <class E>
void quadPixelsRange(const double *xn, const double *yn, const double *xpix, const double *ypix, Index begin, Index end,
                     double *xg, double *yg, double *wg) {
    double X[E::kNodes], Y[E::kNodes];
    for (int i = 0; i < E::kNodes; ++i) {
        X[i] = xn[i];
        Y[i] = yn[i];
    }
    for (Index p = begin; p < end; ++p) {
        double xi = 0, eta = 0;
        for (int k = 1;; ++k) {
            double N[E::kNodes], dXi[E::kNodes], dEta[E::kNodes];
            E::values(xi, eta, N);
            E::slopes(xi, eta, dXi, dEta);
            double x = 0, y = 0, xXi = 0, xEta = 0, yXi = 0, yEta = 0;
            for (int i = 0; i < E::kNodes; ++i) {
                x += N[i] * X[i];
                y += N[i] * Y[i];
                xXi += dXi[i] * X[i];
                xEta += dEta[i] * X[i];
                yXi += dXi[i] * Y[i];
                yEta += dEta[i] * Y[i];
            }
            double det = xXi * yEta - yXi * xEta;
            if (!(det > 0)) {
                xi = eta = kNoJacobian;
                break;
            }
            double rx = xpix[p] - x, ry = ypix[p] - y;
            double dxi = (yEta / det) * rx + (-xEta / det) * ry;
            double deta = (xXi / det) * ry + (-yXi / det) * rx;
            xi += dxi;
            eta += deta;
            if (!(dxi * dxi + deta * deta > kStepTolerance && k < kMaxSteps2)) break;
        }
        bool in = E::inside(xi, eta);
        xg[p] = in ? xi : 0;
        yg[p] = in ? eta : 0;
        wg[p] = in ? 1 : 0;
    }
}

// Points [begin, end) of a 3-D element with nodes (xn[i], yn[i], zn[i]); the
// step solves the Jacobian system with its adjugate, each cofactor divided
// by the determinant before it meets its residual.
template <class E>
void quadVoxelsRange(const double *xn, const double *yn, const double *zn, const double *xpix, const double *ypix,
                     const double *zpix, Index begin, Index end, double *xg, double *yg, double *zg, double *wg) {
    double X[E::kNodes], Y[E::kNodes], Z[E::kNodes];
    for (int i = 0; i < E::kNodes; ++i) {
        X[i] = xn[i];
        Y[i] = yn[i];
        Z[i] = zn[i];
    }
    for (Index p = begin; p < end; ++p) {
        double xi = 0, eta = 0, zeta = 0;
        for (int k = 1;; ++k) {
            double N[E::kNodes], dXi[E::kNodes], dEta[E::kNodes], dZeta[E::kNodes];
            E::values(xi, eta, zeta, N);
            E::slopes(xi, eta, zeta, dXi, dEta, dZeta);
            double x = 0, y = 0, z = 0;
            double xXi = 0, xEta = 0, xZeta = 0, yXi = 0, yEta = 0, yZeta = 0, zXi = 0, zEta = 0, zZeta = 0;
            for (int i = 0; i < E::kNodes; ++i) {
                x += N[i] * X[i];
                y += N[i] * Y[i];
                z += N[i] * Z[i];
                xXi += dXi[i] * X[i];
                xEta += dEta[i] * X[i];
                xZeta += dZeta[i] * X[i];
                yXi += dXi[i] * Y[i];
                yEta += dEta[i] * Y[i];
                yZeta += dZeta[i] * Y[i];
                zXi += dXi[i] * Z[i];
                zEta += dEta[i] * Z[i];
                zZeta += dZeta[i] * Z[i];
            }
            double det = xXi * (yEta * zZeta - yZeta * zEta) - xEta * (yXi * zZeta - yZeta * zXi) +
                         xZeta * (yXi * zEta - yEta * zXi);
            if (!(det > 0)) {
                xi = eta = zeta = kNoJacobian;
                break;
            }
            double rx = xpix[p] - x, ry = ypix[p] - y, rz = zpix[p] - z;
            double dxi = ((yEta * zZeta - yZeta * zEta) / det) * rx - ((xEta * zZeta - xZeta * zEta) / det) * ry +
                         ((xEta * yZeta - xZeta * yEta) / det) * rz;
            double deta = (-(yXi * zZeta - yZeta * zXi) / det) * rx + ((xXi * zZeta - xZeta * zXi) / det) * ry -
                          ((xXi * yZeta - xZeta * yXi) / det) * rz;
            double dzeta = ((yXi * zEta - yEta * zXi) / det) * rx - ((xXi * zEta - xEta * zXi) / det) * ry +
                           ((xXi * yEta - xEta * yXi) / det) * rz;
            xi += dxi;
            eta += deta;
            zeta += dzeta;
            if (!(dxi * dxi + deta * deta + dzeta * dzeta > kStepTolerance && k < kMaxSteps3)) break;
        }
        bool in = E::inside(xi, eta, zeta);
        xg[p] = in ? xi : 0;
        yg[p] = in ? eta : 0;
        zg[p] = in ? zeta : 0;
        wg[p] = in ? 1 : 0;
    }
}

template <class E>
void quadPixels(const double *xn, const double *yn, const double *xpix, const double *ypix, Index n, double *xg,
                double *yg, double *wg) {
    grid::parallelBlocks(n, kPointCost2, [&](Index begin, Index end) {
        quadPixelsRange<E>(xn, yn, xpix, ypix, begin, end, xg, yg, wg);
    });
}

template <class E>
void quadVoxels(const double *xn, const double *yn, const double *zn, const double *xpix, const double *ypix,
                const double *zpix, Index n, double *xg, double *yg, double *zg, double *wg) {
    grid::parallelBlocks(n, kPointCost3, [&](Index begin, Index end) {
        quadVoxelsRange<E>(xn, yn, zn, xpix, ypix, zpix, begin, end, xg, yg, zg, wg);
    });
}

// The local coordinates and weights of the n points for an element code that
// serves no element: the node sums are empty, the determinant is 0, and
// every point keeps the sentinel coordinate and weight 0.
inline void markUnserved(Index n, double *const *coords, int dims, double *wg) {
    for (int d = 0; d < dims; ++d) std::fill(coords[d], coords[d] + n, kNoJacobian);
    std::fill(wg, wg + n, 0.0);
}

}  // namespace fe

#endif
