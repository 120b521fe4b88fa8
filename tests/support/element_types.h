// Images and volumes of every class the plug-ins read: random elements with
// each class's extremes among them (intmin, intmax and 0; for single also
// NaN, +-Inf, -0 and subnormals), for the kernels as typed vectors and for
// the plug-ins as arrays beside their double(I) twin.
#ifndef GRIDMEX_ELEMENT_TYPES_H
#define GRIDMEX_ELEMENT_TYPES_H

#include "tests/support/plugin_test.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <type_traits>
#include <vector>

namespace testing_support {

// Calls f(T{}) for every element type a kernel reads (logical data are bytes).
template <typename F>
void forEachElementType(F f) {
    f(double{}), f(float{}), f(std::int8_t{}), f(std::uint8_t{}), f(std::int16_t{}), f(std::uint16_t{});
    f(std::int32_t{}), f(std::uint32_t{}), f(std::int64_t{}), f(std::uint64_t{});
}

// One element: one in `rare` is an extreme of the type, the others spread
// over a range wide enough that differences and sums of neighbours differ.
template <typename T>
T element(std::mt19937 &rng, unsigned rare = 16) {
    using L = std::numeric_limits<T>;
    if constexpr (std::is_floating_point_v<T>) {
        const T specials[] = {L::quiet_NaN(),   L::infinity(),   -L::infinity(), T(-0.0),     L::denorm_min(),
                              -L::denorm_min(), L::min() / T(3), L::max(),       L::lowest(), T(0)};
        if (rng() % rare == 0) return specials[rng() % std::size(specials)];
        return static_cast<T>(std::uniform_real_distribution<double>(-1000, 1000)(rng));
    } else {
        const T specials[] = {L::min(), L::max(), T(0), T(L::min() + 1), T(L::max() - 1)};
        if (rng() % rare == 0) return specials[rng() % std::size(specials)];
        return std::uniform_int_distribution<T>(L::min(), L::max())(rng);
    }
}

template <>
inline std::int8_t element<std::int8_t>(std::mt19937 &rng, unsigned rare) {
    return static_cast<std::int8_t>(element<std::int16_t>(rng, rare) >> 8);
}

template <>
inline std::uint8_t element<std::uint8_t>(std::mt19937 &rng, unsigned rare) {
    return static_cast<std::uint8_t>(element<std::uint16_t>(rng, rare) >> 8);
}

template <typename T>
std::vector<T> elements(std::mt19937 &rng, std::size_t n, unsigned rare = 16) {
    std::vector<T> v(n);
    for (T &e : v) e = element<T>(rng, rare);
    return v;
}

// Every class an image, a volume or a mask may have.
inline constexpr mxClassID kElementClasses[] = {mxDOUBLE_CLASS, mxSINGLE_CLASS, mxINT8_CLASS,   mxUINT8_CLASS,
                                                mxINT16_CLASS,  mxUINT16_CLASS, mxINT32_CLASS,  mxUINT32_CLASS,
                                                mxINT64_CLASS,  mxUINT64_CLASS, mxLOGICAL_CLASS};

// An array of class cls and the given dimensions with random elements, and
// beside it the array double() makes of it; with `halfZero` about half the
// elements are 0 (or -0), as in a mask.
struct Classed {
    mexhost::ArrayPtr native, twin;
};

template <typename T>
void fillClassed(const Classed &c, std::mt19937 &rng, bool halfZero) {
    const std::size_t n = mxGetNumberOfElements(c.native.get());
    T *p = static_cast<T *>(mxGetData(c.native.get()));
    double *d = mxGetPr(c.twin.get());
    for (std::size_t i = 0; i < n; ++i) {
        p[i] = halfZero && rng() % 2 ? T(rng() % 2 ? -0.0 : 0.0) : element<T>(rng);
        d[i] = static_cast<double>(p[i]);
    }
}

inline Classed classed(mxClassID cls, const std::vector<mwSize> &dims, std::mt19937 &rng, bool halfZero = false) {
    Classed c{mexhost::ArrayPtr(mxCreateNumericArray(dims.size(), dims.data(), cls, mxREAL)),
              mexhost::ArrayPtr(mxCreateNumericArray(dims.size(), dims.data(), mxDOUBLE_CLASS, mxREAL))};
    switch (cls) {
    case mxDOUBLE_CLASS: fillClassed<double>(c, rng, halfZero); break;
    case mxSINGLE_CLASS: fillClassed<float>(c, rng, halfZero); break;
    case mxINT8_CLASS: fillClassed<std::int8_t>(c, rng, halfZero); break;
    case mxUINT8_CLASS: fillClassed<std::uint8_t>(c, rng, halfZero); break;
    case mxINT16_CLASS: fillClassed<std::int16_t>(c, rng, halfZero); break;
    case mxUINT16_CLASS: fillClassed<std::uint16_t>(c, rng, halfZero); break;
    case mxINT32_CLASS: fillClassed<std::int32_t>(c, rng, halfZero); break;
    case mxUINT32_CLASS: fillClassed<std::uint32_t>(c, rng, halfZero); break;
    case mxINT64_CLASS: fillClassed<std::int64_t>(c, rng, halfZero); break;
    case mxUINT64_CLASS: fillClassed<std::uint64_t>(c, rng, halfZero); break;
    default: {  // logical: 0 and 1 only
        const std::size_t n = mxGetNumberOfElements(c.native.get());
        auto *p = static_cast<std::uint8_t *>(mxGetData(c.native.get()));
        for (std::size_t i = 0; i < n; ++i) mxGetPr(c.twin.get())[i] = p[i] = rng() % 2;
    }
    }
    return c;
}

// Whether two outputs hold the same bits (signed zeros included), every NaN
// counting as one: kernels instantiated for two element types are compiled
// apart, and which operand's NaN payload and sign survive a commutative
// operation is the compiler's choice (it differs between -O2 and -O3).
inline bool sameOutputs(const mxArray *a, const mxArray *b) {
    const std::size_t n = mxGetNumberOfElements(a);
    if (n != mxGetNumberOfElements(b)) return false;
    const double *x = mxGetPr(a), *y = mxGetPr(b);
    for (std::size_t i = 0; i < n; ++i)
        if (std::memcmp(x + i, y + i, sizeof(double)) != 0 && !(std::isnan(x[i]) && std::isnan(y[i]))) return false;
    return true;
}

// n coordinates along an axis of `extent` samples: a quarter of them on and
// around every bound a range rule uses, NaN, infinities and values beyond
// the 32-bit range; the rest spread over the axis and two samples beyond.
inline std::vector<double> rangeCoordinates(std::mt19937 &rng, double extent, std::size_t n) {
    const double inf = std::numeric_limits<double>::infinity(), e = extent;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double specials[] = {nan,   inf,   -inf,    0.0,   -0.0,      0.999, 1.0,     1.5,   1.999, 2.0, 3.0,
                               e - 3, e - 2, e - 1.5, e - 1, e - 0.001, e,     e + 0.5, e + 1, 3e9,   -3e9};
    std::uniform_real_distribution<double> wide(-2, e + 2);
    std::vector<double> v(n);
    for (double &c : v) c = rng() % 4 == 0 ? specials[rng() % std::size(specials)] : wide(rng);
    return v;
}

// For every class, a call of `name` with input `at` of that class gives the
// bits of the same call with its double twin, on one thread and on three.
inline void expectEveryClassGivesTheDoubleBits(const std::string &name, int nlhs, std::vector<const mxArray *> inputs,
                                               std::size_t at, const std::vector<mwSize> &dims, std::mt19937 &rng,
                                               bool halfZero = false) {
    for (mxClassID cls : kElementClasses) {
        const Classed c = classed(cls, dims, rng, halfZero);
        inputs[at] = c.twin.get();
        unsetenv("GRIDMEX_THREADS");
        CallResult reference = plugin(name).call(nlhs, inputs);
        ASSERT_TRUE(reference.ok) << name << ": " << reference.errorText;
        inputs[at] = c.native.get();
        for (const char *threads : {"1", "3"}) {
            setenv("GRIDMEX_THREADS", threads, 1);
            CallResult r = plugin(name).call(nlhs, inputs);
            ASSERT_TRUE(r.ok) << name << " " << mxGetClassName(c.native.get()) << ": " << r.errorText;
            for (int o = 0; o < nlhs; ++o) {
                EXPECT_TRUE(sameOutputs(r.outputs[o].get(), reference.outputs[o].get()))
                    << name << " output " << o + 1 << ", " << mxGetClassName(c.native.get()) << " input " << at + 1
                    << ", " << threads << " threads";
            }
        }
    }
    unsetenv("GRIDMEX_THREADS");
}

}  // namespace testing_support

#endif
