// The entry shared by pxGrayStats and vxGrayStats: [mean, dev] = f(array).
// The array is read by its class: any real numeric or logical class works,
// each value converted to double.
#ifndef GRIDMEX_GRAY_STATS_ENTRY_H
#define GRIDMEX_GRAY_STATS_ENTRY_H

#include "entry.h"
#include "gray_stats.h"

#include <cstdint>

namespace util {

// Calls f with the data of `a` as a pointer to the element type of its
// class; false (f not called) when the class holds no real numbers.
template <typename F>
bool withElementType(const mxArray *a, F f) {
    // The class is looked at before the data: Octave aborts the session when
    // asked for the data of a function handle.
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
    case mxLOGICAL_CLASS: f(static_cast<const mxLogical *>(data())); return true;
    default: return false;
    }
}

// `dims` is 2 for an image (the first M x N page is used) and 3 for a
// volume (the first M x N x P elements; a 2-D array is a volume with P = 1).
inline void grayStatsEntry(const char *plugin, int dims, int nlhs, mxArray *plhs[], int nrhs,
                           const mxArray *prhs[]) {
    if (nrhs < 1) mexErrMsgTxt("Only one input required.");
    if (nlhs != 2) mexErrMsgTxt("Two outputs required.");

    const entry::Checks check(plugin);
    const mxArray *in = prhs[0];
    const char *what = dims == 2 ? "image" : "volume";
    const bool readable = withElementType(in, [](const auto *) {});
    if (!readable || mxIsComplex(in) || mxIsSparse(in)) {
        const char *kind = mxIsSparse(in) ? "sparse " : mxIsComplex(in) ? "complex " : "";
        check.refuse("notRealNumeric", "The %s must be a real numeric or logical array (it is %s%s).", what,
                     kind, mxGetClassName(in));
    }
    // The leading M x N (x P) block; an array whose later dimension is 0,
    // such as 2 x 3 x 0, holds no element and gives the empty statistics.
    Index count = entry::extent(in, 0) * entry::extent(in, 1);
    if (dims == 3) count *= entry::extent(in, 2);
    if (count > entry::count(in)) count = entry::count(in);

    plhs[0] = mxCreateDoubleMatrix(1, 1, mxREAL);
    plhs[1] = mxCreateDoubleMatrix(1, 1, mxREAL);

    double *mean = mxGetPr(plhs[0]);
    double *dev = mxGetPr(plhs[1]);
    withElementType(in, [&](const auto *data) { grayStats(data, count, mean, dev); });
}

}  // namespace util

#endif
