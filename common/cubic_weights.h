// One-dimensional weights of the local natural cubic spline: the spline
// through four equally spaced samples (offsets -1, 0, +1, +2) with zero
// second derivative at the outer two, evaluated at t in [0, 1) on the middle
// interval, and the derivatives of those weights with respect to t.
//
// Factored, the weights are
//   w(-1) = -(7/15)t + (4/5)t^2 - (1/3)t^3     w(0) = 1 - (1/5)t - (9/5)t^2 + t^3
//   w(+1) =  (4/5)t + (6/5)t^2 - t^3           w(+2) = -(2/15)t - (1/5)t^2 + (1/3)t^3
// Two evaluations of them are in use and both are kept as they are, because
// each fixes the last bit of its plug-ins' results: the image plug-ins use the
// expanded polynomials with 15-digit decimal constants, the volume plug-ins
// the nested forms with exact double constants.
#ifndef GRIDMEX_CUBIC_WEIGHTS_H
#define GRIDMEX_CUBIC_WEIGHTS_H

namespace cubic {

// The constants of the expanded form, 15 significant digits where the
// fraction does not end; the four-lane kernels take theirs from here too.
namespace expanded {
constexpr double kSevenFifteenths = 0.466666666666667;
constexpr double kTwoFifteenths = 0.133333333333333;
constexpr double kThird = 0.333333333333333;
constexpr double kFifth = 0.2, kTwoFifths = 0.4, kFourFifths = 0.8;
constexpr double kSixFifths = 1.2, kEightFifths = 1.6, kNineFifths = 1.8;
constexpr double kTwelveFifths = 2.4, kEighteenFifths = 3.6;
}  // namespace expanded

inline void expandedWeights(double s, double w[4]) {
    using namespace expanded;
    const double s2 = s * s, s3 = s2 * s;
    w[0] = -kSevenFifteenths * s + kFourFifths * s2 - kThird * s3;
    w[1] = 1.0 - kFifth * s - kNineFifths * s2 + s3;
    w[2] = kFourFifths * s + kSixFifths * s2 - s3;
    w[3] = -kTwoFifteenths * s - kFifth * s2 + kThird * s3;
}

inline void expandedSlopes(double s, double d[4]) {
    using namespace expanded;
    const double s2 = s * s;
    d[0] = -kSevenFifteenths + kEightFifths * s - s2;
    d[1] = -kFifth - kEighteenFifths * s + 3.0 * s2;
    d[2] = kFourFifths + kTwelveFifths * s - 3.0 * s2;
    d[3] = -kTwoFifteenths - kTwoFifths * s + s2;
}

// Nested form: 0.2t times a bracket in t.
inline void nestedWeights(double t, double w[4]) {
    const double a = 0.2 * t;
    w[0] = a * ((4.0 - 5.0 * t / 3.0) * t - 7.0 / 3.0);
    w[1] = a * ((5.0 * t - 9.0) * t - 1.0) + 1.0;
    w[2] = a * ((6.0 - 5.0 * t) * t + 4.0);
    w[3] = a * ((5.0 * t / 3.0 - 1.0) * t - 2.0 / 3.0);
}

// Product rule on the nested form: 0.2 times the bracket plus 0.2t times the
// bracket's derivative.
inline void nestedSlopes(double t, double d[4]) {
    const double a = 0.2 * t;
    d[0] = 0.2 * ((4.0 - 5.0 * t / 3.0) * t - 7.0 / 3.0) + a * (4.0 - 10.0 * t / 3.0);
    d[1] = 0.2 * ((5.0 * t - 9.0) * t - 1.0) + a * (10.0 * t - 9.0);
    d[2] = 0.2 * ((6.0 - 5.0 * t) * t + 4.0) + a * (6.0 - 10.0 * t);
    d[3] = 0.2 * ((5.0 * t / 3.0 - 1.0) * t - 2.0 / 3.0) + a * (10.0 * t / 3.0 - 1.0);
}

}  // namespace cubic

#endif
