// The entry shared by pxGrayStats and vxGrayStats: [mean, dev] = f(array).
// The array is read in its own class, each value converted to double.
#ifndef GRIDMEX_GRAY_STATS_ENTRY_H
#define GRIDMEX_GRAY_STATS_ENTRY_H

#include "host/plugin/entry.h"
#include "util/gray_stats.h"

namespace util {

// `dims` is 2 for an image (the first M x N page is used) and 3 for a
// volume (the first M x N x P elements; a 2-D array is a volume with P = 1).
inline void grayStatsEntry(const char *plugin, int dims, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 1) mexErrMsgTxt("Only one input required.");
    if (nlhs != 2) mexErrMsgTxt("Two outputs required.");

    const entry::Checks check(plugin);
    const mxArray *in = prhs[0];
    check.realNumeric(in, dims == 2 ? "The image" : "The volume");
    // The leading M x N (x P) block; an array whose later dimension is 0,
    // such as 2 x 3 x 0, holds no element and gives the empty statistics.
    Index count = entry::extent(in, 0) * entry::extent(in, 1);
    if (dims == 3) count *= entry::extent(in, 2);
    if (count > entry::count(in)) count = entry::count(in);

    plhs[0] = mxCreateDoubleMatrix(1, 1, mxREAL);
    plhs[1] = mxCreateDoubleMatrix(1, 1, mxREAL);

    double *mean = mxGetPr(plhs[0]);
    double *dev = mxGetPr(plhs[1]);
    entry::withElements(in, [&](const auto *data) { grayStats(data, count, mean, dev); });
}

}  // namespace util

#endif
