// FF = feShapeValues3(elt, xg, yg, zg): shape-function values of the 4-node
// tetrahedron or the 8-node hexahedron at points in local coordinates; one
// row per point, one column per node, eight columns whatever the element.
// Any other code, the wedge's 6 included, gives zeros.
#include "host/plugin/entry.h"
#include "fe/shape_values.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 4 || nlhs != 1) mexErrMsgTxt("[FF]=feShapeValues3(elt,xg,yg,zg)");

    const entry::Checks check("feShapeValues3");
    check.realDouble(prhs[1], "xg");
    check.realDouble(prhs[2], "yg");
    check.realDouble(prhs[3], "zg");
    const entry::Index n = entry::rows(prhs[1]);
    check.atLeast(prhs[1], n, "xg", "one per row");
    check.atLeast(prhs[2], n, "yg", "one per row of xg");
    check.atLeast(prhs[3], n, "zg", "one per row of xg");
    const int code = fe::elementCode(check.scalar(prhs[0], "elt", "emptyCode"));
    const double *xg = entry::doubles(prhs[1]);
    const double *yg = entry::doubles(prhs[2]);
    const double *zg = entry::doubles(prhs[3]);

    plhs[0] = entry::newDoubles(n, 8);
    double *FF = entry::doubles(plhs[0]);

    if (code == 4) fe::shapeValues3<fe::Tet4>(xg, yg, zg, n, FF);
    if (code == 8) fe::shapeValues3<fe::Hex8>(xg, yg, zg, n, FF);
}
