// Shape-function values of one reference element at a list of points given
// in local coordinates: FF(p, k) = N_k at point p, FF column-major with n
// rows.  Columns beyond the element's nodes are left as they are (zeros in a
// fresh output).  Points outside the reference domain get the polynomial
// values as they are.  FF is a fresh output and never overlaps the inputs
// (restrict lets the point loops vectorise).
#ifndef GRIDMEX_FE_SHAPE_VALUES_H
#define GRIDMEX_FE_SHAPE_VALUES_H

#include "fe/elements.h"
#include "common/parallel.h"

namespace fe {

using Index = std::int64_t;

template <class E>
void shapeValues2Range(const double *__restrict xg, const double *__restrict yg, Index begin, Index end, Index n,
                       double *__restrict FF) {
    for (Index p = begin; p < end; ++p) {
        double N[E::kNodes];
        E::values(xg[p], yg[p], N);
        for (int k = 0; k < E::kNodes; ++k) FF[k * n + p] = N[k];
    }
}

template <class E>
void shapeValues3Range(const double *__restrict xg, const double *__restrict yg, const double *__restrict zg,
                       Index begin, Index end, Index n, double *__restrict FF) {
    for (Index p = begin; p < end; ++p) {
        double N[E::kNodes];
        E::values(xg[p], yg[p], zg[p], N);
        for (int k = 0; k < E::kNodes; ++k) FF[k * n + p] = N[k];
    }
}

// The n points (xg[p], yg[p]), over threads.
template <class E>
void shapeValues2(const double *xg, const double *yg, Index n, double *FF) {
    grid::parallelBlocks(n, E::kNodes,
                         [&](Index begin, Index end) { shapeValues2Range<E>(xg, yg, begin, end, n, FF); });
}

// The n points (xg[p], yg[p], zg[p]), over threads.
template <class E>
void shapeValues3(const double *xg, const double *yg, const double *zg, Index n, double *FF) {
    grid::parallelBlocks(n, E::kNodes,
                         [&](Index begin, Index end) { shapeValues3Range<E>(xg, yg, zg, begin, end, n, FF); });
}

}  // namespace fe

#endif
