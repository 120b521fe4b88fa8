// Calls of feQuadPixels and feQuadVoxels with points given as plain
// vectors, results read back as vectors.
#ifndef GRIDMEX_TESTS_QUAD_CALLS_H
#define GRIDMEX_TESTS_QUAD_CALLS_H

#include "tests/support/plugin_test.h"

namespace testing_support {

// Local coordinates and weights of n points; zg is empty in 2-D.
struct QuadPoints {
    std::vector<double> xg, yg, zg, wg;
};

inline ArrayPtr column(const std::vector<double> &v) { return matrix(v.size(), 1, v); }

inline QuadPoints quadPixels(double elt, const std::vector<double> &xn, const std::vector<double> &yn,
                             const std::vector<double> &xpix, const std::vector<double> &ypix) {
    ArrayPtr E = scalar(elt), X = column(xn), Y = column(yn), P = column(xpix), Q = column(ypix);
    std::vector<ArrayPtr> out = run("feQuadPixels", 3, {&E, &X, &Y, &P, &Q});
    if (out.size() != 3) return {};
    return {values(out[0].get()), values(out[1].get()), {}, values(out[2].get())};
}

inline QuadPoints quadVoxels(double elt, const std::vector<double> &xn, const std::vector<double> &yn,
                             const std::vector<double> &zn, const std::vector<double> &xpix,
                             const std::vector<double> &ypix, const std::vector<double> &zpix) {
    ArrayPtr E = scalar(elt), X = column(xn), Y = column(yn), Z = column(zn), P = column(xpix), Q = column(ypix),
             R = column(zpix);
    std::vector<ArrayPtr> out = run("feQuadVoxels", 4, {&E, &X, &Y, &Z, &P, &Q, &R});
    if (out.size() != 4) return {};
    return {values(out[0].get()), values(out[1].get()), values(out[2].get()), values(out[3].get())};
}

}  // namespace testing_support

#endif
