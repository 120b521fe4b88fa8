// Helpers for the entry sources of the plug-ins: size queries in 64-bit
// signed arithmetic, output creation, and the soundness checks that follow
// each plug-in's own count checks.  Every refusal goes through the host's
// error report with an identifier "pluginName:reason".  Works with the mex.h
// of each host (own, Octave, MATLAB).
#ifndef GRIDMEX_ENTRY_H
#define GRIDMEX_ENTRY_H

#include "mex.h"
#include "common/compiler.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

namespace entry {

using Index = std::int64_t;

inline Index count(const mxArray *a) { return static_cast<Index>(mxGetNumberOfElements(a)); }
inline Index rows(const mxArray *a) { return static_cast<Index>(mxGetM(a)); }
inline Index cols(const mxArray *a) { return static_cast<Index>(mxGetN(a)); }

// Extent of an array along dimension d (0-based); 1 beyond its last dimension.
inline Index extent(const mxArray *a, int d) {
    Index ndim = static_cast<Index>(mxGetNumberOfDimensions(a));
    return d < ndim ? static_cast<Index>(mxGetDimensions(a)[d]) : 1;
}

inline const double *doubles(const mxArray *a) { return static_cast<const double *>(mxGetData(a)); }
inline double *doubles(mxArray *a) { return static_cast<double *>(mxGetData(a)); }

// A new zero-filled real double m x n array.
inline mxArray *newDoubles(Index m, Index n) {
    mwSize dims[2] = {static_cast<mwSize>(m), static_cast<mwSize>(n)};
    return mxCreateNumericArray(2, dims, mxDOUBLE_CLASS, mxREAL);
}

// A new real double m x n array whose elements are undefined, for an output
// the kernel writes in full: the host does not fill it first, which on
// millions of points is a large share of a call.  GRIDMEX_NO_UNINIT is set
// where a host's headers lack the function; outputs are zero-filled there.
inline mxArray *newUnfilled(Index m, Index n) {
#if defined(GRIDMEX_NO_UNINIT)
    return newDoubles(m, n);
#else
    return mxCreateUninitNumericMatrix(static_cast<mwSize>(m), static_cast<mwSize>(n), mxDOUBLE_CLASS, mxREAL);
#endif
}

// The same of the given dimensions.
inline mxArray *newUnfilled(mwSize ndim, const mwSize *dims) {
#if defined(GRIDMEX_NO_UNINIT)
    return mxCreateNumericArray(ndim, dims, mxDOUBLE_CLASS, mxREAL);
#else
    return mxCreateUninitNumericArray(ndim, dims, mxDOUBLE_CLASS, mxREAL);
#endif
}

// Calls f with the data of an image or volume as a pointer to the element
// type of its class, logical data as bytes (0 or 1); false, f not called,
// when the class holds no real numbers.  The class is looked at before the
// data: Octave aborts the session when asked for the data of a function
// handle.
template <typename F>
bool withElements(const mxArray *a, F f) {
    const auto data = [a] { return mxGetData(a); };
    switch (mxGetClassID(a)) {
    case mxDOUBLE_CLASS: f(static_cast<const double *>(data())); return true;
    case mxSINGLE_CLASS: f(static_cast<const float *>(data())); return true;
    case mxINT8_CLASS: f(static_cast<const std::int8_t *>(data())); return true;
    case mxUINT8_CLASS: f(static_cast<const std::uint8_t *>(data())); return true;
    case mxINT16_CLASS: f(static_cast<const std::int16_t *>(data())); return true;
    case mxUINT16_CLASS: f(static_cast<const std::uint16_t *>(data())); return true;
    case mxINT32_CLASS: f(static_cast<const std::int32_t *>(data())); return true;
    case mxUINT32_CLASS: f(static_cast<const std::uint32_t *>(data())); return true;
    case mxINT64_CLASS: f(static_cast<const std::int64_t *>(data())); return true;
    case mxUINT64_CLASS: f(static_cast<const std::uint64_t *>(data())); return true;
    case mxLOGICAL_CLASS: f(static_cast<const std::uint8_t *>(data())); return true;
    default: return false;
    }
}

// The classes withElements reads, as the refusals name them.
constexpr const char *kNumericClasses =
    "double, single, int8, uint8, int16, uint16, int32, uint32, int64, uint64 or logical";

class Checks {
public:
    explicit constexpr Checks(const char *plugin) : plugin_(plugin) {}

    const char *plugin() const { return plugin_; }

    // Ends the call with the identifier plugin:reason.  The message does not
    // repeat the plug-in's name: MATLAB and Octave show it with the error.
    [[noreturn]] GRIDMEX_PRINTF(3, 4) void refuse(const char *reason, const char *fmt, ...) const {
        char id[128];
        std::snprintf(id, sizeof id, "%s:%s", plugin_, reason);
        char text[1024];
        va_list args;
        va_start(args, fmt);
        std::vsnprintf(text, sizeof text, fmt, args);
        va_end(args);
        mexErrMsgIdAndTxt(id, "%s", text);
        GRIDMEX_UNREACHABLE();  // not every host's header marks the error report noreturn
    }

    // The input must be a full, real double array: the kernels read it as
    // doubles.
    void realDouble(const mxArray *a, const char *name) const {
        if (mxIsDouble(a) && !mxIsComplex(a) && !mxIsSparse(a)) return;
        const char *kind = mxIsSparse(a) ? "sparse " : mxIsComplex(a) ? "complex " : "";
        refuse("notRealDouble", "%s must be a real double array (it is %s%s).", name, kind, mxGetClassName(a));
    }

    // A scalar input, read as the host reads it: mxGetScalar gives the first
    // element as a double whatever the numeric class (logical and char
    // too).  Refused only where that read has no defined value: an empty
    // array, or a cell, struct, function handle or object.
    double scalar(const mxArray *a, const char *name, const char *emptyReason) const {
        if (!mxIsNumeric(a) && !mxIsLogical(a) && !mxIsChar(a))
            refuse("notNumeric", "%s must be a number (it is a %s).", name, mxGetClassName(a));
        if (mxIsEmpty(a)) refuse(emptyReason, "%s must be a number (it is empty).", name);
        return mxGetScalar(a);
    }

    // The input must be a full, real array of a class withElements reads:
    // images and volumes are read in their own class.
    void realNumeric(const mxArray *a, const char *name) const {
        const bool readable = withElements(a, [](const auto *) {});
        if (readable && !mxIsComplex(a) && !mxIsSparse(a)) return;
        const char *kind = mxIsSparse(a) ? "sparse " : mxIsComplex(a) ? "complex " : "";
        refuse("notRealNumeric", "%s must be a real array of class %s (it is %s%s).", name, kNumericClasses, kind,
               mxGetClassName(a));
    }

    // The input must hold at least `needed` elements; `why` says what sets
    // that number, as in "as many as X".
    void atLeast(const mxArray *a, Index needed, const char *name, const char *why) const {
        Index have = count(a);
        if (have >= needed) return;
        refuse("tooShort", "%s must hold at least %lld elements (%s); it holds %lld.", name,
               static_cast<long long>(needed), why, static_cast<long long>(have));
    }

private:
    const char *plugin_;
};

}  // namespace entry

#endif
