// The first-order Godunov upwind gradient magnitude |grad phi| from the
// upwind pairs along x and y.  Which side is upwind depends on a sign: the
// field's own sign when redistancing, the speed's sign when propagating.
#ifndef GRIDMEX_LEVELSET_GODUNOV_H
#define GRIDMEX_LEVELSET_GODUNOV_H

#include "levelset/differences.h"

#include <cmath>

namespace levelset {

// Positive and negative parts, formed as d * 0.5 * 2 and d * 0.5 * 0: that
// form fixes the result for subnormal and infinite differences.  A value
// that is not below 0 (NaN included) is positive.
inline double positivePart(double d) { return d * 0.5 * (d < 0 ? 0.0 : 2.0); }
inline double negativePart(double d) { return d * 0.5 * (d < 0 ? 2.0 : 0.0); }

inline double largerSquare(double a, double b) {
    const double a2 = a * a, b2 = b * b;
    return a2 < b2 ? b2 : a2;
}

// Upwind term of one axis: max(neg(bwd)^2, pos(fwd)^2) for a negative sign,
// max(pos(bwd)^2, neg(fwd)^2) for a sign of 0 or more.
inline double upwindTerm(Upwind d, bool negative) {
    const double forNegative = largerSquare(negativePart(d.bwd), positivePart(d.fwd));
    const double forPositive = largerSquare(positivePart(d.bwd), negativePart(d.fwd));
    return negative ? forNegative : forPositive;
}

inline double upwindMagnitude(Upwind x, Upwind y, bool negative) {
    return std::sqrt(upwindTerm(x, negative) + upwindTerm(y, negative));
}

}  // namespace levelset

#endif
