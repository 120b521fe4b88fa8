// result = slopeBasis3p(volume, basis, rows, columns, slices): the basis
// times the volume derivative along rows, columns and slices, at the voxels
// of the tensor grid given by three lists of 0-based int32 indices.
#include "fe/slope_basis_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 2) mexErrMsgTxt("At least two inputs required.");
    if (nlhs != 1) mexErrMsgTxt("Only one output required.");

    const entry::Checks check("slopeBasis3p");
    if (nrhs < 5) {
        check.refuse("missingLists", "The row, column and slice index lists (inputs 3 to 5) are required.");
    }
    check.realNumeric(prhs[0], "The volume");
    check.realDouble(prhs[1], "The basis");
    fe::Index extent[3];
    fe::volumeExtents(check, prhs[0], extent);
    const char *const names[3] = {"row", "column", "slice"};
    fe::ListAxis axis[3];
    for (int q = 0; q < 3; ++q) axis[q] = fe::indexList(check, prhs[2 + q], names[q]);
    const fe::Index visited = fe::visitedCount<3>(axis);
    fe::needTwoAlongEachAxis<3>(check, prhs[0], extent, visited);
    for (int q = 0; q < 3; ++q) fe::listInside(check, axis[q], extent[q], names[q]);
    fe::basisRows(check, prhs[1], visited, "voxels");

    fe::runSlopeBasis<3>(plhs, prhs[0], extent, axis, prhs[1]);
}
