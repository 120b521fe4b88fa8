// [xg, yg, zg, wg] = feQuadVoxels(elt, xn, yn, zn, xpix, ypix, zpix): the
// candidate points that lie strictly inside one 4-node tetrahedron, 6-node
// wedge or 8-node hexahedron with nodes (xn, yn, zn), with their local
// coordinates and weight 1; the others get (0, 0, 0, 0).  Any other code
// gives (2, 2, 2, 0) at every point.
#include "host/plugin/entry.h"
#include "fe/quadrature.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 7 || nlhs != 4) mexErrMsgTxt("[xg,yg,zg,wg]=feQuadVoxel(elt,xn,yn,zn,xpix,ypix,zpix)");

    const entry::Checks check("feQuadVoxels");
    const char *const names[] = {"xn", "yn", "zn", "xpix", "ypix", "zpix"};
    for (int i = 0; i < 6; ++i) check.realDouble(prhs[i + 1], names[i]);
    const int code = fe::elementCode(check.scalar(prhs[0], "elt", "emptyCode"));
    if (code == 4 || code == 6 || code == 8) {
        for (int i = 0; i < 3; ++i) check.atLeast(prhs[i + 1], code, names[i], "one per node of the element");
    }
    const entry::Index n = entry::rows(prhs[4]);
    check.atLeast(prhs[4], n, "xpix", "one per row");
    check.atLeast(prhs[5], n, "ypix", "one per row of xpix");
    check.atLeast(prhs[6], n, "zpix", "one per row of xpix");
    const double *xn = entry::doubles(prhs[1]);
    const double *yn = entry::doubles(prhs[2]);
    const double *zn = entry::doubles(prhs[3]);
    const double *xpix = entry::doubles(prhs[4]);
    const double *ypix = entry::doubles(prhs[5]);
    const double *zpix = entry::doubles(prhs[6]);

    double *out[4];
    for (int i = 0; i < 4; ++i) {
        plhs[i] = entry::newUnfilled(n, 1);
        out[i] = entry::doubles(plhs[i]);
    }

    switch (code) {
    case 4: fe::quadVoxels<fe::Tet4>(xn, yn, zn, xpix, ypix, zpix, n, out[0], out[1], out[2], out[3]); break;
    case 6: fe::quadVoxels<fe::Wedge6>(xn, yn, zn, xpix, ypix, zpix, n, out[0], out[1], out[2], out[3]); break;
    case 8: fe::quadVoxels<fe::Hex8>(xn, yn, zn, xpix, ypix, zpix, n, out[0], out[1], out[2], out[3]); break;
    default: fe::markUnserved(n, out, 3, out[3]);
    }
}
