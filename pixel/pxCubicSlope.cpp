// [gx, gy] = pxCubicSlope(X, Y, I): partial derivatives of the local cubic
// spline interpolant of the image; points outside the valid range get 0.
#include "pixel/cubic.h"
#include "pixel/point_inputs.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 3) mexErrMsgTxt("At least three inputs required.");
    if (nlhs != 2) mexErrMsgTxt("Only two outputs required.");

    const entry::Checks check("pxCubicSlope");
    pixel::checkPointInputs(check, prhs);

    const entry::Index count = entry::count(prhs[0]);
    const entry::Index M = entry::rows(prhs[2]);
    const entry::Index N = entry::cols(prhs[2]);

    plhs[0] = entry::newUnfilled(entry::rows(prhs[0]), entry::cols(prhs[0]));
    plhs[1] = entry::newUnfilled(entry::rows(prhs[0]), entry::cols(prhs[0]));

    const double *X = entry::doubles(prhs[0]), *Y = entry::doubles(prhs[1]);
    double *gx = entry::doubles(plhs[0]), *gy = entry::doubles(plhs[1]);
    entry::withElements(prhs[2], [&](const auto *I) { pixel::cubicSlope(X, Y, count, I, M, N, gx, gy); });
}
