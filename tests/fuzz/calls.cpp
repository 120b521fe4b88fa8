#include "tests/fuzz/calls.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace fuzz {

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

const std::vector<mxClassID> kClasses = {mxDOUBLE_CLASS, mxSINGLE_CLASS, mxINT8_CLASS,    mxUINT8_CLASS,
                                         mxINT16_CLASS,  mxUINT16_CLASS, mxINT32_CLASS,   mxUINT32_CLASS,
                                         mxINT64_CLASS,  mxUINT64_CLASS, mxLOGICAL_CLASS, mxCHAR_CLASS};

// MATLAB's conversion of a double to an integer class: rounded, saturated,
// NaN to 0.
template <typename T>
T saturate(double v) {
    if (std::isnan(v)) return 0;
    v = std::round(v);
    if (v <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
    if (v >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
    return static_cast<T>(v);
}

template <typename T>
void put(void *base, std::int64_t i, T v) {
    std::memcpy(static_cast<char *>(base) + i * static_cast<std::int64_t>(sizeof(T)), &v, sizeof(T));
}

template <typename T>
double get(const void *base, std::int64_t i) {
    T v;
    std::memcpy(&v, static_cast<const char *>(base) + i * static_cast<std::int64_t>(sizeof(T)), sizeof(T));
    return static_cast<double>(v);
}

// Element i of a numeric, logical or char array (real part), as a double.
double valueAt(const void *p, mxClassID cls, std::int64_t i) {
    switch (cls) {
    case mxDOUBLE_CLASS: return get<double>(p, i);
    case mxSINGLE_CLASS: return get<float>(p, i);
    case mxINT8_CLASS: return get<std::int8_t>(p, i);
    case mxUINT8_CLASS: return get<std::uint8_t>(p, i);
    case mxINT16_CLASS: return get<std::int16_t>(p, i);
    case mxUINT16_CLASS:
    case mxCHAR_CLASS: return get<std::uint16_t>(p, i);
    case mxINT32_CLASS: return get<std::int32_t>(p, i);
    case mxUINT32_CLASS: return get<std::uint32_t>(p, i);
    case mxINT64_CLASS: return get<std::int64_t>(p, i);
    case mxUINT64_CLASS: return get<std::uint64_t>(p, i);
    case mxLOGICAL_CLASS: return get<std::uint8_t>(p, i);
    default: return 0;
    }
}

void storeAt(void *p, mxClassID cls, std::int64_t i, double v) {
    switch (cls) {
    case mxDOUBLE_CLASS: put(p, i, v); break;
    case mxSINGLE_CLASS:
        put(p, i,
            std::isfinite(v) && std::fabs(v) > FLT_MAX ? static_cast<float>(std::copysign(kInf, v))
                                                       : static_cast<float>(v));
        break;
    case mxINT8_CLASS: put(p, i, saturate<std::int8_t>(v)); break;
    case mxUINT8_CLASS: put(p, i, saturate<std::uint8_t>(v)); break;
    case mxINT16_CLASS: put(p, i, saturate<std::int16_t>(v)); break;
    case mxUINT16_CLASS:
    case mxCHAR_CLASS: put(p, i, saturate<std::uint16_t>(v)); break;
    case mxINT32_CLASS: put(p, i, saturate<std::int32_t>(v)); break;
    case mxUINT32_CLASS: put(p, i, saturate<std::uint32_t>(v)); break;
    case mxINT64_CLASS: put(p, i, saturate<std::int64_t>(v)); break;
    case mxUINT64_CLASS: put(p, i, saturate<std::uint64_t>(v)); break;
    case mxLOGICAL_CLASS: put(p, i, static_cast<std::uint8_t>(v != 0 && !std::isnan(v))); break;
    default: break;
    }
}

Dims dimsOf(const mxArray *a) {
    const mwSize *d = mxGetDimensions(a);
    return Dims(d, d + mxGetNumberOfDimensions(a));
}

// A cell, struct or function handle of the same kind and size as `a`
// (elements and fields empty): what a plug-in sees of one is its class.
ArrayPtr containerLike(const mxArray *a) {
    if (mxIsFunctionHandle(a)) return ArrayPtr(mexhost::newFunctionHandle());
    if (mxIsCell(a)) return ArrayPtr(mxCreateCellMatrix(mxGetM(a), mxGetN(a)));
    const char *field[] = {"value"};
    return ArrayPtr(mxCreateStructMatrix(mxGetM(a), mxGetN(a), 1, field));
}

// A cell of numbers, a struct, a string or a function handle, as a caller
// may pass one by mistake.
ArrayPtr anyOther(Source &s) {
    switch (s.below(4)) {
    case 0: {
        mwSize n = static_cast<mwSize>(s.between(0, 3));
        ArrayPtr c(mxCreateCellMatrix(1, n));
        for (mwSize i = 0; i < n; ++i) {
            ArrayPtr v = numeric({1, 1});
            *mxGetPr(v.get()) = anyValue(s);
            mxSetCell(c.get(), i, v.release());
        }
        return c;
    }
    case 1: {
        const char *field[] = {"value"};
        ArrayPtr st(mxCreateStructMatrix(1, static_cast<mwSize>(s.between(0, 2)), 1, field));
        if (mxGetNumberOfElements(st.get()) > 0) mxSetField(st.get(), 0, "value", mxCreateDoubleScalar(anyValue(s)));
        return st;
    }
    case 2: return ArrayPtr(mxCreateString(s.pick({"", "abc", "4"})));
    default: return ArrayPtr(mexhost::newFunctionHandle());
    }
}

bool canBeComplex(mxClassID cls) { return cls != mxLOGICAL_CLASS && cls != mxCHAR_CLASS; }

// A copy of `a` with new dimensions; elements beyond the old count come
// from the value palette.
ArrayPtr withDims(Source &s, const mxArray *a, const Dims &dims) {
    if (!mxGetData(a)) return containerLike(a);
    mxClassID cls = mxGetClassID(a);
    bool complex = mxIsComplex(a);
    ArrayPtr b = numeric(dims, cls, complex ? mxCOMPLEX : mxREAL);
    std::int64_t have = static_cast<std::int64_t>(mxGetNumberOfElements(a));
    std::int64_t want = elements(dims);
    std::int64_t size = static_cast<std::int64_t>(mxGetElementSize(a));
    std::int64_t kept = std::min(have, want);
    if (kept > 0) {
        std::memcpy(mxGetData(b.get()), mxGetData(a), static_cast<std::size_t>(kept * size));
        if (complex) std::memcpy(mxGetImagData(b.get()), mxGetImagData(a), static_cast<std::size_t>(kept * size));
    }
    for (std::int64_t i = kept; i < want; ++i) {
        storeAt(mxGetData(b.get()), cls, i, anyValue(s));
        if (complex) storeAt(mxGetImagData(b.get()), cls, i, anyValue(s));
    }
    if (mxIsSparse(a) && dims.size() == 2) mexhost::setSparse(b.get(), true);
    return b;
}

// The same values in another class, as a complex array or marked sparse.
ArrayPtr reclass(Source &s, const mxArray *a) {
    if (!mxGetData(a)) return anyArray(s);
    Dims dims = dimsOf(a);
    std::int64_t n = static_cast<std::int64_t>(mxGetNumberOfElements(a));
    mxClassID from = mxGetClassID(a);
    switch (s.below(3)) {
    case 0: {  // marked sparse (the own host keeps the data dense)
        ArrayPtr b = copyOf(a);
        mexhost::setSparse(b.get(), true);
        return b;
    }
    case 1: {  // complex, same class where it can be
        mxClassID cls = canBeComplex(from) ? from : mxDOUBLE_CLASS;
        ArrayPtr b = numeric(dims, cls, mxCOMPLEX);
        for (std::int64_t i = 0; i < n; ++i) {
            storeAt(mxGetData(b.get()), cls, i, valueAt(mxGetData(a), from, i));
            storeAt(mxGetImagData(b.get()), cls, i, s.percent(30) ? 0.0 : anyValue(s));
        }
        return b;
    }
    default: {
        mxClassID cls = kClasses[s.below(kClasses.size())];
        ArrayPtr b = numeric(dims, cls);
        for (std::int64_t i = 0; i < n; ++i) storeAt(mxGetData(b.get()), cls, i, valueAt(mxGetData(a), from, i));
        return b;
    }
    }
}

// Another shape holding the same number of elements.
Dims reshaped(Source &s, std::int64_t n) {
    std::vector<std::int64_t> divisors;
    for (std::int64_t d = 1; d <= n; ++d)
        if (n % d == 0) divisors.push_back(d);
    mwSize un = static_cast<mwSize>(n);
    if (n == 0) return s.pick<Dims>({{0, 0}, {0, 3}, {4, 0}, {1, 0, 2}, {2, 2, 0}});
    mwSize d = static_cast<mwSize>(divisors[s.below(divisors.size())]);
    switch (s.below(6)) {
    case 0: return {un, 1};
    case 1: return {1, un};
    case 2: return {1, 1, un};
    case 3: return {d, un / d};
    case 4: return {d, 1, un / d};
    default: return {1, d, 1, un / d};
    }
}

}  // namespace

std::vector<const mxArray *> Call::raw() const {
    std::vector<const mxArray *> r;
    for (const ArrayPtr &a : inputs) r.push_back(a.get());
    return r;
}

std::int64_t elements(const Dims &dims) {
    std::int64_t n = 1;
    for (mwSize d : dims) n *= static_cast<std::int64_t>(d);
    return n;
}

ArrayPtr numeric(const Dims &dims, mxClassID cls, mxComplexity cx) {
    return ArrayPtr(mxCreateNumericArray(dims.size(), dims.data(), cls, cx));
}

ArrayPtr scalar(double v) {
    ArrayPtr a = numeric({1, 1});
    *mxGetPr(a.get()) = v;
    return a;
}

const std::vector<mxClassID> &valueClasses() { return kClasses; }

ArrayPtr inClass(const mxArray *a, mxClassID cls) {
    ArrayPtr b = numeric(dimsOf(a), cls);
    for (std::int64_t i = 0, n = static_cast<std::int64_t>(mxGetNumberOfElements(a)); i < n; ++i)
        storeAt(mxGetData(b.get()), cls, i, valueAt(mxGetData(a), mxGetClassID(a), i));
    return b;
}

ArrayPtr copyOf(const mxArray *a) {
    if (!mxGetData(a)) return containerLike(a);
    ArrayPtr b = numeric(dimsOf(a), mxGetClassID(a), mxIsComplex(a) ? mxCOMPLEX : mxREAL);
    std::size_t bytes = mxGetNumberOfElements(a) * mxGetElementSize(a);
    if (bytes) {
        std::memcpy(mxGetData(b.get()), mxGetData(a), bytes);
        if (mxIsComplex(a)) std::memcpy(mxGetImagData(b.get()), mxGetImagData(a), bytes);
    }
    mexhost::setSparse(b.get(), mxIsSparse(a));
    return b;
}

double special(Source &s) {
    switch (s.below(4)) {
    case 0: return static_cast<double>(s.between(-10, 10));  // element codes, steps
    case 1: {
        double whole = static_cast<double>(s.between(-10, 10));
        return whole + s.pick({0.5, 0.3, 0.9, -0.5, 1e-9});
    }
    default:
        // A list of values, bin-packed; clang-format would give one line per value.
        // clang-format off
        return s.pick({kNaN, -kNaN, kInf, -kInf, 0.0, -0.0, DBL_MAX, -DBL_MAX, DBL_MIN,
                       std::numeric_limits<double>::denorm_min(), -std::numeric_limits<double>::denorm_min(),
                       1e300, -1e300, 1e-300, 2147483647.0, 2147483648.0, -2147483648.0, -2147483649.0,
                       2147483647.5, -2147483648.5, 4294967296.0, 9007199254740992.0, -9007199254740993.0,
                       9.3e18, 1.9e19, 1e10, -1e10, 1.0 - 0x1.0p-53, 0x1.0p-1074 * 3});
        // clang-format on
    }
}

double plain(Source &s) { return s.percent(40) ? static_cast<double>(s.between(-20, 20)) : s.uniform(-100.0, 100.0); }

double anyValue(Source &s) { return s.percent(35) ? special(s) : plain(s); }

double hair(Source &s, double v) {
    switch (s.below(3)) {
    case 0: return std::nextafter(v, -kInf);
    case 1: return std::nextafter(v, kInf);
    default: return v;
    }
}

double coordinate(Source &s, double extent, bool specials) {
    switch (s.below(specials ? 7 : 6)) {
    case 0:
    case 1: return hair(s, static_cast<double>(s.between(-2, static_cast<std::int64_t>(extent) + 3)));
    case 2: return s.uniform(-1.0, extent + 2.0);
    case 3: return s.uniform(1.0, extent + 1.0);
    case 4: return hair(s, s.pick({extent - 0.5, extent - 2.0, extent - 3.0, extent - 4.0, 1.5, 2.5}));
    case 5: return s.pick({-1e6, 1e6, -3.5, 1e9, -1e9});
    default: return special(s);
    }
}

double floorIn(Source &s, std::int64_t lo, std::int64_t hi) {
    double base = static_cast<double>(s.between(lo, hi));
    switch (s.below(3)) {
    case 0: return base;
    case 1: return std::nextafter(base + 1.0, base);  // the last value with this floor
    default: return base + s.unit();
    }
}

Dims anyDims(Source &s, std::int64_t maxElements) {
    auto len = [&](std::int64_t cap) { return static_cast<mwSize>(s.between(1, std::max<std::int64_t>(1, cap))); };
    switch (s.below(9)) {
    case 0: return s.pick<Dims>({{0, 0}, {0, 1}, {1, 0}, {0, 5}, {3, 0}, {1, 0, 3}, {2, 3, 0}});
    case 1: return {1, 1};
    case 2: return {1, len(maxElements)};
    case 3: return {len(maxElements), 1};
    case 4:
    case 5: {
        mwSize m = len(8);
        return {m, len(maxElements / static_cast<std::int64_t>(m))};
    }
    case 6: {
        mwSize m = len(4), n = len(4);
        return {m, n, len(maxElements / static_cast<std::int64_t>(m * n))};
    }
    case 7: return {len(3), len(3), len(3), len(3)};
    default: return {1, len(3), 1, len(4)};
    }
}

void fillAny(Source &s, mxArray *a) {
    mxClassID cls = mxGetClassID(a);
    std::int64_t n = static_cast<std::int64_t>(mxGetNumberOfElements(a));
    for (std::int64_t i = 0; i < n; ++i) {
        storeAt(mxGetData(a), cls, i, anyValue(s));
        if (mxIsComplex(a)) storeAt(mxGetImagData(a), cls, i, anyValue(s));
    }
}

ArrayPtr anyArray(Source &s) {
    if (s.percent(8)) return anyOther(s);
    Dims dims = anyDims(s, 48);
    mxClassID cls = s.percent(50) ? mxDOUBLE_CLASS : kClasses[s.below(kClasses.size())];
    bool complex = canBeComplex(cls) && s.percent(10);
    ArrayPtr a = numeric(dims, cls, complex ? mxCOMPLEX : mxREAL);
    fillAny(s, a.get());
    if (cls == mxDOUBLE_CLASS && dims.size() == 2 && s.percent(8)) mexhost::setSparse(a.get(), true);
    return a;
}

void perturb(Source &s, Call &call) {
    std::size_t n = call.inputs.size();
    if (n == 0) {
        if (s.percent(50))
            call.nlhs = static_cast<int>(s.between(0, 5));
        else
            call.inputs.push_back(anyArray(s));
        return;
    }
    ArrayPtr &input = call.inputs[s.below(n)];
    std::int64_t count = static_cast<std::int64_t>(mxGetNumberOfElements(input.get()));
    switch (s.below(10)) {
    case 0: call.nlhs = static_cast<int>(s.between(0, 5)); break;
    case 1: call.inputs.resize(s.below(n)); break;
    case 2:
        for (std::int64_t i = 0, extra = s.between(1, 3); i < extra; ++i) call.inputs.push_back(anyArray(s));
        break;
    case 3: input = anyArray(s); break;
    case 4: input = reclass(s, input.get()); break;
    case 5: input = withDims(s, input.get(), reshaped(s, count)); break;
    case 6: {  // shorter: fewer elements than the call needs, or its leading extents and none
        mwSize shorter = static_cast<mwSize>(count > 0 ? s.below(static_cast<std::uint64_t>(count)) : 0);
        Dims leading = dimsOf(input.get());
        leading.push_back(0);
        Dims dims = s.pick<Dims>({{shorter, 1}, {1, shorter}, {mxGetM(input.get()), 0}, leading});
        input = withDims(s, input.get(), dims);
        break;
    }
    case 7: {  // longer
        mwSize longer = static_cast<mwSize>(count + s.between(1, 8));
        input = withDims(s, input.get(), {longer, 1});
        break;
    }
    case 8:
        if (count == 0 || !mxGetData(input.get())) {
            input = scalar(special(s));
        } else {
            for (std::int64_t i = 0, pokes = s.between(1, 3); i < pokes; ++i) {
                std::int64_t at = static_cast<std::int64_t>(s.below(static_cast<std::uint64_t>(count)));
                storeAt(mxGetData(input.get()), mxGetClassID(input.get()), at, special(s));
            }
        }
        break;
    default: input = scalar(special(s)); break;
    }
}

std::string dimsText(const Dims &dims) {
    std::string t;
    for (std::size_t i = 0; i < dims.size(); ++i) t += (i ? "x" : "") + std::to_string(dims[i]);
    return t;
}

std::string describe(const Call &call) {
    std::string t = "nlhs=" + std::to_string(call.nlhs) + ", " + std::to_string(call.inputs.size()) + " inputs";
    for (std::size_t k = 0; k < call.inputs.size(); ++k) {
        const mxArray *a = call.inputs[k].get();
        t += "\n  in" + std::to_string(k + 1) + " " + (mxIsSparse(a) ? "sparse " : "") +
             (mxIsComplex(a) ? "complex " : "") + mxGetClassName(a) + " " + dimsText(dimsOf(a)) + " = [";
        std::int64_t n = mxGetData(a) ? static_cast<std::int64_t>(mxGetNumberOfElements(a)) : 0;
        for (std::int64_t i = 0; i < n && i < 16; ++i) {
            char v[40];
            std::snprintf(v, sizeof v, "%s%.17g", i ? ", " : "", valueAt(mxGetData(a), mxGetClassID(a), i));
            t += v;
        }
        t += n > 16 ? ", ...]" : "]";
    }
    return t;
}

}  // namespace fuzz
