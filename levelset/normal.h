// The unit normal n = grad phi / |grad phi| of a level set from its central
// gradient (gx, gy), and the sharp sign S(phi): -1 below 0, +1 otherwise.
// Where both differences of phi are 0 the normal is 0 * infinity, not a
// number; each kernel says what that gives.
#ifndef GRIDMEX_LEVELSET_NORMAL_H
#define GRIDMEX_LEVELSET_NORMAL_H

#include <cmath>

namespace levelset {

struct Normal {
    double x, y;
};

inline Normal unitNormal(double gx, double gy) {
    const double w = 1.0 / std::sqrt(gx * gx + gy * gy);
    return {gx * w, w * gy};
}

inline double sign(double phi) { return phi < 0 ? -1.0 : 1.0; }

}  // namespace levelset

#endif
