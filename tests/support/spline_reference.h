// The local natural cubic spline weights in factored form with exact
// fractions, and their derivatives: the reference the tests hold both
// evaluations used by the plug-ins against.
#ifndef GRIDMEX_SPLINE_REFERENCE_H
#define GRIDMEX_SPLINE_REFERENCE_H

namespace testing_support {

inline void factoredSplineWeights(double t, double w[4], double d[4]) {
    w[0] = -(7.0 / 15) * t + (4.0 / 5) * t * t - (1.0 / 3) * t * t * t;
    w[1] = 1 - (1.0 / 5) * t - (9.0 / 5) * t * t + t * t * t;
    w[2] = (4.0 / 5) * t + (6.0 / 5) * t * t - t * t * t;
    w[3] = -(2.0 / 15) * t - (1.0 / 5) * t * t + (1.0 / 3) * t * t * t;
    d[0] = -7.0 / 15 + (8.0 / 5) * t - t * t;
    d[1] = -1.0 / 5 - (18.0 / 5) * t + 3 * t * t;
    d[2] = 4.0 / 5 + (12.0 / 5) * t - 3 * t * t;
    d[3] = -2.0 / 15 - (2.0 / 5) * t + t * t;
}

}  // namespace testing_support

#endif
