// d = fdSlope(a): the finite-difference derivative of a down its columns;
// an array of more dimensions is taken as M x (product of the others).
#include "host/plugin/entry.h"
#include "util/fd_slope.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 1) mexErrMsgTxt("One inputs required.");
    if (nlhs != 1) mexErrMsgTxt("One output required.");

    const entry::Checks check("fdSlope");
    check.realNumeric(prhs[0], "The input");
    const entry::Index M = entry::rows(prhs[0]);
    const entry::Index N = entry::cols(prhs[0]);
    if (M < 2 && N > 0) {
        check.refuse("tooFewRows",
                     "The input must have at least 2 rows: the derivative runs down the columns "
                     "(it is %lld x %lld).",
                     static_cast<long long>(M), static_cast<long long>(N));
    }

    plhs[0] = entry::newUnfilled(M, N);

    double *d = entry::doubles(plhs[0]);
    entry::withElements(prhs[0], [&](const auto *a) { util::fdSlope(a, M, N, d); });
}
