// [xg, yg, wg] = feQuadPixels(elt, xn, yn, xpix, ypix): the candidate points
// (xpix, ypix) that lie strictly inside one 3-node triangle or 4-node
// quadrangle with nodes (xn, yn), with their local coordinates and weight 1;
// the others get (0, 0, 0).  Any other code gives (2, 2, 0) at every point.
#include "host/plugin/entry.h"
#include "fe/quadrature.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 5 || nlhs != 3) mexErrMsgTxt("[xg,yg,wg]=feQuadPixel(elt,xn,yn,xpix,ypix)");

    const entry::Checks check("feQuadPixels");
    check.realDouble(prhs[1], "xn");
    check.realDouble(prhs[2], "yn");
    check.realDouble(prhs[3], "xpix");
    check.realDouble(prhs[4], "ypix");
    const int code = fe::elementCode(check.scalar(prhs[0], "elt", "emptyCode"));
    const bool served = code == 3 || code == 4;
    if (served) {
        check.atLeast(prhs[1], code, "xn", "one per node of the element");
        check.atLeast(prhs[2], code, "yn", "one per node of the element");
    }
    const entry::Index n = entry::rows(prhs[3]);
    check.atLeast(prhs[3], n, "xpix", "one per row");
    check.atLeast(prhs[4], n, "ypix", "one per row of xpix");
    const double *xn = entry::doubles(prhs[1]);
    const double *yn = entry::doubles(prhs[2]);
    const double *xpix = entry::doubles(prhs[3]);
    const double *ypix = entry::doubles(prhs[4]);

    plhs[0] = entry::newUnfilled(n, 1);
    plhs[1] = entry::newUnfilled(n, 1);
    plhs[2] = entry::newUnfilled(n, 1);
    double *xg = entry::doubles(plhs[0]);
    double *yg = entry::doubles(plhs[1]);
    double *wg = entry::doubles(plhs[2]);

    if (code == 3) {
        fe::quadPixels<fe::Tri3>(xn, yn, xpix, ypix, n, xg, yg, wg);
    } else if (code == 4) {
        fe::quadPixels<fe::Quad4>(xn, yn, xpix, ypix, n, xg, yg, wg);
    } else {
        double *const coords[2] = {xg, yg};
        fe::markUnserved(n, coords, 2, wg);
    }
}
