// out = pxCubicSample(X, Y, I): local cubic spline image sampling; points
// outside the valid range get -13.
#include "pixel/cubic.h"
#include "pixel/point_inputs.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 3) mexErrMsgTxt("At least three inputs required.");
    if (nlhs != 1) mexErrMsgTxt("Only one output required.");

    const entry::Checks check("pxCubicSample");
    pixel::checkPointInputs(check, prhs);

    const entry::Index count = entry::count(prhs[0]);
    const entry::Index M = entry::rows(prhs[2]);
    const entry::Index N = entry::cols(prhs[2]);

    plhs[0] = entry::newUnfilled(entry::rows(prhs[0]), entry::cols(prhs[0]));

    const double *X = entry::doubles(prhs[0]), *Y = entry::doubles(prhs[1]);
    double *out = entry::doubles(plhs[0]);
    entry::withElements(prhs[2], [&](const auto *I) { pixel::cubicSample(X, Y, count, I, M, N, out); });
}
