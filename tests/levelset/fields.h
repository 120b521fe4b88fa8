// Grid fields for the level-set tests: f(r, q) over an M x N grid (0-based
// row r, column q, column-major), a circle's signed distance, and one call
// of a plug-in returning its values.
#ifndef GRIDMEX_TESTS_LEVELSET_FIELDS_H
#define GRIDMEX_TESTS_LEVELSET_FIELDS_H

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/plugin_test.h"

namespace levelset_test {

using namespace testing_support;

template <typename F>
ArrayPtr field(mwSize M, mwSize N, F f) {
    ArrayPtr a = matrix(M, N);
    for (mwSize q = 0; q < N; ++q)
        for (mwSize r = 0; r < M; ++r) mxGetPr(a.get())[r + M * q] = f(double(r), double(q));
    return a;
}

// Signed distance to a circle of radius R centred off the grid points.
struct Circle {
    double r0 = 31.3, q0 = 32.6, R = 20;
    double operator()(double r, double q) const { return std::hypot(r - r0, q - q0) - R; }
};

// Values of name(inputs...) with one output; empty when the call fails.
inline std::vector<double> step(const std::string &name, std::initializer_list<const ArrayPtr *> inputs) {
    std::vector<ArrayPtr> out = run(name, 1, inputs);
    return out.empty() ? std::vector<double>{} : values(out[0].get());
}

// out[r + M q] = f(r, q), for comparing with a hand-derived expectation.
template <typename F>
std::vector<double> expected(mwSize M, mwSize N, F f) {
    return values(field(M, N, f).get());
}

}  // namespace levelset_test

#endif
