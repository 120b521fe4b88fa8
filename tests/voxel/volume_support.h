// Volumes built from a function of the voxel indices, and the volume
// plug-ins called at lists of points.
#ifndef GRIDMEX_VOLUME_SUPPORT_H
#define GRIDMEX_VOLUME_SUPPORT_H

#include "tests/support/plugin_test.h"

#include <limits>
#include <vector>

namespace voxel_test {

using namespace testing_support;

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// An M x N x P volume with V(i, j, k) = f(i, j, k), 1-based.
template <typename F>
ArrayPtr volume(mwSize M, mwSize N, mwSize P, F f) {
    ArrayPtr a = array({M, N, P});
    double *v = mxGetPr(a.get());
    for (mwSize k = 1; k <= P; ++k)
        for (mwSize j = 1; j <= N; ++j)
            for (mwSize i = 1; i <= M; ++i)
                v[(i - 1) + M * ((j - 1) + N * (k - 1))] = f(double(i), double(j), double(k));
    return a;
}

// The outputs of `name` (nlhs of them) at the points (xs[p], ys[p], zs[p]),
// each as a vector; empty vectors when the call fails.
inline std::vector<std::vector<double>> sample(const char *name, int nlhs, const ArrayPtr &vol,
                                               const std::vector<double> &xs, const std::vector<double> &ys,
                                               const std::vector<double> &zs) {
    ArrayPtr X = row(xs), Y = row(ys), Z = row(zs);
    std::vector<ArrayPtr> out = run(name, nlhs, {&X, &Y, &Z, &vol});
    std::vector<std::vector<double>> result(nlhs);
    for (std::size_t o = 0; o < out.size(); ++o) result[o] = values(out[o].get());
    return result;
}

// The outputs of `name` at one point.
inline std::vector<double> sampleOne(const char *name, int nlhs, const ArrayPtr &vol, double x, double y, double z) {
    std::vector<std::vector<double>> out = sample(name, nlhs, vol, {x}, {y}, {z});
    std::vector<double> first;
    for (const std::vector<double> &o : out) first.push_back(o.empty() ? NaN : o[0]);
    return first;
}

}  // namespace voxel_test

#endif
