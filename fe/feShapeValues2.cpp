// FF = feShapeValues2(elt, xg, yg): shape-function values of the 3-node
// triangle or the 4-node quadrangle at points in local coordinates; one row
// per point, one column per node, four columns whatever the element.  Any
// other code gives zeros.
#include "host/plugin/entry.h"
#include "fe/shape_values.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 3 || nlhs != 1) mexErrMsgTxt("[FF]=feShapeValues2(elt,xg,yg)");

    const entry::Checks check("feShapeValues2");
    check.realDouble(prhs[1], "xg");
    check.realDouble(prhs[2], "yg");
    const entry::Index n = entry::rows(prhs[1]);
    check.atLeast(prhs[1], n, "xg", "one per row");
    check.atLeast(prhs[2], n, "yg", "one per row of xg");
    const int code = fe::elementCode(check.scalar(prhs[0], "elt", "emptyCode"));
    const double *xg = entry::doubles(prhs[1]);
    const double *yg = entry::doubles(prhs[2]);

    plhs[0] = entry::newDoubles(n, 4);
    double *FF = entry::doubles(plhs[0]);

    if (code == 3) fe::shapeValues2<fe::Tri3>(xg, yg, n, FF);
    if (code == 4) fe::shapeValues2<fe::Quad4>(xg, yg, n, FF);
}
