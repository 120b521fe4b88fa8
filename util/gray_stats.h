// Mean and sample standard deviation of the grey values of an image or a
// volume, in two passes over the elements in storage order.
#ifndef GRIDMEX_GRAY_STATS_H
#define GRIDMEX_GRAY_STATS_H

#include "common/grid.h"

#include <cmath>

namespace util {

using grid::Index;

// Statistics of the first `count` elements of v, each converted to double
// before it enters a sum.  Both sums run one element after another in
// storage order (rows fastest, then columns, then slices), which fixes their
// last bit; they are therefore not split over threads.  The divisions are
// multiplications by the reciprocals 1/count and 1/(count-1): an empty input
// gives a NaN mean and a deviation of -0, a single element a NaN deviation.
template <typename T>
void grayStats(const T *v, Index count, double *mean, double *dev) {
    double sum = 0.0;
    for (Index k = 0; k < count; ++k) sum += static_cast<double>(v[k]);
    const double mu = (1.0 / static_cast<double>(count)) * sum;

    double squares = 0.0;
    for (Index k = 0; k < count; ++k) {
        const double d = static_cast<double>(v[k]) - mu;
        squares += d * d;
    }
    *mean = mu;
    *dev = std::sqrt(squares * (1.0 / static_cast<double>(count - 1)));
}

}  // namespace util

#endif
