// result = slopeBasis2(image, basis [, step]): the basis times the image
// derivative along rows, then along columns, at every step-th pixel.
#include "fe/slope_basis_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 2) mexErrMsgTxt("At least two inputs required.");
    if (nlhs != 1) mexErrMsgTxt("Only one output required.");

    const entry::Checks check("slopeBasis2");
    check.realNumeric(prhs[0], "The image");
    check.realDouble(prhs[1], "The basis");
    const fe::Index s = fe::readStep(check, nrhs, prhs);
    const fe::Index extent[2] = {entry::rows(prhs[0]), entry::extent(prhs[0], 1)};
    const fe::StepAxis axis[2] = {{s, fe::stepCount(extent[0], s)}, {s, fe::stepCount(extent[1], s)}};
    const fe::Index visited = fe::visitedCount<2>(axis);
    fe::needTwoAlongEachAxis<2>(check, prhs[0], extent, visited);
    fe::basisRows(check, prhs[1], visited, "pixels");

    fe::runSlopeBasis<2>(plhs, prhs[0], extent, axis, prhs[1]);
}
