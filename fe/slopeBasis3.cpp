// result = slopeBasis3(volume, basis [, step]): the basis times the volume
// derivative along rows, columns and slices, at every step-th voxel.
#include "fe/slope_basis_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 2) mexErrMsgTxt("At least two inputs required.");
    if (nlhs != 1) mexErrMsgTxt("Only one output required.");

    const entry::Checks check("slopeBasis3");
    check.realNumeric(prhs[0], "The volume");
    check.realDouble(prhs[1], "The basis");
    const fe::Index s = fe::readStep(check, nrhs, prhs);
    fe::Index extent[3];
    fe::volumeExtents(check, prhs[0], extent);
    fe::StepAxis axis[3];
    for (int q = 0; q < 3; ++q) axis[q] = {s, fe::stepCount(extent[q], s)};
    const fe::Index visited = fe::visitedCount<3>(axis);
    fe::needTwoAlongEachAxis<3>(check, prhs[0], extent, visited);
    fe::basisRows(check, prhs[1], visited, "voxels");

    fe::runSlopeBasis<3>(plhs, prhs[0], extent, axis, prhs[1]);
}
