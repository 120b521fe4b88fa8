// Calls of a plug-in as the harness builds them: owned input arrays and the
// number of outputs asked for, the palettes their values come from, random
// arrays of every class and shape the own host can make, the perturbations
// that turn a valid call into a nearly valid one, and a readable account of
// a call for fault reports.
#ifndef GRIDMEX_FUZZ_CALLS_H
#define GRIDMEX_FUZZ_CALLS_H

#include "mexhost.h"
#include "tests/fuzz/source.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

using mexhost::ArrayPtr;
using Dims = std::vector<mwSize>;

struct Call {
    int nlhs = 1;
    std::vector<ArrayPtr> inputs;

    std::vector<const mxArray *> raw() const;
    Call &add(ArrayPtr a) {
        inputs.push_back(std::move(a));
        return *this;
    }
};

// Array construction.
ArrayPtr numeric(const Dims &dims, mxClassID cls = mxDOUBLE_CLASS, mxComplexity cx = mxREAL);
ArrayPtr scalar(double v);
ArrayPtr copyOf(const mxArray *a);
// The values of a numeric, logical or char array converted to class `cls`
// as MATLAB converts them (rounded and saturated for integers).
ArrayPtr inClass(const mxArray *a, mxClassID cls);
// The classes a numeric, logical or char array can have.
const std::vector<mxClassID> &valueClasses();
std::int64_t elements(const Dims &dims);

// Values.
double special(Source &s);         // NaN, infinities, signed zeros, extremes, int32 edges, codes
double anyValue(Source &s);        // specials mixed with plain numbers
double plain(Source &s);           // a finite number of moderate size
double hair(Source &s, double v);  // v, or the double just below or above it
// A coordinate along an axis of `extent` samples: exactly on or a hair off
// every bound, inside, outside, far away, and (when `specials`) NaN,
// infinities and values beyond the 32-bit range.
double coordinate(Source &s, double extent, bool specials);
// A coordinate whose floor lies in [lo, hi].
double floorIn(Source &s, std::int64_t lo, std::int64_t hi);

// Shapes and arrays.
Dims anyDims(Source &s, std::int64_t maxElements);  // empty through row, column, 2-D, 3-D, 4-D
void fillAny(Source &s, mxArray *a);                // values by class, imaginary parts too
ArrayPtr anyArray(Source &s);  // any class (cells, structs, strings, handles too), complexity, sparsity, shape
// Doubles of the given shape from `value`.
template <typename F>
ArrayPtr filled(const Dims &dims, F value) {
    ArrayPtr a = numeric(dims);
    double *p = mxGetPr(a.get());
    for (std::int64_t i = 0, n = elements(dims); i < n; ++i) p[i] = value();
    return a;
}

// One thing of a valid call changed: the output count, the input count, an
// input's class, complexity, sparsity, shape, length or values.
void perturb(Source &s, Call &call);

// "nlhs=1; in1 double 2x3 = [1, 2, NaN, ...]; ..."
std::string describe(const Call &call);
std::string dimsText(const Dims &dims);

}  // namespace fuzz

#endif
