// What every C++ test of a plug-in needs: the plug-in loaded through the
// own host by name, arrays built from values, and values read back.
#ifndef GRIDMEX_PLUGIN_TEST_H
#define GRIDMEX_PLUGIN_TEST_H

#include "mexhost.h"
#include "tests/support/plugin_path.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

using mexhost::ArrayPtr;
using mexhost::CallResult;

// The build of a plug-in under test (plugin_path.h), loaded once per test
// program.
inline const mexhost::Plugin &plugin(const std::string &name) {
    static std::map<std::string, std::unique_ptr<mexhost::Plugin>> loaded;
    auto &slot = loaded[name];
    if (!slot) slot = std::make_unique<mexhost::Plugin>(pluginPath(name));
    return *slot;
}

// A real double array of the given dimensions, filled column-major.
inline ArrayPtr array(std::vector<mwSize> dims, const std::vector<double> &values = {}) {
    ArrayPtr a(mxCreateNumericArray(dims.size(), dims.data(), mxDOUBLE_CLASS, mxREAL));
    if (!values.empty()) {
        EXPECT_EQ(values.size(), mxGetNumberOfElements(a.get()));
        std::memcpy(mxGetPr(a.get()), values.data(), values.size() * sizeof(double));
    }
    return a;
}

inline ArrayPtr matrix(mwSize m, mwSize n, const std::vector<double> &values = {}) { return array({m, n}, values); }
inline ArrayPtr scalar(double v) { return matrix(1, 1, {v}); }
inline ArrayPtr row(const std::vector<double> &values) { return matrix(1, values.size(), values); }

// An array of any class, zero-filled, for the class checks.
inline ArrayPtr ofClass(mxClassID cls, mwSize m, mwSize n, mxComplexity cx = mxREAL) {
    return ArrayPtr(mxCreateNumericMatrix(m, n, cls, cx));
}

// An M x N image with I(r, c) = f(r, c), 1-based.
template <typename F>
ArrayPtr image(mwSize M, mwSize N, F f) {
    ArrayPtr a = matrix(M, N);
    double *p = mxGetPr(a.get());
    for (mwSize c = 1; c <= N; ++c)
        for (mwSize r = 1; r <= M; ++r) p[(r - 1) + M * (c - 1)] = f(double(r), double(c));
    return a;
}

inline std::vector<double> values(const mxArray *a) {
    const double *p = mxGetPr(a);
    return std::vector<double>(p, p + mxGetNumberOfElements(a));
}

inline std::vector<mwSize> dims(const mxArray *a) {
    const mwSize *d = mxGetDimensions(a);
    return std::vector<mwSize>(d, d + mxGetNumberOfDimensions(a));
}

// Calls a plug-in with borrowed inputs.
inline CallResult call(const std::string &name, int nlhs, std::initializer_list<const ArrayPtr *> inputs) {
    std::vector<const mxArray *> raw;
    for (const ArrayPtr *a : inputs) raw.push_back(a->get());
    return plugin(name).call(nlhs, raw);
}

// A call that must succeed; returns its outputs.
inline std::vector<ArrayPtr> run(const std::string &name, int nlhs, std::initializer_list<const ArrayPtr *> inputs) {
    CallResult r = call(name, nlhs, inputs);
    EXPECT_TRUE(r.ok) << name << " failed: " << r.errorText;
    return std::move(r.outputs);
}

// Bit-exact equality, NaN equal to NaN and -0 distinct from +0.
inline bool sameBits(double a, double b) {
    std::uint64_t x, y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}

}  // namespace testing_support

#endif
