// The entry shared by the three bilinear sampling plug-ins: out = f(X, Y, I).
#ifndef GRIDMEX_BILINEAR_ENTRY_H
#define GRIDMEX_BILINEAR_ENTRY_H

#include "pixel/bilinear.h"
#include "pixel/point_inputs.h"

namespace pixel {

template <Border B>
void bilinEntry(const char *plugin, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 3) mexErrMsgTxt("At least three inputs required.");
    if (nlhs != 1) mexErrMsgTxt("Only one output required.");

    const entry::Checks check(plugin);
    checkPointInputs(check, prhs);
    const Index count = entry::count(prhs[0]);
    const Index M = entry::rows(prhs[2]);
    const Index N = entry::cols(prhs[2]);
    if (B != Border::Sentinel && count > 0 && (M < 3 || N < 3)) {
        check.refuse("imageTooSmall",
                     "The image must have at least 3 rows and 3 columns for its border rule "
                     "(it is %lld x %lld).",
                     static_cast<long long>(M), static_cast<long long>(N));
    }

    plhs[0] = entry::newUnfilled(entry::rows(prhs[0]), entry::cols(prhs[0]));

    const double *X = entry::doubles(prhs[0]), *Y = entry::doubles(prhs[1]);
    double *out = entry::doubles(plhs[0]);
    entry::withElements(prhs[2], [&](const auto *I) { bilinSample<B>(X, Y, count, I, M, N, out); });
}

}  // namespace pixel

#endif
